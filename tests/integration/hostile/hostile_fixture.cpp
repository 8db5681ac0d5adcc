#include "hostile_fixture.h"

#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>

#include "library/library_deps.h"
#include "run_events.h"
#include "upload/upload_deps.h"

namespace tovlo::test {

namespace fs = std::filesystem;

Tree treeOf(const std::string& root) {
    Tree tree;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string path = it->path().string();
        tree[path] = it->is_directory() ? std::string("<folder>") : readBytes(path);
    }
    return tree;
}

std::vector<std::string> changedOutside(const Tree& before, const Tree& after, const std::vector<std::string>& allowed) {
    auto isAllowed = [&](const std::string& path) {
        return std::any_of(allowed.begin(), allowed.end(), [&](const std::string& folder) {
            return path == folder || path.starts_with(folder + "/");
        });
    };
    std::vector<std::string> changed;
    for (const auto& [path, bytes] : after) {
        auto it = before.find(path);
        if ((it == before.end() || it->second != bytes) && !isAllowed(path)) changed.push_back(path);
    }
    for (const auto& [path, bytes] : before)
        if (!after.count(path) && !isAllowed(path)) changed.push_back(path + " (removed)");
    return changed;
}

HostileTest::HostileTest() : app(root / "program") {
    for (const char* d : {"w/CustomFace", "temp", "templates", "plus", "updateTemp"}) fs::create_directories(app + "/" + d);
    for (const char* t : {"faceMain.html", "myFaceOneClass.html", "addFace.html"})
        fs::copy_file(std::string(TOVLO_DIST_DIR) + "/templates/" + t, app + "/templates/" + t);
    // A sibling of the program folder, and a file beside it: a path that
    // escapes its folder would land here.
    writeBytes(root / "outside/keep.txt", "untouched");
    writeBytes(root / "x.gif", "untouched");
}

void HostileTest::TearDown() { main.reset(); }

void HostileTest::start(const std::string& host) {
    writeBytes(app + "/config.ini", "[application]\r\nname=Tovlo\r\nver=1.2\r\nserviceHost=" + host +
                                        "\r\n[run]\r\nupdateFaseMainhtml=1\r\nshowModel=normal\r\n");
    parm = std::make_unique<PublicParm>(app, codec);
    debug = std::make_unique<DebugForm>(platform);
    debug->setEcho([this](const std::string& line) { debugLines.push_back(line); });
    plugins = std::make_unique<PluginRegistry>(codec, app);
    main = std::make_unique<MainForm>(MainForm::Deps{platform, *parm, *debug, desktop, historyDb, panels, *plugins},
                                      MainFormHooks{});
    main->load("");
    LibraryDeps library{platform, *parm, *debug, *plugins, reads, images};
    library.batchTotalMs = kBatchMs;
    registerLibraryPanels(panels, library);
    registerUploadPanels(panels, UploadDeps{platform, *parm, *debug, clipboard, connections});
}

bool HostileTest::runProbing(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    qint64 last = clock.elapsed();
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        const int late = static_cast<int>(now - last - 50);
        if (late > worstMs) {
            worstMs = late;
            worstAfter = debugLines.empty() ? std::string() : debugLines.back();
        }
        last = now;
        // A page command of the main page, answered now.
        main->callVb("closeWeb2||-");
    });
    probe.start(50);
    const bool finished = runEventsUntil(done, timeoutMs);
    probe.stop();
    return finished;
}

bool HostileTest::saw(const std::string& start) const {
    return std::any_of(debugLines.begin(), debugLines.end(), [&](const std::string& l) { return l.starts_with(start); });
}

}  // namespace tovlo::test
