#pragma once
// Reading requests and writing answers the way the program expects them:
// every text answer is GBK, and values arrive as percent-encoded GBK.
#include <httplib.h>

#include <string>

#include "service.h"

namespace tovlo::devservice {

// Sends the bytes exactly as they are, with a Content-Length and never
// compressed: the program's upload client asks for gzip but reads the raw
// answer for "call(".
void sendBytes(httplib::Response& res, std::string bytes, const std::string& type, int status = 200);
// Sends UTF-8 text converted to GBK, with "; charset=gbk" after the type.
void sendText(httplib::Response& res, const Service& service, const std::string& utf8, const std::string& mime,
              int status = 200);
// A short Chinese page telling the user what went wrong.
void sendProblem(httplib::Response& res, const Service& service, int status, const std::string& message);

// A query or form value in UTF-8 (empty when absent). Values are GBK bytes,
// except in a form body whose Content-Type says charset=UTF-8, which is what
// a page's own script sends.
std::string requestValue(const httplib::Request& req, const Service& service, const std::string& key);

// "http://" + the Host the request was sent to, for the absolute addresses
// of pages that are shown from a local copy; 127.0.0.1 and the service's port
// when Host is missing or not a plain host name or address.
std::string serviceOrigin(const httplib::Request& req, const Service& service);

}  // namespace tovlo::devservice
