// The main window's page commands as a page (or whatever runs in it) may
// send them: "name||argument" texts dispatched through the window's whole
// command table on the fake platform, in a program folder of its own.
//
// Input: up to eight command texts separated by NULs.
//
// A command may change the program's own folders w/ and temp/ and its
// config.ini; nothing else in the program folder, and nothing beside it.
// After each input the program folder is put back as it was.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "bridge/main_form.h"
#include "check.h"
#include "core/command.h"
#include "core/errors.h"
#include "core/text.h"
#include "fuzz_input.h"
#include "platform/browser_view.h"
#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_history_db.h"
#include "platform/fake/fake_platform.h"
#include "scratch_folder.h"
#include "tree_snapshot.h"

namespace {

using namespace tovlo;
using namespace tovlo::fuzz;

constexpr std::size_t kMaxCommands = 8;
// Virtual time after each command, so the timers it starts (tracking,
// re-showing, the parameter fetch) run.
constexpr std::int64_t kTimeAfterCommandMs = 250;

// The scratch folder holds the program folder and, beside it, a folder and
// a file that no command may touch.
struct World {
    ScratchFolder root;
    std::string app = root / "Tovlo";
    FakePlatform fake;
    FakeDesktop desktop;
    FakeHistoryDb historyDb;
    PanelFactory panels;
    std::unique_ptr<PublicParm> parm;
    std::unique_ptr<DebugForm> debug;
    std::unique_ptr<PluginRegistry> plugins;
    std::unique_ptr<MainForm> main;
    PublicParm startParm{"", fake.codec};
    TreeSnapshot programFolder, beside;

    World() {
        putFile(app + "/config.ini",
                "[application]\r\nname=Tovlo\r\nver=1.2\r\nserviceHost=svc\r\n[run]\r\nupdateFaseMainhtml=1\r\n"
                "showModel=normal\r\n");
        putFile(app + "/templates/addFace.html", "<html>add face</html>");
        putFile(app + "/w/main.html", "<html>main</html>");
        putFile(app + "/w/hot/ver-3.txt", "");
        putFile(app + "/w/CustomFace/demo/1/1.html", "<html>class 1, page 1</html>");
        putFile(app + "/temp/.keep", "");
        putFile(app + "/plus/weather/main.ini", "[main]\r\nid=weather\r\nname=weather\r\n");
        putFile(root / "Other/config.ini", "[run]\r\nfacePath=\r\n");
        putFile(root / "Other/w/CustomFace/demo/addFace.html", "<html>not ours</html>");
        putFile(root / "outside.txt", "not ours");

        parm = std::make_unique<PublicParm>(app, fake.codec);
        debug = std::make_unique<DebugForm>(fake.platform);
        plugins = std::make_unique<PluginRegistry>(fake.codec, app);
        main = std::make_unique<MainForm>(
            MainForm::Deps{fake.platform, *parm, *debug, desktop, historyDb, panels, *plugins}, MainFormHooks{});
        main->load("");
        startParm = *parm;
        programFolder = snapshotOf(app);
        beside = snapshotOf(root.path(), {"Tovlo"});
    }

    // What the fakes recorded is dropped, so memory does not grow run by run.
    void forgetRecords() {
        fake.fetch.requests.clear();
        fake.messages.shown.clear();
        fake.processes.started.clear();
        fake.processes.opened.clear();
        fake.tray.balloons.clear();
        desktop.focusRequests.clear();
        desktop.keys.clear();
        historyDb.log.clear();
        for (auto& [name, form] : fake.forms.living) {
            for (auto& [viewName, view] : form->views) {
                view.scripts.clear();
                view.navigations.clear();
            }
            for (auto& [listName, list] : form->lists) list.items.clear();
        }
    }
};

// Changes inside the program folder are allowed in w/, temp/ and config.ini.
bool mayChange(const std::string& path) {
    return path == "config.ini" || path == "w" || startsWith(path, "w/") || path == "temp" || startsWith(path, "temp/");
}

void run(World& world, const std::string& text) {
    try {
        world.main->callVb(text);
    } catch (const TovloError&) {
        // A command that fails goes back to the page.
    } catch (const ScriptError&) {
        // A page function the view does not have.
    }
    world.fake.loop.advance(kTimeAfterCommandMs);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static World world;
    std::string_view input = asText(data, size);
    for (std::size_t i = 0; i < kMaxCommands && !input.empty(); ++i) run(world, std::string(takeField(input)));

    for (const std::string& path : differences(world.beside, snapshotOf(world.root.path(), {"Tovlo"})))
        CHECK(false, "changed beside the program folder: " + shown(path));
    const TreeSnapshot after = snapshotOf(world.app);
    for (const std::string& path : differences(world.programFolder, after))
        CHECK(mayChange(path), "changed in the program folder: " + shown(path));
    CHECK(after.count("config.ini") && after.at("config.ini").kind == 'f', "config.ini is gone");

    // A value from a page cannot rewrite another key of config.ini.
    IniCls ini(world.fake.codec);
    ini.setINIFileName(world.app + "/config.ini");
    CHECK(ini.GetIniKey("application", "serviceHost") == "svc" && ini.GetIniKey("application", "ver") == "1.2",
          "config.ini's [application] changed: " + shown(fileBytes(world.app + "/config.ini")));

    restoreTo(world.app, world.programFolder);
    *world.parm = world.startParm;
    world.forgetRecords();
    return 0;
}
