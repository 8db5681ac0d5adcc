// Every shipped page's scripts as the browser control's engine reads them:
// Wine's JScript in the control's newest mode compiles each inline script
// (placeholders filled as the program fills them), and no page builds on
// the promises the control lacks.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "jscript.h"
#include "platform/native_codec.h"
#include "support/temp_dir.h"

namespace tovlo::test {
namespace {

std::string utf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// The pages of w/, the templates and the plug-ins' pages.
std::vector<std::filesystem::path> shippedPages() {
    namespace fs = std::filesystem;
    const fs::path dist = fs::u8path(TOVLO_DIST_DIR);
    std::vector<fs::path> pages;
    for (const char* folder : {"w", "templates"})
        for (const auto& entry : fs::directory_iterator(dist / folder))
            if (entry.path().extension() == ".html") pages.push_back(entry.path());
    for (const auto& plugin : fs::directory_iterator(dist / "plus"))
        if (fs::exists(plugin.path() / "main.html")) pages.push_back(plugin.path() / "main.html");
    return pages;
}

// The inline scripts of the page, each "{{name}}" filled with a number.
std::vector<std::string> inlineScripts(const std::string& page) {
    std::vector<std::string> scripts;
    for (size_t at = page.find("<script>"); at != std::string::npos; at = page.find("<script>", at)) {
        at += 8;
        std::string script = page.substr(at, page.find("</script>", at) - at);
        for (size_t hole = script.find("{{"); hole != std::string::npos; hole = script.find("{{", hole))
            script.replace(hole, script.find("}}", hole) + 2 - hole, "0");
        scripts.push_back(script);
    }
    return scripts;
}

TEST(PageScripts, EveryPageCompilesOnTheBrowserControlsEngine) {
    NativeCodec codec;
    const auto pages = shippedPages();
    EXPECT_GE(pages.size(), 9u);
    for (const auto& page : pages) {
        SCOPED_TRACE(utf8(page));
        const std::vector<std::string> scripts = inlineScripts(codec.ansiToUtf8(readBytes(utf8(page))));
        EXPECT_FALSE(scripts.empty());
        for (const std::string& script : scripts) {
            // Compiled inside a function that never runs: the page's own
            // objects are not there.
            JScript engine;
            EXPECT_EQ(engine.run("function tovloPageCheck() {\n" + script + "\n}"), "");
            EXPECT_EQ(script.find("Promise"), std::string::npos) << "the browser control has no promises";
        }
    }
}

}  // namespace
}  // namespace tovlo::test
