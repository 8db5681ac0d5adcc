#include "startup.h"

#include <filesystem>

#include "files.h"
#include "functions.h"
#include "paths.h"
#include "service.h"
#include "text.h"

namespace tovlo {

void startUp(PublicParm& parm, Platform& platform,
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
    // 7. Automatic login.
    if (ini.GetIniKey("run", "autoLoginName").empty()) ini.WriteIniKey("run", "autoLoginName", "");
    parm.autoLoginName = ini.GetIniKey("run", "autoLoginName");
    if (!parm.autoLoginName.empty()) setUserName(parm.autoLoginName);
    // 8. Face download base: the stored value is only a default for the file;
    // the parameter always starts from the service.
    std::string base = serviceBase(parm.serviceHost);
    if (ini.GetIniKey("run", "faceHttpPath").empty()) ini.WriteIniKey("run", "faceHttpPath", base);
    parm.faceHttpPath = base;
    // 9. A bottom-bar mode lasts for this run only.
    std::string mode = ini.GetIniKey("run", "showModel");
    if (mode == "buttom" || mode == "buttom2" || mode == "buttom3")
        ini.WriteIniKey("run", "showModel", "fQQ");
    // 10. New-version clean-up, once per installation.
    if (ini.GetIniKey("run", "updateFaseMainhtml").empty()) {
        platform.messages.show("新版本做些必要的打扫处理！开始...");
        std::string defaultRoot = joinPath(parm.app, {"w"});
        fixMainPages(platform.codec, defaultRoot);
        if (defaultRoot != parm.facePath) fixMainPages(platform.codec, parm.facePath);
        ini.WriteIniKey("run", "updateFaseMainhtml", "1");
        platform.messages.show("成功！");
    }
}

void fixMainPages(const TextCodec& codec, const std::string& root) {
    std::error_code ec;
    std::filesystem::directory_iterator it(root, ec);
    if (ec) return;
    for (const auto& entry : it) {
        if (!entry.is_directory(ec)) continue;
        std::string name = entry.path().filename().string();
        std::string folder = joinPath(root, {name});
        if (fileExists(joinPath(folder, {"main.html"}))) patchMainPage(codec, folder, name);
    }
}

void patchMainPage(const TextCodec& codec, const std::string& folder, const std::string& /*name*/) {
    std::string page = joinPath(folder, {"main.html"});
    std::string text = readTextFile(codec, page);
    text = replaceAll(std::move(text), "+\"/\"+y+\"-\"+x+\".gif\")",
                      "+\"/\"+y+\"-\"+x+\".gif\",e.offsetX+20,e.offsetY+113)");
    text = replaceAll(std::move(text), "showImg(src)", "showImg(src,x,y)");
    std::error_code ec;
    std::filesystem::remove(page, ec);
    writeTextFile(codec, page, text);
}

void takeVersion(PublicParm& parm, const std::string& commandLine) {
    if (commandLine.empty()) {
        parm.ver = parm.ini.GetIniKey("application", "ver");
    } else {
        parm.ver = commandLine;
        parm.ini.WriteIniKey("application", "ver", parm.ver);
    }
}

std::string trayTipText(const PublicParm& parm) {
    return parm.ini.GetIniKey("application", "name") + parm.ver;
}

}  // namespace tovlo
