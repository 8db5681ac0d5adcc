#pragma once
// The add-face upload of one picture: the size check, the connection with
// its time-out, the request streamed in its three stages (the picture read
// from disk piece by piece, each piece sent once the one before has gone
// out), and the result read from the service's answer.
#include <cstdint>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "platform/event_loop.h"
#include "platform/tcp_client.h"
#include "platform/text_codec.h"
#include "upload_request.h"

namespace tovlo {

inline constexpr int kUploadConnectTimeoutMs = 10000;

class FaceUpload {
public:
    enum class Start { sending, tooLarge };

    // host: the service host (host or host:port).
    // answerMs: how long the answer may take once the request has gone out.
    FaceUpload(TcpClients& clients, EventLoop& loop, const TextCodec& codec, std::string host,
               int answerMs = limits::kUploadAnswerMs);
    ~FaceUpload();

    // Starts the upload of the picture into the class. A picture over
    // 102400 bytes is refused without a connection. Throws FileNotFoundError
    // when the picture cannot be read; nothing is sent then. A new start
    // drops an upload still under way.
    Start start(const std::string& classId, const std::string& picturePath);
    // Drops the upload under way, if any, without a result.
    void cancel() { stop(); }

    // No connection within 10 seconds, or the connection was refused.
    std::function<void()> onNoConnection;
    // The result value the answer holds ("0".."3", or the class id).
    std::function<void(const std::string& value)> onResult;
    // The request could not go out whole (the picture shrank while it was
    // sent), or it went out but no answer can be read: none came within
    // limits::kUploadAnswerMs, the connection closed before it, or it grew
    // too long without a result.
    std::function<void()> onNoAnswer;

private:
    void connected();
    void sendNext();
    void arrived(const std::string& bytes);
    void noAnswer();
    void stop();

    TcpClients& clients_;
    EventLoop& loop_;
    const TextCodec& codec_;
    std::string host_;
    std::unique_ptr<TcpClient> client_;
    std::unique_ptr<TcpClient> retired_;  // a closed client, kept until it is surely idle
    std::unique_ptr<Timer> connectTimer_;
    std::unique_ptr<Timer> answerTimer_;
    std::ifstream picture_;
    UploadRequest request_;
    std::int64_t pictureLeft_ = 0;
    bool tailSent_ = false;
    UploadAnswer answer_;
};

}  // namespace tovlo
