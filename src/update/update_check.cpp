#include "update_check.h"

#include "core/errors.h"
#include "core/files.h"
#include "core/functions.h"
#include "core/paths.h"
#include "core/service.h"
#include "core/urls.h"
#include "update/version_list.h"

namespace tovlo {

UpdateCheck::UpdateCheck(Platform& platform, PublicParm& parm, DebugForm& debug, Timer& timer3,
                         std::function<void()> endProgram)
    : platform_(platform),
      parm_(parm),
      debug_(debug),
      timer3_(timer3),
      endProgram_(std::move(endProgram)),
      reaper_(platform.loop) {}

void UpdateCheck::replaceUpdater() {
    const std::string fresh = joinPath(parm_.app, {"Kestrup_updateSelf.exe"});
    if (!fileExists(fresh)) return;
    // One rename puts it in place: there is never a moment without an
    // updater, and none at all is needed beforehand.
    if (renameOver(fresh, joinPath(parm_.app, {"Kestrup.exe"})))
        debug_.log("update: the delivered updater is now Kestrup.exe");
    else
        debug_.log("update: the delivered updater could not replace Kestrup.exe");
}

void UpdateCheck::run() {
    timer3_.setEnabled(false);
    replaceUpdater();
    if (parm_.ini.GetIniKey("run", "autoUpdate") != "true") return;

    const std::string folder = joinPath(parm_.app, {"updateTemp"});
    makeDirectories(folder);
    const std::string listFile = joinPath(folder, {"update2.txt"});
    const std::string url = withServiceQuery(serviceUrl(parm_.serviceHost, "/soft/update/update.txt"),
                                             {{"d", dateTimeText(platform_.loop.nowMs())}});
    if (!platform_.fetch.fetchToFile(url, listFile)) {
        debug_.log("update: the version list could not be fetched");
        return;
    }
    std::string list;
    try {
        list = readTextFile(platform_.codec, listFile);
    } catch (const TovloError&) {
        debug_.log("update: the version list could not be read");
        return;
    }
    const VersionStep step = stepFrom(list, parm_.ver);
    if (step.kind == VersionStep::kUnknown) {
        debug_.log("update: version " + parm_.ver + " is not in the service's version list");
        return;
    }
    if (step.kind == VersionStep::kLast) return;

    debug_.log("update: version " + step.next + " is available");
    // One notice at a time: a notice left open by an earlier check makes room.
    if (notice_) {
        notice_->form().hide();
        notice_->Timer1().setEnabled(false);
        reaper_.retire(std::move(notice_));
    }
    notice_ = std::make_shared<NeedUpdate>(platform_, parm_, endProgram_);
    notice_->ver = step.next;
    notice_->show();
}

}  // namespace tovlo
