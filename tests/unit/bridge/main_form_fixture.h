#pragma once
// A main window on the fake platform, loaded in a scratch program folder.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bridge/main_form.h"
#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_global_hot_key.h"
#include "platform/fake/fake_history_db.h"
#include "platform/fake/fake_platform.h"
#include "support/page_paths.h"
#include "support/temp_dir.h"

namespace tovlo::test {

// A panel that records what the main window and pages do to it.
class RecordingPanel : public Panel {
public:
    RecordingPanel(std::string className, std::unique_ptr<Form> form, std::vector<std::string>& log)
        : Panel(std::move(form)), className(std::move(className)), log_(log) {}
    void setProperty(const std::string& name, const std::string& value) override {
        log_.push_back(className + "." + name + "=" + value);
    }
    void callVb(const std::string& Text) override {
        log_.push_back(className + ":" + Text);
        if (onCommand) onCommand(Text);
    }
    std::string className;
    std::function<void(const std::string&)> onCommand;

private:
    std::vector<std::string>& log_;
};

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override;
    // Builds and loads the window; tests may change the folder and hooks first.
    void start(const std::string& commandLine = "");
    // Registers a recording panel under the class name.
    void offerPanel(const std::string& className);
    RecordingPanel* panelIn(const char* slot) { return static_cast<RecordingPanel*>(main->control(slot)); }

    FakeForm& window() { return *fake.forms.find("mainForm"); }
    FakeBrowserView& web() { return window().views["web"]; }
    FakeBrowserView& web2() { return window().views["Web2"]; }
    FakeBrowserView& web3() { return window().views["web3"]; }
    std::string serviceUrl(const std::string& path) const { return "http://svc" + path; }
    std::string file(const std::string& rel) const { return dir / rel; }
    std::string lastScript(FakeBrowserView& v) const { return v.scripts.empty() ? "" : v.scripts.back(); }

    TempDir dir;
    FakePlatform fake;
    FakeDesktop desktop;
    FakeGlobalHotKey hotKey;
    FakeHistoryDb historyDb;
    PanelFactory panels;
    std::unique_ptr<PublicParm> parm;
    std::unique_ptr<DebugForm> debug;
    std::unique_ptr<PluginRegistry> plugins;
    MainFormHooks hooks;
    std::unique_ptr<MainForm> main;
    std::vector<std::string> panelLog;
};

}  // namespace tovlo::test
