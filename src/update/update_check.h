#pragma once
// The update check, run each time the main page is entered: a freshly
// delivered updater replaces the installed one, and when automatic updating
// is on, the service's version list is fetched; a newer version than the
// program's own is offered in the update notice.
#include <functional>
#include <memory>

#include "core/debug_form.h"
#include "core/public_parm.h"
#include "core/reaper.h"
#include "platform/event_loop.h"
#include "platform/platform.h"
#include "update/need_update.h"

namespace tovlo {

class UpdateCheck {
public:
    // timer3 is the main window's server-parameter timer, switched off at the
    // start of every check; endProgram unloads every window of the program.
    UpdateCheck(Platform& platform, PublicParm& parm, DebugForm& debug, Timer& timer3,
                std::function<void()> endProgram);

    void run();
    // The notice of the last check that offered a version, or null.
    NeedUpdate* notice() { return notice_.get(); }

private:
    void replaceUpdater();

    Platform& platform_;
    PublicParm& parm_;
    DebugForm& debug_;
    Timer& timer3_;
    std::function<void()> endProgram_;
    std::shared_ptr<NeedUpdate> notice_;
    // A notice replaced while its own news fetch may still wait is freed later.
    Reaper reaper_;
};

}  // namespace tovlo
