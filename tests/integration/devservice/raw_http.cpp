#include "raw_http.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <regex>

#include "platform/posix/iconv_codec.h"
#include "upload/upload_request.h"

namespace tovlo::test {

std::string gbk(const std::string& utf8) { return IconvCodec().utf8ToAnsi(utf8); }
std::string fromGbk(const std::string& gbkBytes) { return IconvCodec().ansiToUtf8(gbkBytes); }

std::string percentEncode(const std::string& bytes) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

RawAnswer rawExchange(int port, const std::vector<std::string>& pieces) {
    RawAnswer answer;
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return answer;
    }
    for (const std::string& piece : pieces) ::send(fd, piece.data(), piece.size(), MSG_NOSIGNAL);
    std::string received;
    std::size_t wanted = std::string::npos;
    char buf[4096];
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 5000) <= 0) break;
        ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n <= 0) break;
        received.append(buf, static_cast<std::size_t>(n));
        std::size_t headEnd = received.find("\r\n\r\n");
        if (headEnd == std::string::npos) continue;
        std::smatch m;
        std::string head = received.substr(0, headEnd);
        if (wanted == std::string::npos &&
            std::regex_search(head, m, std::regex("Content-Length: *(\\d+)", std::regex::icase)))
            wanted = headEnd + 4 + std::stoul(m[1]);
        if (wanted != std::string::npos && received.size() >= wanted) break;
    }
    ::close(fd);
    std::size_t headEnd = received.find("\r\n\r\n");
    if (headEnd == std::string::npos) return answer;
    answer.head = received.substr(0, headEnd);
    answer.body = received.substr(headEnd + 4);
    std::smatch m;
    if (std::regex_search(answer.head, m, std::regex("^HTTP/1\\.[01] (\\d+)"))) answer.status = std::stoi(m[1]);
    return answer;
}

RawAnswer rawGet(int port, const std::string& target) {
    return rawExchange(port, {"GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) +
                              "\r\nConnection: close\r\n\r\n"});
}

RawAnswer uploadAsTheProgram(int port, const std::string& classId, const std::string& path,
                             const std::string& picture) {
    const UploadRequest request = buildUploadRequest(IconvCodec(), "127.0.0.1:" + std::to_string(port), classId, path,
                                                     static_cast<std::int64_t>(picture.size()));
    // Three stages like the program: head and body start, the picture in
    // its pieces, the rest of the body.
    std::vector<std::string> sends{request.head};
    std::size_t at = 0;
    for (std::int64_t piece : uploadPieces(static_cast<std::int64_t>(picture.size()))) {
        sends.push_back(picture.substr(at, static_cast<std::size_t>(piece)));
        at += static_cast<std::size_t>(piece);
    }
    sends.push_back(request.tail);
    return rawExchange(port, sends);
}

}  // namespace tovlo::test
