#pragma once
// A receiver's page commands: a table from the command's name to its
// handler. dispatch() splits the text at its first "||" and runs the handler
// of that name with the argument; a text without "||" fails back to the page
// and changes nothing. A name the table does not hold does nothing but a
// note: pages, those of the service too, may send commands this build does
// not know, and must not see them fail.
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>

namespace tovlo {

class CommandTable {
public:
    using Handler = std::function<void(const std::string& arg)>;

    CommandTable() = default;
    CommandTable(std::initializer_list<std::pair<const std::string, Handler>> handlers) : handlers_(handlers) {}

    void dispatch(const std::string& Text) const;
    bool has(const std::string& name) const { return handlers_.count(name) != 0; }
    // Where the note of an unknown command goes (the debug window).
    void noteUnknownIn(std::function<void(const std::string& line)> note) { note_ = std::move(note); }

private:
    std::map<std::string, Handler> handlers_;
    std::function<void(const std::string& line)> note_;
};

}  // namespace tovlo
