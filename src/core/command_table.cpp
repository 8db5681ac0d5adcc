#include "command_table.h"

#include "command.h"
#include "errors.h"

namespace tovlo {

void CommandTable::dispatch(const std::string& Text) const {
    const Command command = parseCommand(Text);
    auto it = handlers_.find(command.name);
    if (it == handlers_.end()) {
        if (note_) note_("unknown command: " + command.name);
        return;
    }
    it->second(command.arg);
}

}  // namespace tovlo
