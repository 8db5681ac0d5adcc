#include "install_list.h"

#include <set>

#include "core/paths.h"
#include "core/text.h"

namespace tovlo {

std::string getRealFileName(const std::string& txtfile) {
    const std::size_t mark = txtfile.find("__");
    if (mark == std::string::npos) return txtfile;
    const std::size_t txt = txtfile.find(".txt");
    // Without a ".txt" after the mark there is no real extension to restore.
    if (txt == std::string::npos || txt < mark) return txtfile;
    const std::string extension = txtfile.substr(mark + 2, txt - mark - 2);
    return replaceAll(replaceAll(txtfile, "__" + extension, ""), ".txt", "." + extension);
}

namespace {

// Every level is one plain name, so the path stays below the program folder.
bool staysInside(std::string_view path, std::string_view sep) {
    for (const std::string& level : split(path, sep))
        if (!isSafeName(level)) return false;
    return true;
}

}  // namespace

InstallList readInstallList(std::string_view urlsText) {
    InstallList list;
    if (trimSpace(urlsText).empty()) return list;
    std::set<std::string> seen;
    for (const std::string& remote : split(trimSpace(urlsText), "--")) {
        const bool plain = remote.find('\\') == std::string::npos && remote.find(':') == std::string::npos;
        const std::string local = replaceAll(remote, "/", std::string(1, kPathSep));
        const std::string installed = getRealFileName(local);
        if (!plain || !staysInside(remote, "/") || !staysInside(installed, std::string(1, kPathSep))) {
            list.entries.clear();
            list.refused = remote;
            return list;
        }
        if (seen.insert(installed).second) list.entries.push_back({remote, installed});
    }
    return list;
}

}  // namespace tovlo
