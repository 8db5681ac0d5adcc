// The updater against a hostile service: lists and files go wrong in every
// way. Nothing is written outside the program folder, a file in place stays
// whole (the old or the new one), and the updater ends or says why it stopped.
#include "hostile_fixture.h"
#include "run_events.h"
#include "updater/updater_form.h"

namespace tovlo::test {

TEST_F(HostileTest, TheUpdaterAgainstAHostileServiceNeverWritesOutsideTheProgramFolder) {
    struct Case {
        const char* what;
        std::string urls;
        Fault listFault = Fault::none;
        Fault fileFault = Fault::none;  // for w/main.html
    };
    const std::string good = "w/main.html--docs/a.txt";
    const Case cases[] = {
        {"paths that leave the folder", "w/main.html--../outside/keep.txt--docs/a.txt"},
        {"an absolute path", "/tmp/x.txt--" + good},
        {"a path with NUL", std::string("docs/a\0b.txt--", 14) + good},
        {"a list without end", good, Fault::endless},
        {"a trickling list", good, Fault::trickle},
        {"a list cut in the middle", good, Fault::cut},
        {"a list that is no GBK", hostile::notGbk() + "--" + good},
        {"a file without end", good, Fault::none, Fault::endless},
        {"a trickling file", good, Fault::none, Fault::trickle},
        {"a file cut in the middle", good, Fault::none, Fault::cut},
        {"a file with a server error", good, Fault::none, Fault::serverError},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        service.serve("/soft/update/update.txt", "1.0-1.1-");
        service.serve("/soft/update/1.1/urls.txt", c.urls, c.listFault);
        service.serve("/soft/update/1.1/w/main.html", "<p>1.1 new page, whole</p>", c.fileFault);
        service.serve("/soft/update/1.1/docs/a.txt", "docs");
        writeBytes(inApp("w/main.html"), "<p>1.0 old page</p>");
        std::filesystem::remove_all(inApp("docs"));
        const Tree before = treeOf(root.path());
        std::vector<std::string> report;
        UpdaterDeps deps{loop, fetch, codec, messages, processes, forms, reads};
        deps.totalMs = kBatchMs;
        UpdaterForm updater(deps, app, service.host(), "1.0");
        updater.onReport = [&](const std::string& line) { report.push_back(line); };
        auto stopped = [&] {
            for (const std::string& l : report)
                if (l.find("没有完成") != std::string::npos || l.find("已停止") != std::string::npos ||
                    l.find("无法取得") != std::string::npos)
                    return true;
            return false;
        };
        ASSERT_TRUE(runEventsUntil([&] { return updater.ended() || stopped(); }, kBatchMs + 8000))
            << "the updater ends, or says it stopped";
        EXPECT_EQ(changedOutside(before, treeOf(root.path()), {app}), std::vector<std::string>{});
        const std::string page = readBytes(inApp("w/main.html"));
        EXPECT_TRUE(page == "<p>1.0 old page</p>" || page == "<p>1.1 new page, whole</p>") << page;
        if (c.fileFault != Fault::none) {
            EXPECT_FALSE(updater.ended()) << "no hand-over with a file missing";
        }
        processes.started.clear();
    }
}

}  // namespace tovlo::test
