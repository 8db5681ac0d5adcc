#include "raw_http.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <regex>

#include "platform/posix/iconv_codec.h"

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
    const std::string b = "---------------------------7d32b5e2406c6";
    const std::string crlf = "\r\n";
    std::string bodyHead = "--" + b + crlf + "Content-Disposition: form-data; name=\"classId\"" + crlf + crlf +
                           gbk(classId) + crlf + "--" + b + crlf +
                           "Content-Disposition: form-data; name=\"myFile\"; filename=\"" + gbk(path) + "\"" +
                           crlf + "Content-Type: application/octet-stream" + crlf + crlf;
    std::string bodyTail = crlf + "--" + b + crlf + "Content-Disposition: form-data; name=\"Submit\"" + crlf +
                           crlf + gbk("·     提交     ·") + crlf + "--" + b + "--" + crlf + crlf;
    std::size_t length = bodyHead.size() + picture.size() + bodyTail.size();
    std::string head =
        "POST /soft/addUpLoad.asp HTTP/1.1" + crlf +
        "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
        "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*" + crlf +
        "Referer: http://127.0.0.1:" + std::to_string(port) + "/example/upfile.htm" + crlf +
        "Accept-Language: zh-cn" + crlf + "Content-Type: multipart/form-data; boundary=" + b + crlf +
        "Accept-Encoding: gzip, deflate" + crlf + "Host: 127.0.0.1:" + std::to_string(port) + crlf +
        "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0; .NET CLR 1.1.4322)" + crlf +
        "Connection: Keep-Alive" + crlf + "Cache-Control: no-cache" + crlf +
        "Content-Length: " + std::to_string(length) + crlf + crlf;
    // Three sends like the program: head and body start, the file in 8192-byte
    // pieces, the rest of the body.
    std::vector<std::string> pieces{head + bodyHead};
    for (std::size_t pos = 0; pos < picture.size(); pos += 8192) pieces.push_back(picture.substr(pos, 8192));
    pieces.push_back(bodyTail);
    return rawExchange(port, pieces);
}

}  // namespace tovlo::test
