#include "qt_tcp_client.h"

#include <QTcpSocket>

#include "platform/commands.h"

namespace tovlo {

namespace {

class QtTcpClient : public TcpClient {
public:
    QtTcpClient() {
        QObject::connect(&socket_, &QTcpSocket::connected, [this] {
            events_.deliver([this] {
                if (onConnected) onConnected();
            });
        });
        QObject::connect(&socket_, &QTcpSocket::bytesWritten, [this](qint64) {
            events_.deliver([this] {
                if (onSent) onSent();
            });
        });
        QObject::connect(&socket_, &QTcpSocket::readyRead, [this] {
            events_.deliver([this, bytes = socket_.readAll().toStdString()] {
                if (onData) onData(bytes);
            });
        });
        // A refused or failed connection, and the other side closing, end it.
        QObject::connect(&socket_, &QTcpSocket::errorOccurred, [this](QAbstractSocket::SocketError) { ended(); });
        QObject::connect(&socket_, &QTcpSocket::disconnected, [this] { ended(); });
    }
    ~QtTcpClient() override {
        closing_ = true;
        socket_.abort();
    }
    void connectTo(const std::string& host, int port) override {
        closing_ = false;
        socket_.connectToHost(QString::fromStdString(host), static_cast<quint16>(port));
    }
    void send(const std::string& bytes) override { socket_.write(bytes.data(), static_cast<qint64>(bytes.size())); }
    std::int64_t pendingBytes() const override { return socket_.bytesToWrite(); }
    void close() override {
        closing_ = true;
        socket_.abort();
    }

private:
    void ended() {
        if (closing_) return;
        closing_ = true;
        events_.deliver([this] {
            if (onClosed) onClosed();
        });
    }

    QTcpSocket socket_;
    bool closing_ = false;
    EventSource events_{"a connection's news"};
};

}  // namespace

std::unique_ptr<TcpClient> QtTcpClients::create() { return std::make_unique<QtTcpClient>(); }

}  // namespace tovlo
