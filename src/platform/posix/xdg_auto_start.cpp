#include "platform/part_file.h"
#include "xdg_auto_start.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace tovlo {

namespace fs = std::filesystem;

std::string desktopExecValue(const std::string& programPath) {
    // A program path is one argument: quoted when it holds a reserved
    // character, and inside the quotes ", `, $ and \ escaped.
    static const std::string reserved = " \t\n\"'\\><~|&;$*?#()`";
    std::string arg = programPath;
    if (arg.empty() || arg.find_first_of(reserved) != std::string::npos) {
        arg = "\"";
        for (char c : programPath) {
            if (c == '"' || c == '`' || c == '$' || c == '\\') arg += '\\';
            arg += c;
        }
        arg += '"';
    }
    // A literal "%" is "%%" (a single one starts a field code); then the
    // escapes of every string value of the format.
    std::string value;
    for (char c : arg) {
        switch (c) {
            case '%': value += "%%"; break;
            case '\\': value += "\\\\"; break;
            case '\n': value += "\\n"; break;
            case '\t': value += "\\t"; break;
            case '\r': value += "\\r"; break;
            default: value += c;
        }
    }
    return value;
}

XdgAutoStart XdgAutoStart::forThisUser() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    if (config && config[0] == '/') {
        base = config;
    } else {
        const char* home = std::getenv("HOME");
        base = std::string(home ? home : "") + "/.config";
    }
    return XdgAutoStart(base + "/autostart");
}

std::string XdgAutoStart::entryPath(const std::string& entryName) const {
    return folder_ + "/" + entryName + ".desktop";
}

bool XdgAutoStart::enable(const std::string& entryName, const std::string& programPath) {
    std::error_code ec;
    fs::create_directories(folder_, ec);
    const std::string path = entryPath(entryName);
    const std::string temp = partFileOf(path);
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << "[Desktop Entry]\n"
               "Type=Application\n"
               "Name=Tovlo\n"
               "Comment=表情伴侣，开机自动运行\n"
               "Exec="
            << desktopExecValue(programPath)
            << "\n"
               "Terminal=false\n"
               "X-GNOME-Autostart-enabled=true\n";
        out.close();
        if (out.fail()) {
            fs::remove(temp, ec);
            return false;
        }
    }
    fs::rename(temp, path, ec);
    if (!ec) return true;
    fs::remove(temp, ec);
    return false;
}

bool XdgAutoStart::disable(const std::string& entryName) {
    std::error_code ec;
    fs::remove(entryPath(entryName), ec);
    return !fs::exists(entryPath(entryName), ec);
}

}  // namespace tovlo
