#include <gtest/gtest.h>

#include <string>

#include "platform/fake/fake_desktop.h"
#include "qq/classify_window.h"
#include "qq/window_text.h"

using namespace tovlo;

TEST(ClassifyWindow, ClassRuleTitleFilterAndTitleMarks) {
    const ChatFlags none{}, byClass{.is09 = true}, byTitle{.is08 = true}, group{.is08 = true, .isQun = true};
    const struct {
        const char* className;
        const char* title;
        ChatFlags expected;
    } cases[] = {
        {"TXGuiFoundation", "张三", byClass},
        {"txguifoundation", "张三", none},
        {"Notepad", "张三", none},
        {"TXGuiFoundation", "", none},
        {"TXGuiFoundation", "TXFloatingWnd", none},
        {"TXGuiFoundation", "TXFloatingWnd2", byClass},  // only the exact title is ignored
        {"TXGuiFoundation", "QQ2010", none},
        {"TXGuiFoundation", "张三的资料", none},
        {"TXGuiFoundation", "张三(123456)", none},
        {"TXGuiFoundation", "张三（123456）", byClass},  // full-width parentheses are no mark
        {"TXGuiFoundation", "查找联系人/群/企业", none},
        {"TXGuiFoundation", "qq2010", byClass},  // marks are case-sensitive
        {"Anything", "与 张三 交谈中", byTitle},
        {"TXGuiFoundation", "QQ2010 正在输入", byTitle},  // filtered by class, found by title
        {"", "表情爱好者 － 高级群", group},
        {"Other", "表情爱好者 － 超级群", group},
        {"TXGuiFoundation", "表情(2) － 群 交谈中", group},  // the group mark is applied last
        {"TXGuiFoundation", "表情爱好者 －群", byClass},     // no space after the hyphen: no group mark
        {"Other", "表情爱好者 - 群", none},                  // ASCII hyphen
    };
    for (const auto& c : cases)
        EXPECT_EQ(classifyWindow(c.className, c.title), c.expected) << c.className << " / " << c.title;
}

TEST(WindowText, TitleCutAt254CharactersClassAtItsNul) {
    FakeDesktop desktop;
    std::string chinese;
    for (int i = 0; i < 300; ++i) chinese += "群";  // 3 bytes each
    desktop.addWindow(1, std::string("TXGuiFoundation\0junk", 20), chinese, {});
    desktop.addWindow(2, "c", std::string(255, 'a'), {});
    EXPECT_EQ(getWindowTitle(desktop, 1), chinese.substr(0, 254 * 3));
    EXPECT_EQ(getWindowTitle(desktop, 2), std::string(254, 'a'));
    EXPECT_EQ(getWindowClass(desktop, 1), "TXGuiFoundation");
    EXPECT_EQ(getWindowTitle(desktop, 99), "") << "a dead window";
    EXPECT_EQ(getWindowClass(desktop, 99), "");
}
