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
    DockState person, group, open, keep;
    person.panelWidth = group.panelWidth = open.panelWidth = keep.panelWidth = 300;
    group.isQun = open.barOpen = keep.keepMainVisible = true;
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

// Every window of ours stays where the user can reach it: a panel docked
// outside the chat window goes to its other side when its own side has no
// room, and is pushed in when neither side has; heights and tops are cut to
// the work area, and the bar moves in. What fits stays where the mode puts it.
TEST(Placement, KeptInsideTheWorkArea) {
    struct Row {
        const char* what;
        DisplayMode mode;
        Rect chat;
        Rect panel;  // left, top, (width), height
        int barLeft, barTop;
    };
    const Row rows[] = {
        {"fits", DisplayMode::Normal, {200, 100, 400, 500}, {600, 100, 300, 500}, 0, 0},
        {"100 px from the right edge", DisplayMode::Normal, {680, 100, 500, 500}, {380, 100, 300, 500}, 0, 0},
        {"touching the right edge", DisplayMode::Buttom2, {880, 100, 400, 500}, {580, 100, 300, 500}, 880, 600},
        {"as wide as the screen, above it", DisplayMode::Normal, {0, -20, 1280, 700}, {980, 0, 300, 700}, 0, 0},
        {"no room on the left", DisplayMode::Buttom3, {200, 100, 400, 500}, {600, 100, 300, 500}, 200, 600},
        {"no room on either side", DisplayMode::Buttom3, {100, 100, 1100, 500}, {0, 100, 300, 500}, 100, 600},
        {"strip past the right edge", DisplayMode::Buttom, {1000, 100, 400, 500}, {980, 100, 300, 500}, 1000, 600},
        {"partly off the left edge", DisplayMode::FQQ, {-100, 100, 400, 500}, {0, 100, 300, 500}, 0, 600},
        {"bottom on the work area's", DisplayMode::FQQ, {200, 400, 400, 500}, {200, 400, 300, 500}, 200, 857},
        {"past the work area's bottom", DisplayMode::FQQ, {200, 300, 400, 1000}, {200, 200, 300, 700}, 200, 857},
    };
    DockState state;
    state.panelWidth = 300;
    state.workArea = {0, 0, 1280, 900};
    state.barWidth = 65;
    state.barHeight = 43;
    for (const Row& r : rows) {
        const Placement p = *dockFor(r.mode, r.chat, state);
        EXPECT_EQ((Rect{p.panelLeft, p.panelTop, 300, p.panelHeight}), r.panel) << r.what;
        if (p.placeBar) {
            EXPECT_TRUE(p.barLeft == r.barLeft && p.barTop == r.barTop) << r.what << ": bar";
        }
    }
    state.workArea = {0, 0, 1280, 600};
    const Placement low = *dockFor(DisplayMode::Normal, {200, 50, 400, 800}, state);
    EXPECT_TRUE(low.panelTop == 0 && low.panelHeight == 600) << "a work area lower than the panel";
    state.workArea = {};
    EXPECT_EQ(dockFor(DisplayMode::Buttom3, {200, 100, 400, 500}, state)->panelLeft, -100) << "no work area known";
}
