#include "paths.h"

#include "text.h"

namespace tovlo {

std::string joinPath(std::string_view base, std::initializer_list<std::string_view> parts) {
    std::string out(base);
    for (std::string_view part : parts) {
        bool endsWithSep = !out.empty() && out.back() == kPathSep;
        bool startsWithSep = !part.empty() && part.front() == kPathSep;
        if (endsWithSep && startsWithSep) part.remove_prefix(1);
        else if (!endsWithSep && !startsWithSep) out.push_back(kPathSep);
        out.append(part);
    }
    return out;
}

std::string pageSlashes(std::string_view path) {
    return replaceAll(std::string(path), std::string(1, kPathSep), "/");
}

std::string scriptEscapedPath(std::string_view path) {
    if (kPathSep != '\\') return std::string(path);
    return replaceAll(std::string(path), "\\", "\\\\");
}

bool isSafeName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    return name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

}  // namespace tovlo
