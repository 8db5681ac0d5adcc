#pragma once
// Start-up: binds config.ini, fills the process-wide parameters, writes the
// defaults of missing keys and, once per installed version, patches the
// locally generated pack pages.
#include <functional>
#include <string>

#include "debug_form.h"
#include "platform/platform.h"
#include "public_parm.h"

namespace tovlo {

// startUp. setUserName is the main window's setter (automatic login);
// what start-up had to leave undone goes to the debug log.
void startUp(PublicParm& parm, Platform& platform, DebugForm& debug,
             const std::function<void(const std::string&)>& setUserName);

// Runs patchMainPage on every sub-folder of root that holds a main.html; a
// page that cannot be read or written is logged and left as it is.
void fixMainPages(const std::string& root, DebugForm& debug);
// Gives the page's image preview call the mouse position. The page's bytes
// are kept as they are around the replaced texts. Throws TovloError when the
// page cannot be read or written (it is then unchanged).
void patchMainPage(const std::string& folder, const std::string& name);

// The version: the whole command line when there is one (and it is stored as
// application/ver), else the stored version.
void takeVersion(PublicParm& parm, const std::string& commandLine);
// The tray icon's tool-tip: the product name directly followed by the version.
std::string trayTipText(const PublicParm& parm);

}  // namespace tovlo
