#pragma once
// publicParm: the process-wide parameters, one object owned by the
// application and passed by reference.
#include <string>

#include "ini_cls.h"

namespace tovlo {

struct PublicParm {
    PublicParm(std::string appFolder, const TextCodec& codec) : app(std::move(appFolder)), ini(codec) {}

    std::string app;  // the program folder
    std::string ver;
    IniCls ini;
    std::string userName;
    bool isDebug = false;
    std::string showModel;
    std::string startWith;
    std::string facePath;
    std::string autorun;
    std::string historyNub;
    std::string hotKey;  // "Ctrl+Alt+E", or "none"
    std::string autoLoginName;
    bool keepMainVisible = false;
    std::string faceHttpPath;
    std::string serviceHost;  // host or host:port of the web service
};

}  // namespace tovlo
