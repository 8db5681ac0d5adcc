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
    // A real extension is short and names no folder. Anything else is part of
    // the name; converting it would put the long text in place of every
    // ".txt" of the path and let a list build huge names.
    if (extension.size() > kMaxExtensionBytes || extension.find_first_of("/\\") != std::string::npos) return txtfile;
    return replaceAll(replaceAll(txtfile, "__" + extension, ""), ".txt", "." + extension);
}

InstallList readInstallList(std::string_view urlsText) {
    InstallList list;
    if (trimSpace(urlsText).empty()) return list;
    std::set<std::string> seen;
    for (const std::string& remote : split(trimSpace(urlsText), "--")) {
        // Both the listed path and the name it is installed under stay below
        // the program folder.
        const std::string installed = getRealFileName(replaceAll(remote, "/", std::string(1, kPathSep)));
        if (!isSafeRelativePath(remote) || !isSafeRelativePath(pageSlashes(installed))) {
            list.entries.clear();
            list.refused = remote;
            return list;
        }
        if (seen.insert(installed).second) list.entries.push_back({remote, installed});
    }
    return list;
}

}  // namespace tovlo
