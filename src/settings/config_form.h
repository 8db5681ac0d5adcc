#pragma once
// configForm: the settings dialog. It shows auto-start, the face folder, the
// length of the history and the display mode as they are in use, and on
// "保存" writes them to config.ini and puts them in use at once.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "settings/settings_deps.h"

namespace tovlo {

class ConfigForm {
public:
    // The auto-start entry's name.
    static constexpr const char* kAutoRunEntry = "Vendrim";
    static constexpr const char* kTitle = "配置";

    // unload is called when the dialog is done (saved or discarded); the
    // owner destroys it after the event.
    ConfigForm(const SettingsDeps& deps, std::function<void()> unload);

    // Writes or removes the auto-start entry for the running program.
    void SetAutoRun(bool Autorun);

    Form& form() { return *form_; }
    OptionButton& Option1() { return basic().group("Frame1", "").optionButton("Option1"); }
    OptionButton& Option2() { return basic().group("Frame1", "").optionButton("Option2"); }
    TextBox& facePath_text() { return basic().group("Frame2", "").textBox("facePath_text"); }
    Button& Command3() { return pathButtons().button("Command3"); }
    Button& Command4() { return pathButtons().button("Command4"); }
    ListBox& historyNub() { return historyRow().dropDownList("historyNub"); }
    TextBox& hotKey_text() { return basic().group("Frame4", "").textBox("hotKey_text"); }
    OptionButton& Option7() { return modes().optionButton("Option7"); }
    OptionButton& Option3() { return modes().optionButton("Option3"); }
    Button& Command1() { return commands().button("Command1"); }
    Button& Command2() { return commands().button("Command2"); }

private:
    Form& basic() { return form_->tabPage("SSTab1", "基本配置"); }
    Form& modes() { return form_->tabPage("SSTab1", "显示模式"); }
    Form& pathButtons() { return basic().group("Frame2", "").group("pathButtons", "", Flow::Row); }
    Form& historyRow() { return basic().group("Frame3", "").group("historyRow", "", Flow::Row); }
    Form& commands() { return form_->group("commands", "", Flow::Buttons); }

    void build();
    void load();
    void save();
    void chooseFolder();
    // The face folder the user asked for is usable (it gets "cell.gif");
    // otherwise the user is told why and false is returned.
    bool prepareFaceFolder(const std::string& folder);
    // The hot key typed in its normal form ("none" for an empty box), bound
    // already; nothing, the user told why, when it cannot be used.
    std::optional<std::string> takeHotKey();
    std::string defaultFacePath() const;

    SettingsDeps deps_;
    std::function<void()> unload_;
    std::unique_ptr<Form> form_;
};

}  // namespace tovlo
