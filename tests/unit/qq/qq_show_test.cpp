#include <gtest/gtest.h>

#include "core/errors.h"
#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_platform.h"
#include "qq/qq_show.h"
#include "support/page_paths.h"
#include "support/temp_dir.h"

using namespace tovlo;

namespace {

struct QQShowTest : ::testing::Test {
    test::TempDir dir;
    FakePlatform fake;
    FakeDesktop desktop;
    PublicParm parm{dir.path(), fake.codec};
    int unloads = 0;
    std::unique_ptr<QQShow> show;

    void SetUp() override {
        test::writeBytes(dir / "config.ini", "[application]\r\nver=2.3\r\n");
        parm.ini.setINIFileName(dir / "config.ini");
        desktop.screen = {1024, 768};  // 15360 x 11520 twips
    }
    void load() {
        show = std::make_unique<QQShow>(fake.forms, fake.loop, desktop, parm, [this] { ++unloads; });
    }
    FakeForm& form() { return *fake.forms.find("QQShow"); }
};

}  // namespace

TEST_F(QQShowTest, LoadsThePageAndStartsJustBelowTheLowerRightCorner) {
    load();
    FakeBrowserView& view = form().views["WebBrowser1"];
    EXPECT_EQ(&show->WebBrowser1(), &view);
    EXPECT_EQ(view.navigations, std::vector<std::string>{test::fileUrlOf(dir / "w/QQShow.html") + "?v=2.3"});
    EXPECT_EQ(view.rect, (Rect{-6, -8, 213, 213})) << "the view's borders lie outside the window";
    EXPECT_EQ(show->leftTwips(), 15360 - 3000);
    EXPECT_EQ(show->topTwips(), 11520 - 405);
    EXPECT_EQ(form().rect, (Rect{824, 741, 200, 200}));
    EXPECT_TRUE(show->Timer1().enabled());
    EXPECT_EQ(show->Timer1().interval(), 20);
    EXPECT_FALSE(form().visible);
    show->show();
    EXPECT_TRUE(form().visible);
}

TEST_F(QQShowTest, SlidesUp50TwipsPerTickFor61TicksOnA768PixelScreen) {
    load();
    EXPECT_EQ(show->topTwips(), 11115);
    fake.loop.advance(20);
    EXPECT_EQ(show->topTwips(), 11065);
    fake.loop.advance(20 * 59);
    EXPECT_EQ(show->topTwips(), 8115) << "after 60 ticks the window is not past its resting line";
    EXPECT_TRUE(show->Timer1().enabled());
    fake.loop.advance(20);
    EXPECT_EQ(show->topTwips(), 8065);
    EXPECT_FALSE(show->Timer1().enabled());
    EXPECT_EQ(form().rect.top, 8065 / 15);
    fake.loop.advance(5000);
    EXPECT_EQ(show->topTwips(), 8065) << "the slide runs once";
    EXPECT_EQ(show->leftTwips(), 12360);
}

TEST_F(QQShowTest, OnlyCloseUnloads) {
    load();
    show->show();
    for (const char* other : {"open||x", "closed", ""})
        EXPECT_NO_THROW(show->callVb(other)) << "not a command of the window, ignored: " << other;
    EXPECT_EQ(unloads, 0);
    EXPECT_TRUE(form().visible);
    EXPECT_TRUE(show->Timer1().enabled());

    show->callVb("close||now");
    EXPECT_EQ(unloads, 1);
    EXPECT_FALSE(form().visible);
    EXPECT_FALSE(show->Timer1().enabled()) << "a closed window stops sliding";
    show->callVb("close");
    EXPECT_EQ(unloads, 2) << "a bare command without an argument counts too";
}
