#pragma once
// The add-face upload as it travels: an HTTP multipart form post of one
// picture to "/soft/addUpLoad.asp" on the service host, written in three
// parts (the head with the body up to the picture's bytes, the picture's
// bytes themselves, the rest of the body), and the result that the
// service's answer carries.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/read_limits.h"
#include "platform/text_codec.h"

namespace tovlo {

inline constexpr const char* kUploadBoundary = "---------------------------7d32b5e2406c6";
inline constexpr const char* kUploadPath = "/soft/addUpLoad.asp";
// Pictures larger than this are refused before any connection is made.
inline constexpr std::int64_t kMaxUploadBytes = 102400;
// The picture is read and sent in pieces of this size.
inline constexpr std::int64_t kUploadPieceBytes = 8192;

// Everything of the request except the picture's bytes, in the ANSI code
// page (GBK); the picture goes between `head` and `tail` unchanged.
struct UploadRequest {
    std::string head;            // request line, header block, body up to the picture
    std::string tail;            // CR LF after the picture, then the closing body lines
    std::int64_t bodyBytes = 0;  // the Content-Length: body bytes, picture included
};

// The request for `pictureBytes` bytes of the picture at `picturePath`, into
// the class `classId`, for the service host `host` (host or host:port).
UploadRequest buildUploadRequest(const TextCodec& codec, const std::string& host, const std::string& classId,
                                 const std::string& picturePath, std::int64_t pictureBytes);

// The sizes of the sends that carry a picture of `pictureBytes` bytes: whole
// pieces, then the remainder when there is one.
std::vector<std::int64_t> uploadPieces(std::int64_t pictureBytes);

// The result in the answer received so far: the text between the first
// "call(" and the ")" after it; nothing while the answer holds no complete
// "call(...)".
std::optional<std::string> uploadResultIn(const std::string& answer);

// The answer as it arrives, in pieces: it is read once it holds the first
// "call(" and the ")" after it, each byte looked at once. An answer that grows
// past limits::kUploadAnswerBytes without that is too long and read no more.
class UploadAnswer {
public:
    enum class State { waiting, complete, tooLong };
    State add(std::string_view bytes);
    State state() const { return state_; }
    // The text between "call(" and ")", once complete.
    const std::string& value() const { return value_; }

private:
    std::string text_;
    std::size_t scanned_ = 0;
    std::size_t valueStart_ = std::string::npos;
    std::string value_;
    State state_ = State::waiting;
};

}  // namespace tovlo
