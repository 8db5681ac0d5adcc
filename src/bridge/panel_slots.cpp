#include "panel_slots.h"

#include "core/errors.h"
#include "core/twips.h"

namespace tovlo {

Panel* PanelSlots::control(const std::string& slot) const {
    auto it = slots_.find(slot);
    return it == slots_.end() ? nullptr : it->second.get();
}

void PanelSlots::load(const std::string& slot, const std::string& className) {
    if (control(slot) || loading_.count(slot)) throw TovloError(kErrSlotTaken, "a panel is already loaded as " + slot);
    if (!knows(className))
        throw TovloError(kErrInvalidArgument, "the panel " + className + " is not part of this build");
    Frame& frame = Frame1();
    frame.setVisible(true);
    const Rect w = window_.geometry();
    frame.setGeometry({twipsToPixels(90), twipsToPixels(480), twipsToPixels(pixelsToTwips(w.width) - 190),
                       twipsToPixels(pixelsToTwips(w.height) - 800)});
    auto form = window_.createPanel("Frame1", factory_.formDescription(className));
    Form& panelForm = *form;
    std::unique_ptr<Panel> panel;
    loading_.insert(slot);
    try {
        panel = factory_.create(className, host_, std::move(form));
    } catch (...) {
        loading_.erase(slot);
        // A panel that could not start leaves no empty frame behind.
        if (slots_.empty()) frame.setVisible(false);
        throw;
    }
    loading_.erase(slot);
    slots_[slot] = std::move(panel);
    panelForm.show();
    debug_.log("panel opened: " + slot + " " + className);
}

// The slots share Frame1: it goes away with the last panel only, so closing
// one slot never hides (and strands) the panel of another.
void PanelSlots::remove(const std::string& slot) {
    auto it = slots_.find(slot);
    if (it == slots_.end()) throw TovloError(kErrInvalidArgument, "no panel is loaded as " + slot);
    it->second->switchOff();
    it->second->form().hide();
    reaper_.retire(std::move(it->second));
    slots_.erase(it);
    debug_.log("panel closed: " + slot);
    if (slots_.empty()) Frame1().setVisible(false);
}

void PanelSlots::hideAll() {
    for (auto& [name, panel] : slots_) panel->form().hide();
}

}  // namespace tovlo
