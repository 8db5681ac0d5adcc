#include "startup.h"

#include <filesystem>
#include <optional>

#include "errors.h"
#include "files.h"
#include "functions.h"
#include "hot_key_text.h"
#include "paths.h"
#include "service.h"
#include "text.h"

namespace tovlo {

void startUp(PublicParm& parm, Platform& platform, DebugForm& debug,
             const std::function<void(const std::string&)>& setUserName) {
    IniCls& ini = parm.ini;
    // 1. Bind the configuration file.
    parm.keepMainVisible = false;
    ini.setINIFileName(parm.app + "/config.ini");
    parm.serviceHost = effectiveServiceHost(ini.GetIniKey("application", "serviceHost"));
    // 2-4.
    parm.isDebug = ini.GetIniKey("run", "debug") == "true";
    parm.showModel = ini.GetIniKey("run", "showModel");
    parm.autorun = ini.GetIniKey("run", "autorun");
    // 5. Face folder, with an explicit empty entry when missing.
    if (ini.GetIniKey("run", "facePath").empty()) ini.WriteIniKey("run", "facePath", "");
    parm.facePath = ini.GetIniKey("run", "facePath");
    if (parm.facePath.empty()) parm.facePath = joinPath(parm.app, {"w"});
    // 6. History length.
    if (ini.GetIniKey("run", "historyNub").empty()) ini.WriteIniKey("run", "historyNub", "16");
    parm.historyNub = ini.GetIniKey("run", "historyNub");
    // The key that calls the panel, with the default written when missing.
    if (ini.GetIniKey("run", "hotKey").empty()) ini.WriteIniKey("run", "hotKey", kDefaultHotKey);
    parm.hotKey = ini.GetIniKey("run", "hotKey");
    // 7. Automatic login.
    if (ini.GetIniKey("run", "autoLoginName").empty()) ini.WriteIniKey("run", "autoLoginName", "");
    parm.autoLoginName = ini.GetIniKey("run", "autoLoginName");
    // The name becomes a folder name, so it must be one name, as a login's is.
    if (!parm.autoLoginName.empty() && !isSafeName(parm.autoLoginName))
        debug.log("automatic login skipped: unusable account name " + parm.autoLoginName);
    else if (!parm.autoLoginName.empty())
        setUserName(parm.autoLoginName);
    // 8. Face download base: the stored value is only a default for the file;
    // the parameter always starts from the service.
    std::string base = serviceBase(parm.serviceHost);
    if (ini.GetIniKey("run", "faceHttpPath").empty()) ini.WriteIniKey("run", "faceHttpPath", base);
    parm.faceHttpPath = base;
    // 9. A bottom-bar mode lasts for this run only.
    std::string mode = ini.GetIniKey("run", "showModel");
    if (mode == "buttom" || mode == "buttom2" || mode == "buttom3") ini.WriteIniKey("run", "showModel", "fQQ");
    // 10. New-version clean-up, once per installation.
    if (ini.GetIniKey("run", "updateFaseMainhtml").empty()) {
        platform.messages.show("新版本做些必要的打扫处理！开始...");
        std::string defaultRoot = joinPath(parm.app, {"w"});
        fixMainPages(defaultRoot, debug);
        if (defaultRoot != parm.facePath) fixMainPages(parm.facePath, debug);
        ini.WriteIniKey("run", "updateFaseMainhtml", "1");
        platform.messages.show("成功！");
    }
}

namespace {

// Every occurrence of the ASCII text `from` in a page of the ANSI code page,
// replaced on the bytes. Matches start at characters only: the second byte
// of a double-byte character (a lead byte 0x81-0xFE and any byte after it)
// may look like an ASCII letter, and is stepped over with its lead byte.
std::string replaceInAnsiText(const std::string& bytes, std::string_view from, std::string_view to) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        if (bytes.compare(i, from.size(), from) == 0) {
            out += to;
            i += from.size();
            continue;
        }
        const auto c = static_cast<unsigned char>(bytes[i]);
        const std::size_t length = c >= 0x81 && c <= 0xFE && i + 1 < bytes.size() ? 2 : 1;
        out.append(bytes, i, length);
        i += length;
    }
    return out;
}

}  // namespace

void fixMainPages(const std::string& root, DebugForm& debug) {
    std::error_code ec;
    std::filesystem::directory_iterator it(fsPath(root), ec);
    if (ec) return;
    for (const auto& entry : it) {
        if (!entry.is_directory(ec)) continue;
        std::string name = pathText(entry.path().filename());
        std::string folder = joinPath(root, {name});
        if (!fileExists(joinPath(folder, {"main.html"}))) continue;
        // One page that cannot be patched is left as it is; the others and
        // the start of the program go on.
        try {
            patchMainPage(folder, name);
        } catch (const std::exception& e) {
            debug.log("clean-up skipped " + folder + ": " + e.what());
        }
    }
}

void patchMainPage(const std::string& folder, const std::string& /*name*/) {
    const std::string page = joinPath(folder, {"main.html"});
    const std::optional<std::string> before = readFileBytes(page);
    if (!before) throw TovloError(kErrFileAccess, "cannot read " + page);
    std::string text = replaceInAnsiText(*before, "+\"/\"+y+\"-\"+x+\".gif\")",
                                         "+\"/\"+y+\"-\"+x+\".gif\",e.offsetX+20,e.offsetY+113)");
    text = replaceInAnsiText(text, "showImg(src)", "showImg(src,x,y)");
    // The new page replaces the old one whole or not at all.
    if (text != *before && !replaceFileAtomically(page, text)) throw TovloError(kErrFileAccess, "cannot write " + page);
}

void takeVersion(PublicParm& parm, const std::string& commandLine) {
    if (commandLine.empty()) {
        parm.ver = parm.ini.GetIniKey("application", "ver");
    } else {
        parm.ver = commandLine;
        parm.ini.WriteIniKey("application", "ver", parm.ver);
    }
}

std::string trayTipText(const PublicParm& parm) { return parm.ini.GetIniKey("application", "name") + parm.ver; }

}  // namespace tovlo
