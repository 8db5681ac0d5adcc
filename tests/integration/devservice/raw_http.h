#pragma once
// Requests to the devservice byte for byte, as the program's own clients
// send them: a raw socket where the exact bytes matter (the upload,
// traversal attempts, broken requests), GBK for every text.
#include <string>
#include <vector>

namespace tovlo::test {

std::string gbk(const std::string& utf8);
std::string fromGbk(const std::string& gbkBytes);
// Every byte other than letters, digits and "-._~" as %XX.
std::string percentEncode(const std::string& bytes);

struct RawAnswer {
    int status = 0;  // 0 when no answer came
    std::string head;
    std::string body;
};

// Connects to 127.0.0.1:port, sends the pieces one after the other and reads
// one answer (to its Content-Length, or to the end of the connection).
RawAnswer rawExchange(int port, const std::vector<std::string>& pieces);
// "GET <target> HTTP/1.1" with a Host field.
RawAnswer rawGet(int port, const std::string& target);

// The add-face upload as the program builds it (upload/upload_request.h),
// in its three stages. path is the picture's full local path in UTF-8; it
// travels as GBK.
RawAnswer uploadAsTheProgram(int port, const std::string& classId, const std::string& path, const std::string& picture);

}  // namespace tovlo::test
