#pragma once
// A version's file list "urls.txt": relative paths below the version's folder
// on the service, separated by "--", with "/" between folder levels. The same
// path names the installed file below the program folder, after the name
// conversion of getRealFileName.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tovlo {

// The service stores a file whose type it may not serve as base name + "__" +
// real extension + ".txt": main__exe.txt stands for main.exe. A text after
// "__" longer than kMaxExtensionBytes, or holding a folder separator, is no
// extension: such a name is returned unchanged.
inline constexpr std::size_t kMaxExtensionBytes = 16;
std::string getRealFileName(const std::string& txtfile);

struct InstallEntry {
    std::string remote;     // as in the list, with "/"
    std::string installed;  // below the program folder, with the local separator, real name
};

struct InstallList {
    std::vector<InstallEntry> entries;  // in list order, each installed path once
    // The first entry that must not be installed: absolute, holding "." or
    // ".." or an empty level, a "\" or a ":", or an empty entry. When set,
    // nothing of the list may be installed.
    std::optional<std::string> refused;
};

// The entries of a urls.txt text. An empty text lists no file.
InstallList readInstallList(std::string_view urlsText);

}  // namespace tovlo
