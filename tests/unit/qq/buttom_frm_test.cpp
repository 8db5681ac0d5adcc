#include <gtest/gtest.h>

#include "platform/fake/fake_forms.h"
#include "qq/buttom_frm.h"
#include "support/temp_dir.h"

using namespace tovlo;

TEST(ButtomFrm, BlueKeyedClickFlipsBeforeToggleHoverLoadsPicture) {
    FakeForms forms;
    std::vector<bool> openAtToggle;
    ButtomFrm bar{forms, test::nativePath("/opt/Tovlo"), [&] { openAtToggle.push_back(bar.isOpen()); }};
    FakeForm& form = *forms.find("ButtomFrm");
    EXPECT_EQ(&form, &bar.form());
    EXPECT_EQ(form.transparentColour, 0x0000FF) << "pure blue, as 0xRRGGBB";
    EXPECT_EQ(form.rect, (Rect{0, 0, 65, 43}));
    EXPECT_FALSE(bar.isOpen());
    EXPECT_EQ(form.pictures["Image1"].loads, (std::vector<std::string>{test::nativePath("/opt/Tovlo/w/btn1.jpg")}))
        << "the button shows its picture from the start";

    form.pictures["Image1"].click();
    form.pictures["Picture1"].click();
    form.pictures["Image1"].click();
    EXPECT_EQ(openAtToggle, (std::vector<bool>{true, false, true}));

    form.pictures["Picture1"].mouseMove();
    form.pictures["Image1"].mouseMove();
    form.pictures["Image1"].mouseMove();
    EXPECT_TRUE(form.pictures["Picture1"].loads.empty());
    EXPECT_EQ(form.pictures["Image1"].loads, (std::vector<std::string>(3, test::nativePath("/opt/Tovlo/w/btn1.jpg"))));
    EXPECT_EQ(openAtToggle.size(), 3u) << "moving the mouse toggles nothing";
}
