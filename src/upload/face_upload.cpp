#include "face_upload.h"

#include <algorithm>
#include <filesystem>

#include "core/errors.h"
#include "core/files.h"
#include "core/service.h"

namespace tovlo {

FaceUpload::FaceUpload(TcpClients& clients, EventLoop& loop, const TextCodec& codec, std::string host, int answerMs)
    : clients_(clients),
      loop_(loop),
      codec_(codec),
      host_(std::move(host)),
      connectTimer_(loop.createTimer(kUploadConnectTimeoutMs, false)),
      answerTimer_(loop.createTimer(answerMs, false)) {
    connectTimer_->onTick = [this] {
        stop();
        if (onNoConnection) onNoConnection();
    };
    answerTimer_->onTick = [this] { noAnswer(); };
}

FaceUpload::~FaceUpload() = default;

FaceUpload::Start FaceUpload::start(const std::string& classId, const std::string& picturePath) {
    stop();
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(fsPath(picturePath), error);
    if (error || !std::filesystem::is_regular_file(fsPath(picturePath))) throw FileNotFoundError(picturePath);
    if (size > static_cast<std::uintmax_t>(kMaxUploadBytes)) return Start::tooLarge;
    picture_.open(fsPath(picturePath), std::ios::binary);
    if (!picture_) throw FileNotFoundError(picturePath);

    request_ = buildUploadRequest(codec_, host_, classId, picturePath, static_cast<std::int64_t>(size));
    pictureLeft_ = static_cast<std::int64_t>(size);
    tailSent_ = false;
    answer_ = UploadAnswer();

    client_ = clients_.create();
    client_->onConnected = [this] { connected(); };
    client_->onSent = [this] { sendNext(); };
    client_->onData = [this](const std::string& bytes) { arrived(bytes); };
    // A refused connection is known at once: no need to wait for the time-out.
    client_->onClosed = [this] {
        if (connectTimer_->enabled()) {
            stop();
            if (onNoConnection) onNoConnection();
        } else {
            // Closed after the connection was made: no answer will come now.
            noAnswer();
        }
    };
    const ServiceEndpoint endpoint = serviceEndpoint(host_);
    connectTimer_->setEnabled(true);
    client_->connectTo(endpoint.name, endpoint.port);
    return Start::sending;
}

void FaceUpload::connected() {
    connectTimer_->setEnabled(false);
    client_->send(request_.head);
}

// Called whenever queued bytes went out: the next piece of the picture goes
// only once everything before it has left, so at most one piece is in memory.
void FaceUpload::sendNext() {
    if (!client_ || tailSent_ || client_->pendingBytes() > 0) return;
    if (pictureLeft_ > 0) {
        std::string piece(static_cast<std::size_t>(std::min(pictureLeft_, kUploadPieceBytes)), '\0');
        picture_.read(piece.data(), static_cast<std::streamsize>(piece.size()));
        // A picture that shrank since its size was announced would be sent
        // padded: the upload fails instead.
        if (picture_.gcount() != static_cast<std::streamsize>(piece.size())) {
            noAnswer();
            return;
        }
        pictureLeft_ -= static_cast<std::int64_t>(piece.size());
        client_->send(piece);
        return;
    }
    picture_.close();
    tailSent_ = true;
    client_->send(request_.tail);
    answerTimer_->setEnabled(true);
}

// The answer may come in several parts; the result is read once its
// "call(...)" has arrived whole.
void FaceUpload::arrived(const std::string& bytes) {
    switch (answer_.add(bytes)) {
        case UploadAnswer::State::waiting: return;
        case UploadAnswer::State::tooLong: noAnswer(); return;
        case UploadAnswer::State::complete: {
            const std::string value = answer_.value();
            stop();
            if (onResult) onResult(value);
            return;
        }
    }
}

void FaceUpload::noAnswer() {
    if (!client_) return;
    stop();
    if (onNoAnswer) onNoAnswer();
}

void FaceUpload::stop() {
    connectTimer_->setEnabled(false);
    answerTimer_->setEnabled(false);
    if (client_) {
        client_->close();
        // The client may be the caller of this very notification: it goes
        // with the next start or with this object.
        retired_ = std::move(client_);
    }
    if (picture_.is_open()) picture_.close();
}

}  // namespace tovlo
