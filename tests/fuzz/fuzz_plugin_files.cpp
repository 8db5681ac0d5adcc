// What installed plug-ins bring: their descriptions (plus/<folder>/main.ini)
// that make the list of plug-ins on the main page, and the answer a
// plug-in's program leaves for its panel.
//
// Input: up to three main.ini files separated by two NULs; the whole input
// is also read as a plug-in's answer.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "check.h"
#include "core/errors.h"
#include "core/ini_cls.h"
#include "core/paths.h"
#include "core/text.h"
#include "folder_check.h"
#include "fuzz_input.h"
#include "platform/posix/iconv_codec.h"
#include "plugins/plugin_answer.h"
#include "plugins/plugin_registry.h"
#include "scratch_folder.h"
#include "script_list.h"

namespace {

using namespace tovlo;
using namespace tovlo::fuzz;

struct Setup {
    IconvCodec codec;
    ScratchFolder app;
};

// The descriptions as the registry should take them: folders in name order,
// each whose id is already taken left out (and counted).
std::vector<std::pair<std::string, std::string>> expectedPlugins(const Setup& s,
                                                                 const std::vector<std::string>& folders,
                                                                 std::size_t& leftOut) {
    std::vector<std::pair<std::string, std::string>> plugins;
    leftOut = 0;
    for (const std::string& folder : folders) {
        IniCls ini(s.codec);
        ini.setINIFileName(joinPath(s.app.path(), {"plus", folder, "main.ini"}));
        const std::string id = ini.GetIniKey("main", "id");
        bool taken = false;
        for (const auto& known : plugins) taken = taken || known.first == id;
        if (taken) {
            ++leftOut;
            continue;
        }
        plugins.emplace_back(id, ini.GetIniKey("main", "name"));
    }
    return plugins;
}

void checkRegistry(const Setup& s, std::string_view input) {
    s.app.clear();
    const std::vector<std::string> folders = {"a", "b", "c"};
    std::vector<std::string> files = split(input, std::string_view("\0\0", 2));
    files.resize(folders.size());
    for (std::size_t i = 0; i < folders.size(); ++i)
        putFile(joinPath(s.app.path(), {"plus", folders[i], "main.ini"}), files[i]);
    // A folder with a "." in its name is no plug-in.
    putFile(joinPath(s.app.path(), {"plus", "old.bak", "main.ini"}), files[0]);

    std::size_t leftOut = 0;
    const auto expected = expectedPlugins(s, folders, leftOut);
    PluginRegistry registry(s.codec, s.app.path());
    const std::size_t named = registry.loadPlugins().size();
    CHECK(named == leftOut, std::to_string(named) + " plug-ins left out, " + std::to_string(leftOut) + " expected");

    // The page's list is a list, and gives back exactly the ids and names.
    const std::string text = registry.pluginListText();
    const auto read = readPluginList(text);
    CHECK(read.has_value(), "the plug-in list is no list: " + shown(text));
    CHECK(*read == expected, std::to_string(read->size()) + " plug-ins read back, " + std::to_string(expected.size()) +
                                 " expected, from " + shown(text));

    // An open plug-in's folder is a folder of its own inside plus/. (An empty
    // id is "none open": such a plug-in is listed, never opened.)
    const std::string plus = joinPath(s.app.path(), {"plus"});
    for (const auto& [id, name] : expected) {
        if (id.empty()) continue;
        registry.openPlugin(id);
        CHECK(staysDirectlyIn(plus, registry.pluginFolder()),
              "plug-in " + shown(id) + " named " + shown(name) + " has the folder " + shown(registry.pluginFolder()));
    }
}

void checkAnswer(const std::string& text) {
    const PluginAnswer answer = parsePluginAnswer(text);
    if (text.empty()) {
        CHECK(answer.items.empty() && !answer.broken, "an empty answer holds something");
        return;
    }
    // Items are the pieces between "||" in order, each "command**value",
    // up to the first piece without "**", which is the broken one.
    const std::vector<std::string> pieces = split(text, "||");
    CHECK(answer.items.size() <= pieces.size(), "more items than pieces");
    for (std::size_t i = 0; i < answer.items.size(); ++i) {
        const PluginAnswerItem& item = answer.items[i];
        CHECK(!contains(item.command, "||") && !contains(item.value, "||"), "an item holds \"||\"");
        CHECK(!contains(item.command, "**") && !contains(item.value, "**"), "an item holds \"**\"");
        CHECK(startsWith(pieces[i], item.command + "**" + item.value),
              "item " + std::to_string(i) + " is not piece " + shown(pieces[i]));
    }
    if (answer.items.size() < pieces.size()) {
        CHECK(answer.broken && *answer.broken == pieces[answer.items.size()], "the answer stopped without a reason");
        CHECK(!contains(*answer.broken, "**"), "the broken piece " + shown(*answer.broken) + " holds \"**\"");
    } else {
        CHECK(!answer.broken, "a broken piece in an answer read whole");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Setup setup;
    const std::string_view input = asText(data, size);
    checkRegistry(setup, input);
    // The answer is read as a text file in the code page.
    checkAnswer(setup.codec.ansiToUtf8(input));
    return 0;
}
