// A public pack from a hostile service: bad names, bodies without end or
// cut short, errors, resets. The download ends with what it could get, its
// failures listed, nothing written outside the pack's folder, and the main
// window answers the page all along.
#include "hostile_fixture.h"

namespace tovlo::test {

namespace {

struct PackCase {
    const char* what;
    std::string list;
    Fault listFault = Fault::none;
    Fault fileFault = Fault::none;  // for 2.gif
    bool resetting = false;         // the whole service resets its connections
};

}  // namespace

TEST_F(HostileTest, APackFromAHostileServiceEndsInsideItsFolder) {
    const std::string good = "1.gif/2.gif/ver-1.txt";
    const PackCase cases[] = {
        {"names that leave the folder", std::string("../../outside/x.gif//etc/passwd/a\0b.gif/..\\x.gif/", 49) + good},
        {"a list without end", good, Fault::endless},
        {"a trickling list", good, Fault::trickle},
        {"a list shorter than announced", good, Fault::longer},
        {"a list cut in the middle", good, Fault::cut},
        {"a list with a server error", good, Fault::serverError},
        {"a list of one very long line", hostile::longLine(900 * 1024) + "/" + good},
        {"a list longer than any list", hostile::longLine(5 * 1024 * 1024)},
        {"a list that is no GBK", hostile::notGbk() + "/" + good},
        {"a file without end", good, Fault::none, Fault::endless},
        {"a trickling file", good, Fault::none, Fault::trickle},
        {"a file shorter than announced", good, Fault::none, Fault::longer},
        {"a file cut in the middle", good, Fault::none, Fault::cut},
        {"a file with a server error", good, Fault::none, Fault::serverError},
        {"connections reset", good, Fault::none, Fault::none, true},
    };
    for (const PackCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string pack = "p" + std::to_string(&c - cases);
        service.serve("/soft/" + pack + "/imgs.txt", c.list, c.listFault);
        service.serve("/soft/" + pack + "/1.gif", "GIF89a one");
        service.serve("/soft/" + pack + "/2.gif", "GIF89a two, a little longer", c.fileFault);
        service.serve("/soft/" + pack + "/ver-1.txt", "1");
        main.reset();
        debugLines.clear();
        start(c.resetting ? service.resettingHost() : service.host());
        const Tree before = treeOf(root.path());
        worstMs = 0;
        main->callVb("showFace||" + pack + ",1");
        ASSERT_TRUE(runProbing([&] { return main->control(MainForm::kSlot) == nullptr; }, kBatchMs + 5000))
            << "the download ends";
        EXPECT_LE(worstMs, kResponsiveMs) << "page commands waited, after: " << worstAfter;
        EXPECT_EQ(changedOutside(before, treeOf(root.path()), {inApp("w/" + pack), inApp("temp")}),
                  std::vector<std::string>{});
        const bool complete = std::filesystem::exists(inApp("w/" + pack + "/ver-1.txt"));
        if (c.fileFault != Fault::none) {
            EXPECT_FALSE(complete) << "a pack without 2.gif is not complete";
            EXPECT_TRUE(saw("没有下载成功：")) << "the failed file is listed";
            EXPECT_FALSE(std::filesystem::exists(inApp("w/" + pack + "/2.gif"))) << "no torn file";
        }
        if (complete) {
            EXPECT_EQ(readBytes(inApp("w/" + pack + "/2.gif")), "GIF89a two, a little longer");
        }
        EXPECT_LE(messages.shown.size(), 1u) << "one box at the most";
        messages.shown.clear();
    }
}

}  // namespace tovlo::test
