#pragma once
// NeedUpdate: the update notice. It names the next version, shows that
// version's news from the service, and on "立刻更新" starts the updater with
// the version being replaced and ends the program.
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/public_parm.h"
#include "platform/event_loop.h"
#include "platform/forms.h"
#include "platform/platform.h"

namespace tovlo {

// The news shown for a version: the news text from the first mention of the
// version to its end, with every CR LF as "<br />". Empty when the text does
// not mention the version.
std::string newsPart(std::string_view news, std::string_view version);

class NeedUpdate {
public:
    static constexpr int kNewsDelayMs = 200;

    // endProgram unloads every window of the program.
    NeedUpdate(Platform& platform, const PublicParm& parm, std::function<void()> endProgram);

    // The version offered; set before show().
    std::string ver;
    void show();
    Form& form() { return *form_; }
    // "更新到 " and the version read as one line; the two commands stand at
    // the window's lower right.
    Form& version() { return form_->group("version", "", Flow::Row); }
    Form& commands() { return form_->group("commands", "", Flow::Buttons); }
    Label& Label4() { return version().label("Label4"); }
    BrowserView& WebBrowser1() { return form_->browserView("WebBrowser1"); }
    Timer& Timer1() { return *timer1_; }

private:
    void loadNews();
    void updateNow();

    Platform& platform_;
    const PublicParm& parm_;
    std::function<void()> endProgram_;
    std::unique_ptr<Form> form_;
    std::unique_ptr<Timer> timer1_;
};

}  // namespace tovlo
