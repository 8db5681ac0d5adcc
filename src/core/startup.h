#pragma once
// Start-up: binds config.ini, fills the process-wide parameters, writes the
// defaults of missing keys and, once per installed version, patches the
// locally generated pack pages.
#include <functional>
#include <string>

#include "public_parm.h"
#include "platform/platform.h"

namespace tovlo {

// startUp. setUserName is the main window's setter (automatic login).
void startUp(PublicParm& parm, Platform& platform,
             const std::function<void(const std::string&)>& setUserName);

// Runs patchMainPage on every sub-folder of root that holds a main.html.
void fixMainPages(const TextCodec& codec, const std::string& root);
// Gives the page's image preview call the mouse position.
void patchMainPage(const TextCodec& codec, const std::string& folder, const std::string& name);

// The version: the whole command line when there is one (and it is stored as
// application/ver), else the stored version.
void takeVersion(PublicParm& parm, const std::string& commandLine);
// The tray icon's tool-tip: the product name directly followed by the version.
std::string trayTipText(const PublicParm& parm);

}  // namespace tovlo
