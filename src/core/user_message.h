#pragma once
// What a user is told when something fails: a short Chinese sentence. The
// error's own text is for the developer and goes to the debug log.
#include <exception>
#include <string>

namespace tovlo {

std::string userMessage(const std::exception& error);

}  // namespace tovlo
