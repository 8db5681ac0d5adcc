#include "qt_async_url_read.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QObject>
#include <map>
#include <set>

#include "platform/commands.h"
#include "platform/wire_url.h"

namespace tovlo {

namespace {

// The error number of a URL the reader cannot use.
constexpr int kErrBadUrl = 5;
// Set on a reply that went over its bound.
constexpr const char* kOverBound = "tovloOverBound";

class QtAsyncUrlRead : public AsyncUrlRead {
public:
    QtAsyncUrlRead(QNetworkAccessManager& manager, const TextCodec& codec, int stallTimeoutMs)
        : manager_(manager), codec_(codec), stallTimeoutMs_(stallTimeoutMs) {}
    ~QtAsyncUrlRead() override {
        for (auto& [tag, reply] : replies_) drop(reply);
    }

    void start(const std::string& url, const std::string& tag, std::int64_t maxBytes) override {
        if (replies_.count(tag)) throw AsyncReadStartError(kErrBadUrl, "a read with this tag is running: " + tag);
        // The news of an earlier read of the tag that still waits is not this one's.
        ended_.erase(tag);
        const QUrl wire = QUrl::fromEncoded(QByteArray::fromStdString(wireUrl(codec_, url)), QUrl::StrictMode);
        if (!wire.isValid() || (wire.scheme() != "http" && wire.scheme() != "https") || wire.host().isEmpty())
            throw AsyncReadStartError(kErrBadUrl, "not a usable address: " + url);
        QNetworkRequest request(wire);
        request.setTransferTimeout(stallTimeoutMs_);
        request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
        // Bodies come as they are: a compressed body is not checked against
        // its length on the wire, and one that decompresses past what its
        // decoder keeps was seen to arrive cut short as if whole.
        request.setRawHeader("Accept-Encoding", "identity");
        QNetworkReply* reply = manager_.get(request);
        replies_[tag] = reply;
        QObject::connect(reply, &QNetworkReply::downloadProgress, &context_,
                         [this, tag, reply, maxBytes](qint64 read, qint64 total) {
                             // Over its bound, announced or received: the read ends as failed.
                             if (read > maxBytes || total > maxBytes) {
                                 // Marked first: a reply aborted while it
                                 // decompresses may still end without an error,
                                 // holding the part it had.
                                 reply->setProperty(kOverBound, true);
                                 reply->abort();
                                 return;
                             }
                             events_.deliver([this, tag, read, total] {
                                 if (replies_.count(tag) && onProgress)
                                     onProgress(read, total < 0 ? 0 : total, kReadReceiving, tag);
                             });
                         });
        QObject::connect(reply, &QNetworkReply::finished, &context_,
                         [this, tag, reply, maxBytes] { finished(tag, reply, maxBytes); });
    }

    bool cancel(const std::string& tag) override {
        // Ended, its news still waiting in line: it is not told any more.
        if (ended_.erase(tag)) return true;
        auto it = replies_.find(tag);
        if (it == replies_.end()) return false;
        QNetworkReply* reply = it->second;
        replies_.erase(it);
        drop(reply);
        return true;
    }

private:
    void drop(QNetworkReply* reply) {
        QObject::disconnect(reply, nullptr, &context_, nullptr);
        reply->abort();
        reply->deleteLater();
    }

    void finished(const std::string& tag, QNetworkReply* reply, std::int64_t maxBytes) {
        auto it = replies_.find(tag);
        if (it == replies_.end() || it->second != reply) return;
        replies_.erase(it);
        QObject::disconnect(reply, nullptr, &context_, nullptr);
        reply->deleteLater();
        const QByteArray body = reply->error() == QNetworkReply::NoError ? reply->readAll() : QByteArray();
        const int http = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        const QVariant announced = reply->header(QNetworkRequest::ContentLengthHeader);
        const bool whole = !announced.isValid() || announced.toLongLong() == body.size();
        const bool ok = reply->error() == QNetworkReply::NoError && http >= 200 && http < 300 && whole &&
                        body.size() <= maxBytes && !reply->property(kOverBound).toBool();
        ended_.insert(tag);
        events_.deliver([this, tag, ok, body = ok ? body.toStdString() : std::string()] {
            if (!ended_.erase(tag) || !onComplete) return;
            if (ok)
                onComplete(kReadEndOfData, body, static_cast<std::int64_t>(body.size()), tag);
            else
                onComplete(kReadError, std::string(), 0, tag);
        });
    }

    QNetworkAccessManager& manager_;
    const TextCodec& codec_;
    int stallTimeoutMs_;
    QObject context_;  // the receiver of every connection: gone with the reader
    std::map<std::string, QNetworkReply*> replies_;
    std::set<std::string> ended_;  // reads whose end has not been told yet
    EventSource events_{"a download's news"};
};

}  // namespace

QtAsyncUrlReads::QtAsyncUrlReads(const TextCodec& codec, int stallTimeoutMs)
    : codec_(codec), stallTimeoutMs_(stallTimeoutMs), manager_(std::make_unique<QNetworkAccessManager>()) {}

QtAsyncUrlReads::~QtAsyncUrlReads() = default;

std::unique_ptr<AsyncUrlRead> QtAsyncUrlReads::create() {
    return std::make_unique<QtAsyncUrlRead>(*manager_, codec_, stallTimeoutMs_);
}

}  // namespace tovlo
