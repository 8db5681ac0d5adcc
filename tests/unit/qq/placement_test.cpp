#include <gtest/gtest.h>

#include "qq/placement.h"
#include "recording_form.h"

using namespace tovlo;
using Log = std::vector<std::string>;

TEST(Placement, ModeNamesAndHeightCap) {
    EXPECT_EQ(displayModeOf("buttom3"), DisplayMode::Buttom3);
    EXPECT_EQ(displayModeOf("fQQ"), DisplayMode::FQQ);
    for (const char* other : {"", "Normal", "fqq", "bottom", " normal"})
        EXPECT_FALSE(dockFor(displayModeOf(other), {}, {}).has_value()) << other;
    EXPECT_EQ(panelHeightFor(500), 500);
    EXPECT_EQ(panelHeightFor(700), 700);
    EXPECT_EQ(panelHeightFor(701), 700);
}

// Each mode carried out on recording windows: the positions, and the order
// bar move, bar show, bar top-most, panel move, visibility, panel top-most.
TEST(Placement, EveryModeInOrder) {
    const Rect chat{200, 100, 400, 500};  // right 600, bottom 600
    const Log bar = {"bar.move 200,600 65x43", "bar.show", "bar.topmost"};
    auto with = [](Log head, const Log& tail) {
        head.insert(head.end(), tail.begin(), tail.end());
        return head;
    };
    struct Row {
        DisplayMode mode;
        DockState state;
        bool panelShown;
        Rect chat;
        Log expected;
    };
    const DockState person{.panelWidth = 300}, group{.panelWidth = 300, .isQun = true},
        open{.panelWidth = 300, .barOpen = true}, keep{.panelWidth = 300, .keepMainVisible = true};
    const Row rows[] = {
        {DisplayMode::Normal, person, false, chat, {"panel.move 600,100 300x500", "panel.show", "panel.topmost"}},
        {DisplayMode::Normal,
         person,
         true,
         {200, 100, 400, 900},
         {"panel.move 600,100 300x700", "panel.show", "panel.topmost"}},
        {DisplayMode::Buttom, open, false, chat,
         with(bar, {"panel.move 440,100 300x500", "panel.show", "panel.topmost"})},
        {DisplayMode::Buttom, group, false, chat, with(bar, {"panel.move 390,100 300x500"})},
        {DisplayMode::Buttom2, group, true, chat, with(bar, {"panel.move 600,100 300x500", "panel.topmost"})},
        {DisplayMode::Buttom3, open, false, chat,
         with(bar, {"panel.move -100,100 300x500", "panel.show", "panel.topmost"})},
        {DisplayMode::FQQ, open, true, chat, with(bar, {"panel.move 200,100 300x500", "panel.hide"})},
        {DisplayMode::FQQ, keep, false, chat, with(bar, {"panel.move 200,100 300x500", "panel.show"})},
    };
    for (const Row& r : rows) {
        FakeForms forms;
        Log log;
        test::RecordingForm panelForm{forms, "panel", log}, barForm{forms, "bar", log};
        panelForm.rect = {0, 0, 300, 480};
        panelForm.visible = r.panelShown;
        barForm.rect = {5, 5, 65, 43};
        applyPlacement(*dockFor(r.mode, r.chat, r.state), panelForm, barForm);
        EXPECT_EQ(log, r.expected) << "mode " << static_cast<int>(r.mode) << ", row " << (&r - rows);
    }
}
