#include <gtest/gtest.h>

#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_history_db.h"
#include "platform/fake/fake_platform.h"
#include "qq/face_inserter.h"
#include "qq/history_store.h"
#include "support/temp_dir.h"

using namespace tovlo;
using Keys = std::vector<FakeDesktop::KeyEvent>;

namespace {

constexpr WindowHandle kChat = 0x501, kPanel = 0x600;
const Keys kCtrlV = {{kVkControl, true}, {kVkV, true}, {kVkControl, false}, {kVkV, false}};

struct FaceInserterTest : ::testing::Test {
    test::TempDir dir;
    FakePlatform fake;
    FakeDesktop desktop;
    DebugForm debug{fake.platform};
    FaceInserter inserter{desktop, fake.loop, debug};
    FakeHistoryDb db;
    PublicParm parm{dir.path(), fake.codec};
    HistoryStore history{db, parm};

    void SetUp() override {
        desktop.addWindow(kChat, "TXGuiFoundation", "张三", {});
        desktop.foreground = kPanel;  // the user clicked a face in the panel
    }
    // The main window's "inputFaceAndHistory": nothing at all while a paste
    // is pending, else the history entry, then the insertion.
    void inputFaceAndHistory(const std::string& img) {
        if (inserter.inputBusy()) return;
        history.addHistory(img);
        inserter.insert(kChat);
    }
};

}  // namespace

TEST_F(FaceInserterTest, FocusesAtOnceThenTypesCtrlVAQuarterSecondLater) {
    debug.show();
    EXPECT_TRUE(inserter.insert(kChat));
    EXPECT_TRUE(inserter.inputBusy());
    EXPECT_EQ(desktop.foreground, kChat);
    EXPECT_EQ(debug.List1().item(0), "-聚焦");

    fake.loop.advance(249);
    EXPECT_TRUE(desktop.keys.empty());
    std::vector<int> pumpsAtKey;
    desktop.onKey = [&](int, bool) { pumpsAtKey.push_back(fake.loop.pumps); };
    const int p = fake.loop.pumps;
    fake.loop.advance(1);
    EXPECT_EQ(desktop.keys, kCtrlV) << "Control is released before V";
    EXPECT_EQ(pumpsAtKey, (std::vector<int>{p, p + 1, p + 2, p + 3}));
    EXPECT_EQ(fake.loop.pumps, p + 4) << "one pass of the event loop after each key";
    EXPECT_FALSE(inserter.inputBusy());
    fake.loop.advance(1000);
    EXPECT_EQ(desktop.keys.size(), 4u) << "one paste per insertion";
}

TEST_F(FaceInserterTest, InsertionWhilePendingIsDroppedWithItsHistoryEntryLaterOnesPass) {
    inputFaceAndHistory("a.gif");
    fake.loop.advance(100);
    inputFaceAndHistory("b.gif");
    EXPECT_FALSE(inserter.insert(kChat)) << "the inserter refuses too";
    fake.loop.advance(200);  // 300 ms after the first
    inputFaceAndHistory("c.gif");
    fake.loop.advance(250);
    Keys twice = kCtrlV;
    twice.insert(twice.end(), kCtrlV.begin(), kCtrlV.end());
    EXPECT_EQ(desktop.keys, twice);
    EXPECT_EQ(desktop.focusRequests.size(), 2u);
    EXPECT_EQ(db.images(), (std::vector<std::string>{"a.gif", "c.gif"}));
}

TEST_F(FaceInserterTest, NoChatWindowYetStillPastesWhereTheFocusIs) {
    inserter.insert(0);
    EXPECT_EQ(desktop.foreground, kPanel);
    fake.loop.advance(250);
    EXPECT_EQ(desktop.keys, kCtrlV);
}

// Our own window may take the focus back after the chat window was asked for
// it: the keys wait for the chat window, asking again, and go to the front
// window only when it never comes back.
TEST_F(FaceInserterTest, KeysWaitForTheChatWindowWhenSomethingTookTheFocusBack) {
    struct Case {
        const char* what;
        int stolenFor;  // focus requests the chat window loses to the panel
        int expectedWaitMs;
    };
    const Case cases[] = {
        {"in front at once", 0, 0},
        {"back after one request", 1, FaceInserter::kRefocusDelayMs},
        {"back after three", 3, 3 * FaceInserter::kRefocusDelayMs},
        {"never back", 100, FaceInserter::kRefocusTries * FaceInserter::kRefocusDelayMs},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        desktop.keys.clear();
        desktop.focusRequests.clear();
        ASSERT_TRUE(inserter.insert(kChat));
        int stolen = 0;
        // The panel's late activation wins until the chat has lost stolenFor times.
        auto steal = [&] {
            if (stolen < c.stolenFor) {
                ++stolen;
                desktop.foreground = kPanel;
            }
        };
        steal();
        fake.loop.advance(FaceInserter::kPasteDelayMs);
        for (int waited = 0; waited < c.expectedWaitMs; waited += FaceInserter::kRefocusDelayMs) {
            EXPECT_TRUE(desktop.keys.empty()) << "no key while another window is in front";
            steal();
            fake.loop.advance(FaceInserter::kRefocusDelayMs);
        }
        EXPECT_EQ(desktop.keys, kCtrlV);
        EXPECT_FALSE(inserter.inputBusy());
        EXPECT_EQ(desktop.focusRequests.size(),
                  1u + static_cast<std::size_t>(c.expectedWaitMs / FaceInserter::kRefocusDelayMs));
        fake.loop.advance(1000);
        EXPECT_EQ(desktop.keys.size(), 4u) << "one paste";
    }
}
