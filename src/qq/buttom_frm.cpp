#include "buttom_frm.h"

#include "core/paths.h"

namespace tovlo {

ButtomFrm::ButtomFrm(Forms& forms, std::string app, std::function<void()> onToggle)
    : form_(forms.create(FormDescription("ButtomFrm", {.frameless = true, .topMost = true, .showsWithoutFocus = true})
                             .pictures({"Image1", "Picture1"}))),
      app_(std::move(app)),
      onToggle_(std::move(onToggle)) {
    form_->setGeometry({0, 0, kWidth, kHeight});
    form_->setTransparentColour(kColourKey);
    // The button's own picture is the shipped one as well.
    Image1().loadImageFile(joinPath(app_, {"w", "btn1.jpg"}));
    Image1().onClick = [this] { click(); };
    Picture1().onClick = [this] { click(); };
    // The hover picture replaces the button picture for good; nothing puts
    // the first one back.
    Image1().onMouseMove = [this] { Image1().loadImageFile(joinPath(app_, {"w", "btn1.jpg"})); };
}

void ButtomFrm::click() {
    isOpen_ = !isOpen_;
    if (onToggle_) onToggle_();
}

}  // namespace tovlo
