#pragma once
// Recording fakes of the small facilities: URL fetch, message boxes,
// processes, tray icon.
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/commands.h"
#include "platform/message_box.h"
#include "platform/nested_wait.h"
#include "platform/processes.h"
#include "platform/tray_icon.h"
#include "platform/url_fetch.h"

namespace tovlo {

class FakeUrlFetch : public UrlFetch {
public:
    bool fetchToFile(const std::string& url, const std::string& path) override;
    std::optional<std::string> fetchBytes(const std::string& url) override;

    // Answers by URL; a URL without an answer fails. `handler`, when set,
    // answers first (return nothing to fall back to the table).
    std::map<std::string, std::string> answers;
    std::function<std::optional<std::string>(const std::string& url)> handler;
    std::vector<std::string> requests;
};

class FakeMessageBox : public MessageBox {
public:
    struct Shown {
        std::string text, title;
        MessageIcon icon;
    };
    void show(const std::string& text, const std::string& title, MessageIcon icon) override {
        shown.push_back({text, title, icon});
        // A modal box runs events until it is answered.
        NestedWaits::Scope nested;
        if (onShow) onShow(text);
    }
    std::vector<Shown> shown;
    std::function<void(const std::string&)> onShow;
};

class FakeProcesses : public Processes {
public:
    struct Started {
        std::string program, argument;
    };
    bool startDetached(const std::string& program, const std::string& argument) override {
        started.push_back({program, argument});
        return canStart;
    }
    bool runAndWait(const std::string& program, const std::string& argument) override {
        started.push_back({program, argument});
        NestedWaits::Scope nested;
        if (canStart && whileRunning) whileRunning(program, argument);
        return canStart;
    }
    bool openUrl(const std::string& url) override {
        opened.push_back(url);
        return canStart;
    }
    // What the waited-for program does before it ends.
    std::function<void(const std::string& program, const std::string& argument)> whileRunning;
    std::vector<Started> started;
    std::vector<std::string> opened;
    bool canStart = true;
};

class FakeTrayIcon : public TrayIcon {
public:
    void setToolTip(const std::string& tip) override { toolTip = tip; }
    void setVisible(bool v) override { visible = v; }
    void showBalloon(const std::string& title, const std::string& text) override {
        balloons.push_back(title + "|" + text);
    }
    void popupMenu(const std::vector<std::string>& items, std::function<void(int)> chosen) override {
        menuItems = items;
        menuChosen = std::move(chosen);
    }
    // The user's choice in the menu; the click on the icon that opened it
    // (onMenuRequest) has ended by then.
    void choose(int index) {
        auto chosen = menuChosen;
        if (chosen) events_.deliver([chosen, index] { chosen(index); });
    }
    std::string toolTip;
    bool visible = false;
    std::vector<std::string> balloons;
    std::vector<std::string> menuItems;
    std::function<void(int)> menuChosen;

private:
    EventSource events_;
};

}  // namespace tovlo
