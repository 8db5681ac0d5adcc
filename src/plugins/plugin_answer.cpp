#include "plugin_answer.h"

#include "core/text.h"

namespace tovlo {

PluginAnswer parsePluginAnswer(std::string_view text) {
    PluginAnswer answer;
    if (text.empty()) return answer;
    for (const std::string& item : split(text, "||")) {
        const std::vector<std::string> parts = split(item, "**");
        if (parts.size() < 2) {
            answer.broken = item;
            break;
        }
        answer.items.push_back({parts[0], parts[1]});
    }
    return answer;
}

}  // namespace tovlo
