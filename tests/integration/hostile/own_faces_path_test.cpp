// A page of the account's own faces from a hostile service: the listing and
// the faces go wrong in every way, and the panel still ends with a page,
// nothing written outside the account's folder.
#include "hostile_fixture.h"
#include "run_events.h"

namespace tovlo::test {

TEST_F(HostileTest, AClassPageFromAHostileServiceEndsInsideTheAccountsFolder) {
    const std::string good = "head||5/a.gif$$5/s_a.gif||5/b.gif$$5/s_b.gif--2,1";
    struct Case {
        const char* what;
        std::string listing;
        Fault listingFault = Fault::none;
        Fault faceFault = Fault::none;  // for 5/b.gif
    };
    const Case cases[] = {
        {"paths that leave the folder",
         std::string("h||../../../outside/x.gif$$/etc/passwd||5/\0a.gif$$..\\\\x.gif||5/../../demo2/a.gif||", 74) +
             good.substr(6)},
        {"a listing without end", good, Fault::endless},
        {"a trickling listing", good, Fault::trickle},
        {"a listing cut in the middle", good, Fault::cut},
        {"a listing with a server error", good, Fault::serverError},
        {"a listing of one very long line", hostile::longLine(900 * 1024)},
        {"a listing that is no GBK", hostile::notGbk() + "||" + good},
        {"a face without end", good, Fault::none, Fault::endless},
        {"a trickling face", good, Fault::none, Fault::trickle},
        {"a face shorter than announced", good, Fault::none, Fault::longer},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        service.serve("/soft/showFace.asp", c.listing, c.listingFault);
        service.serve("/soft/5/a.gif", "GIF89a a");
        service.serve("/soft/5/s_a.gif", "GIF89a sa");
        service.serve("/soft/5/b.gif", "GIF89a b", c.faceFault);
        service.serve("/soft/5/s_b.gif", "GIF89a sb");
        main.reset();
        debugLines.clear();
        start(service.host());
        parm->userName = "demo";
        std::filesystem::remove_all(inApp("w/CustomFace/demo"));
        std::filesystem::create_directories(inApp("w/CustomFace/demo"));
        const Tree before = treeOf(root.path());
        worstMs = 0;
        main->callVb("showMyOneClassFaces||5--1");
        ASSERT_TRUE(runProbing([&] { return main->control(MainForm::kSlot) == nullptr; }, kBatchMs + 6000))
            << "the panel ends";
        EXPECT_LE(worstMs, kResponsiveMs) << "after: " << worstAfter;
        EXPECT_EQ(changedOutside(before, treeOf(root.path()), {inApp("w/CustomFace/demo"), inApp("temp")}),
                  std::vector<std::string>{});
        EXPECT_TRUE(std::filesystem::exists(inApp("w/CustomFace/demo/5/1.html"))) << "a page is made";
        if (c.faceFault != Fault::none) {
            EXPECT_FALSE(std::filesystem::exists(inApp("w/CustomFace/demo/5/b.gif"))) << "no torn face";
            EXPECT_TRUE(saw("没有下载成功：")) << "the failed face is listed";
        }
    }
}

}  // namespace tovlo::test
