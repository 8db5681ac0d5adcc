#pragma once
// The service's parameters, fetched once 1 s after the main page is entered
// (Timer3): "name=value" items separated by "||" that can show the notice
// window QQShow and move the face download base.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/reaper.h"
#include "core/public_parm.h"
#include "platform/desktop.h"
#include "platform/platform.h"
#include "qq/qq_show.h"

namespace tovlo {

// The items of the parameter list as name and value, first to last; nothing
// unless the text mentions "isQQShow". An item without "=" names nothing and
// is left out; blanks and line breaks around an item are not part of it.
std::vector<std::pair<std::string, std::string>> parseServerParams(std::string_view text);

class ServerParams {
public:
    // connectNotice gives the notice window's view the page bridge.
    ServerParams(Platform& platform, PublicParm& parm, const Desktop& desktop, Reaper& reaper,
                 std::function<void(QQShow&)> connectNotice);

    Timer& Timer3() { return *timer3_; }
    void applyParam(const std::string& name, const std::string& value);
    // The notice window while it is open, or null.
    QQShow* notice() { return qqShow_.get(); }
    void hideNotice();

private:
    void timer3Tick();
    void showNotice();

    Platform& platform_;
    PublicParm& parm_;
    const Desktop& desktop_;
    Reaper& reaper_;
    std::function<void(QQShow&)> connectNotice_;
    std::unique_ptr<Timer> timer3_;
    std::unique_ptr<QQShow> qqShow_;
};

}  // namespace tovlo
