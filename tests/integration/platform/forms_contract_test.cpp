// What the program relies on of its forms, run against the fake forms and
// the Qt or Win32 ones alike: a window gets the style it asks for, and a control is
// reached only by a name its form declares (its groups and tab pages share
// the form's names; a panel has names of its own).
#include <gtest/gtest.h>

#include <stdexcept>

#include "contract_machines.h"

namespace tovlo::test {

template <class Machine>
class FormsContract : public ::testing::Test {
protected:
    Machine machine;
    Forms& forms() { return machine.forms; }
};

TYPED_TEST_SUITE(FormsContract, ContractMachines);

TYPED_TEST(FormsContract, AWindowGetsTheStyleItAsksFor) {
    const WindowStyle styles[] = {
        {},
        {.frameless = true, .topMost = true, .showsWithoutFocus = true},  // the face panel, the bar, the notice
        {.frameless = true, .showsWithoutFocus = true},                   // frameless, not top-most
        {.showsWithoutFocus = true},                                      // the update notice
        {.topMost = true},
    };
    for (const WindowStyle& style : styles) {
        auto form = this->forms().create(FormDescription("styled", style));
        const WindowStyle got = this->machine.styleOf(*form);
        EXPECT_EQ(got.frameless, style.frameless);
        EXPECT_EQ(got.topMost, style.topMost);
        EXPECT_EQ(got.showsWithoutFocus, style.showsWithoutFocus);
    }
}

TYPED_TEST(FormsContract, OnlyDeclaredControlsCanBeReached) {
    auto form = this->forms().create(FormDescription("declared")
                                         .labels({"Label1"})
                                         .buttons({"Command1"})
                                         .progressBars({"ProgressBar1"})
                                         .listBoxes({"List1"})
                                         .groups({"Frame1"})
                                         .tabs({"SSTab1"})
                                         .optionButtons({"Option1"})
                                         .frames({"Frame2"}));
    Form& f = *form;
    f.label("Label1").setText("a");
    EXPECT_EQ(f.label("Label1").text(), "a");
    f.button("Command1").setText("ok");
    f.progressBar("ProgressBar1").setValue(40);
    EXPECT_EQ(f.progressBar("ProgressBar1").value(), 40);
    f.listBox("List1").addItem("x");
    EXPECT_EQ(f.listBox("List1").count(), 1);

    EXPECT_THROW(f.label("Label2"), std::logic_error) << "never declared";
    EXPECT_THROW(f.label("Command1"), std::logic_error) << "declared as another kind of control";
    EXPECT_THROW(f.button("Label1"), std::logic_error);
    EXPECT_THROW(f.textBox("Text1"), std::logic_error);
    EXPECT_THROW(f.picture("Picture1"), std::logic_error);
    EXPECT_THROW(f.group("Frame9", "?"), std::logic_error);

    // A group and a tab page hold controls of the form.
    Form& group = f.group("Frame1", "选项");
    group.optionButton("Option1").setChecked(true);
    EXPECT_TRUE(group.optionButton("Option1").isChecked());
    EXPECT_THROW(group.optionButton("Option2"), std::logic_error);
    Form& page = f.tabPage("SSTab1", "基本配置");
    EXPECT_THROW(page.label("Label7"), std::logic_error);
    EXPECT_NO_THROW(page.label("Label1"));

    // A panel in a frame declares its own names, and the frame must be declared.
    auto panel = f.createPanel("Frame2", FormDescription("panel").labels({"Label9"}));
    EXPECT_NO_THROW(panel->label("Label9"));
    EXPECT_THROW(panel->label("Label1"), std::logic_error);
    EXPECT_THROW(f.createPanel("Frame3", FormDescription("other")), std::logic_error);
}

TYPED_TEST(FormsContract, ControlsKeepWhatTheyAreGiven) {
    auto form = this->forms().create(FormDescription("controls")
                                         .groups({"Frame1"})
                                         .optionButtons({"Option1", "Option2", "Option3"})
                                         .dropDownLists({"historyNub"})
                                         .listBoxes({"List1"})
                                         .textBoxes({"facePath_text"})
                                         .buttons({"Command1"}));
    Form& f = *form;
    // Option buttons make one choice per container.
    Form& group = f.group("Frame1", "开机运行");
    group.optionButton("Option1").setChecked(true);
    f.optionButton("Option3").setChecked(true);
    group.optionButton("Option2").setChecked(true);
    EXPECT_FALSE(group.optionButton("Option1").isChecked());
    EXPECT_TRUE(group.optionButton("Option2").isChecked());
    EXPECT_TRUE(f.optionButton("Option3").isChecked()) << "another container keeps its choice";
    group.optionButton("Option2").setChecked(false);
    EXPECT_FALSE(group.optionButton("Option2").isChecked());

    for (ListBox* list : {&f.dropDownList("historyNub"), &f.listBox("List1")}) {
        EXPECT_EQ(list->selectedIndex(), -1);
        for (const char* item : {"16", "20", "二十四"}) list->addItem(item);
        list->setSelectedIndex(2);
        EXPECT_EQ(list->count(), 3);
        EXPECT_EQ(list->item(2), "二十四");
        EXPECT_EQ(list->selectedIndex(), 2);
    }
    f.textBox("facePath_text").setText("D:\\表情\\");
    EXPECT_EQ(f.textBox("facePath_text").text(), "D:\\表情\\");
    f.button("Command1").setEnabled(false);
    EXPECT_FALSE(f.button("Command1").isEnabled());
}

TEST(FormDescription, ANameIsDeclaredOnce) {
    EXPECT_THROW(FormDescription("twice").labels({"Label1"}).buttons({"Label1"}), std::logic_error);
}

}  // namespace tovlo::test
