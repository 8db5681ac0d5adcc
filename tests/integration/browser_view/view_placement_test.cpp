// Placement, visibility and location of a view in its form.
#include <filesystem>

#include "core/urls.h"
#include "desktop_input.h"

namespace tovlo::test {
namespace {

using ViewPlacement = ViewTest;

TEST_F(ViewPlacement, PlacedViewKeepsItsGeometryInTheForm) {
    form->label("Label1").setText("above");
    EXPECT_EQ(&form->browserView("web"), view);
    view->setGeometry({10, 20, 300, 200});
    form->setGeometry({40, 40, 800, 600});
    settle(200);
    EXPECT_EQ(view->geometry(), (Rect{10, 20, 300, 200}));
    EXPECT_EQ(viewWidget()->mapTo(viewWidget()->window(), QPoint(0, 0)), QPoint(10, 20));

    EXPECT_TRUE(view->isVisible());
    view->setVisible(false);
    EXPECT_FALSE(view->isVisible());
    EXPECT_FALSE(viewWidget()->isVisible());
    view->setVisible(true);
    EXPECT_TRUE(view->isVisible());
}

TEST_F(ViewPlacement, LocationFollowsTheProgramAndThePagesOwnNavigation) {
    EXPECT_EQ(view->location(), "");
    view->runScript("external.calls('t', 'fresh:' + location.href)");  // a view that has shown nothing yet
    ASSERT_TRUE(waitForCall("t", "fresh:about:blank"));
    const std::string next = page("next.html", "<body onload=\"external.calls('t','loaded:next.html')\"></body>");
    load("start.html", "<a id=\"a\" href=\"next.html?from=start\">next</a>");
    EXPECT_EQ(view->location(), dir / "start.html");
    view->runScript("document.getElementById('a').click()");
    ASSERT_TRUE(waitForCall("t", "loaded:next.html"));
    EXPECT_EQ(view->location(), "file://" + next + "?from=start");

    view->navigate("about:blank");
    view->runScript("external.calls('t', location.href)");
    ASSERT_TRUE(waitForCall("t", "about:blank"));
    EXPECT_EQ(view->location(), "about:blank");
}

// A folder whose name holds what an address gives a meaning to is reached
// through its encoded address, and the page sees its own folder's name.
TEST_F(ViewPlacement, APageInAFolderNamedWithUrlCharactersLoads) {
    const std::string folder = dir / "a#1?b%2 张 x";
    std::filesystem::create_directories(folder);
    writeBytes(folder + "/p.html",
               "<body onload=\"external.calls('t', decodeURIComponent(location.pathname.split('/').slice(-2)[0]))\">");
    view->navigate(fileUrl(folder + "/p.html"));
    ASSERT_TRUE(waitForCall("t", "a#1?b%2 张 x"));
    EXPECT_EQ(percentDecode(view->location()), "file://" + folder + "/p.html");
}

}  // namespace
}  // namespace tovlo::test
