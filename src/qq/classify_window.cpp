#include "classify_window.h"

#include <array>

namespace tovlo {

namespace {

// Titles of QQ's own windows that share the chat windows' class: main
// panels, managers, settings, profiles, prompts, and anything holding an
// ASCII parenthesis.
constexpr std::array<std::string_view, 14> kIgnoreMarks = {
    "QQ2009",     "QQ2010",   "消息管理器", "查找联系人/群/企业", "系统设置", "腾讯网迷你首页", "在线安装",
    "界面管理器", "我的资料", "消息盒子",   "今日要闻",           "的资料",   "关闭提示",       "(",
};

// "The contact is typing" and "chatting with".
constexpr std::array<std::string_view, 2> kChattingMarks = {"正在输入", "交谈中"};

// Group chats: a full-width hyphen, one space, then the kind of group.
constexpr std::array<std::string_view, 3> kGroupMarks = {"－ 群", "－ 高级群", "－ 超级群"};

template <std::size_t N>
bool containsAny(std::string_view title, const std::array<std::string_view, N>& marks) {
    for (std::string_view mark : marks)
        if (title.find(mark) != std::string_view::npos) return true;
    return false;
}

}  // namespace

ChatFlags classifyWindow(std::string_view className, std::string_view title) {
    ChatFlags f;
    if (className == kQQWindowClass && !title.empty() && title != "TXFloatingWnd" && !containsAny(title, kIgnoreMarks))
        f.is09 = true;
    if (containsAny(title, kChattingMarks)) f = ChatFlags{.is09 = false, .is08 = true, .isQun = false};
    if (containsAny(title, kGroupMarks)) f = ChatFlags{.is09 = false, .is08 = true, .isQun = true};
    return f;
}

}  // namespace tovlo
