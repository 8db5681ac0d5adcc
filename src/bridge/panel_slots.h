#pragma once
// The main window's panel area Frame1 and its three named slots. A panel is
// created by class name inside Frame1, one per slot; the slots share the
// frame, which is shown while any panel is open.
#include <map>
#include <memory>
#include <set>
#include <string>

#include "bridge/panel_factory.h"
#include "core/debug_form.h"
#include "core/reaper.h"

namespace tovlo {

class PanelSlots {
public:
    PanelSlots(Form& window, const PanelFactory& factory, PanelHost& host, Reaper& reaper, DebugForm& debug)
        : window_(window), factory_(factory), host_(host), reaper_(reaper), debug_(debug) {}

    Frame& Frame1() { return window_.frame("Frame1"); }
    bool knows(const std::string& className) const { return factory_.knows(className); }
    // The panel in the slot, or null.
    Panel* control(const std::string& slot) const;

    // Shows and places Frame1, then creates the panel in it. A taken slot (or
    // one whose panel is still being made) or a class this build does not
    // have is refused before anything changes.
    void load(const std::string& slot, const std::string& className);
    // Removes the slot's panel (destroyed once the current event is over);
    // Frame1 goes with the last panel. Fails when the slot is empty.
    void remove(const std::string& slot);
    // Hides every panel (the program is ending).
    void hideAll();

private:
    Form& window_;
    const PanelFactory& factory_;
    PanelHost& host_;
    Reaper& reaper_;
    DebugForm& debug_;
    std::map<std::string, std::unique_ptr<Panel>> slots_;
    // Slots whose panel is being made: a panel may wait for the service while
    // it starts, and its slot is taken from the beginning.
    std::set<std::string> loading_;
};

}  // namespace tovlo
