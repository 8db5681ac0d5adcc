#pragma once
// The answer a plug-in's program leaves in the file "param" of its folder:
// items "command**value" separated by "||", applied in order. The commands
// the panel knows are "reload", "insertText" and "insertPic"; other items are
// passed over.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tovlo {

struct PluginAnswerItem {
    std::string command;
    std::string value;
};

// The items in file order. An item without "**" ends the answer there: the
// items before it are returned and `broken` names it.
struct PluginAnswer {
    std::vector<PluginAnswerItem> items;
    std::optional<std::string> broken;
};
PluginAnswer parsePluginAnswer(std::string_view text);

}  // namespace tovlo
