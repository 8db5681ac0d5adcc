#pragma once
// ButtomFrm: the small button window docked under the chat window in the
// modes with a bottom bar. A click flips isOpen and asks the main window to
// show or hide the panel. Its pure-blue background is the colour key, so
// only the button picture and the picture box are seen.
#include <functional>
#include <memory>
#include <string>

#include "platform/forms.h"

namespace tovlo {

class ButtomFrm {
public:
    // onToggle runs after every click has flipped isOpen (the main window's
    // showMode_Buttom_showMainForm).
    ButtomFrm(Forms& forms, std::string app, std::function<void()> onToggle);

    Form& form() { return *form_; }
    Picture& Image1() { return form_->picture("Image1"); }
    Picture& Picture1() { return form_->picture("Picture1"); }

    static constexpr std::uint32_t kColourKey = 0x0000FF;  // pure blue, 0xRRGGBB
    static constexpr int kWidth = 65;                      // pixels (975 x 645 twips)
    static constexpr int kHeight = 43;

    // Whether the bar's click has opened the panel.
    bool isOpen() const { return isOpen_; }
    // Opened or closed by the keyboard (the hot key, Esc), without a click.
    void setOpen(bool open) { isOpen_ = open; }

private:
    void click();
    std::unique_ptr<Form> form_;
    std::string app_;
    std::function<void()> onToggle_;
    bool isOpen_ = false;
};

}  // namespace tovlo
