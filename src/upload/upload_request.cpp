#include "upload_request.h"

#include <algorithm>

#include "core/service.h"

namespace tovlo {

namespace {

const std::string kLineEnd = "\r\n";

std::string field(const std::string& name, const std::string& value) { return name + ": " + value + kLineEnd; }

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

std::string delimiter() { return std::string("--") + kUploadBoundary + kLineEnd; }

std::string formField(const std::string& name) { return "Content-Disposition: form-data; name=" + quoted(name); }

}  // namespace

UploadRequest buildUploadRequest(const TextCodec& codec, const std::string& host, const std::string& classId,
                                 const std::string& picturePath, std::int64_t pictureBytes) {
    // The body around the picture, as UTF-8 first; only the text parts are
    // converted, so the length below counts the bytes that are really sent.
    const std::string before = delimiter() + formField("classId") + kLineEnd + kLineEnd + classId + kLineEnd +
                               delimiter() + formField("myFile") + "; filename=" + quoted(picturePath) + kLineEnd +
                               "Content-Type: application/octet-stream" + kLineEnd + kLineEnd;
    const std::string after = kLineEnd + delimiter() + formField("Submit") + kLineEnd + kLineEnd + "·     提交     ·" +
                              kLineEnd + "--" + kUploadBoundary + "--" + kLineEnd + kLineEnd;

    UploadRequest request;
    const std::string bodyBefore = codec.utf8ToAnsi(before);
    request.tail = codec.utf8ToAnsi(after);
    request.bodyBytes = static_cast<std::int64_t>(bodyBefore.size() + request.tail.size()) + pictureBytes;

    std::string head = std::string("POST ") + kUploadPath + " HTTP/1.1" + kLineEnd;
    head += field("Accept",
                  "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
                  "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*");
    head += field("Referer", serviceUrl(host, "/example/upfile.htm"));
    head += field("Accept-Language", "zh-cn");
    head += field("Content-Type", std::string("multipart/form-data; boundary=") + kUploadBoundary);
    head += field("Accept-Encoding", "gzip, deflate");
    head += field("Host", uploadHostField(host));
    head += field("User-Agent", "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0; .NET CLR 1.1.4322)");
    head += field("Connection", "Keep-Alive");
    head += field("Cache-Control", "no-cache");
    head += field("Content-Length", std::to_string(request.bodyBytes));
    head += kLineEnd;
    request.head = codec.utf8ToAnsi(head) + bodyBefore;
    return request;
}

std::vector<std::int64_t> uploadPieces(std::int64_t pictureBytes) {
    std::vector<std::int64_t> pieces(static_cast<std::size_t>(pictureBytes / kUploadPieceBytes), kUploadPieceBytes);
    if (pictureBytes % kUploadPieceBytes != 0) pieces.push_back(pictureBytes % kUploadPieceBytes);
    return pieces;
}

std::optional<std::string> uploadResultIn(const std::string& answer) {
    UploadAnswer whole;
    if (whole.add(answer) != UploadAnswer::State::complete) return std::nullopt;
    return whole.value();
}

namespace {

constexpr std::string_view kCallMarker = "call(";

}  // namespace

UploadAnswer::State UploadAnswer::add(std::string_view bytes) {
    if (state_ != State::waiting) return state_;
    if (static_cast<std::int64_t>(text_.size() + bytes.size()) > limits::kUploadAnswerBytes)
        return state_ = State::tooLong;
    text_.append(bytes);
    // Each byte is looked at once: a marker may straddle two arrivals, so the
    // search goes back by the marker's length less one.
    if (valueStart_ == std::string::npos) {
        const std::size_t from = scanned_ >= kCallMarker.size() ? scanned_ - (kCallMarker.size() - 1) : 0;
        const std::size_t at = text_.find(kCallMarker, from);
        if (at != std::string::npos) {
            valueStart_ = at + kCallMarker.size();
            scanned_ = valueStart_;
        }
    }
    if (valueStart_ != std::string::npos) {
        const std::size_t close = text_.find(')', std::max(scanned_, valueStart_));
        if (close != std::string::npos) {
            value_ = text_.substr(valueStart_, close - valueStart_);
            return state_ = State::complete;
        }
    }
    scanned_ = text_.size();
    return state_;
}

}  // namespace tovlo
