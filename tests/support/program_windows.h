#pragma once
// The program's own windows, made by its own code on a toolkit's real
// forms, everything else fake: what the native windows tests of each
// platform show and look at.
#include <functional>
#include <memory>
#include <string>

#include "bridge/about_form.h"
#include "bridge/panel_factory.h"
#include "bridge/panel_host.h"
#include "core/debug_form.h"
#include "library/library_deps.h"
#include "platform/fake/fake_async_url_read.h"
#include "platform/fake/fake_auto_start.h"
#include "platform/fake/fake_browser_view.h"
#include "platform/fake/fake_clipboard.h"
#include "platform/fake/fake_folder_dialog.h"
#include "platform/fake/fake_images.h"
#include "platform/fake/fake_platform.h"
#include "platform/fake/fake_tcp_client.h"
#include "plugins/plugin_registry.h"
#include "settings/config_form.h"
#include "settings/copy_face.h"
#include "support/temp_dir.h"
#include "update/need_update.h"
#include "updater/updater_form.h"
#include "upload/upload_deps.h"

namespace tovlo::test {

// The main window as far as a panel shown in it needs one.
class IdleHost : public PanelHost {
public:
    explicit IdleHost(PublicParm& parm) : session_(parm) {}
    void loadUserControl(const std::string&) override {}
    void loadUserControl2(const std::string&) override {}
    Panel* control(const std::string&) override { return nullptr; }
    void exitControl() override {}
    void exitDownMyFace(const std::string&, const std::string&) override {}
    void exitDownPublicFace(const std::string&) override {}
    void exitProcessFace() override {}
    void exitAddFaceOverAlert() override {}
    void exitPlusControl() override {}
    BrowserView& web3() override { return web3_; }
    const std::string& web3Tag() const override { return tag_; }
    void showMyOneClassFaces(const std::string&, const std::string&) override {}
    void showClass(const std::string&) override {}
    void connectPage(BrowserView&, bool) override {}
    void pauseTracking() override {}
    void resumeTracking() override {}
    void showWindow() override {}
    void hideWindow() override {}
    void showFocused() override {}
    void inputFace(const std::string&, bool) override {}
    void showMySelect() override {}
    Session& session() override { return session_; }

private:
    Session session_;
    FakeBrowserView web3_;
    std::string tag_;
};

struct ProgramWindows {
    explicit ProgramWindows(Forms& forms) : forms(forms) {
        parm.ver = "1.2";
        parm.facePath = dir.path() + "/w";
        parm.historyNub = "16";
        parm.ini.setINIFileName(dir.path() + "/config.ini");
        parm.ini.WriteIniKey("application", "ver", "1.2");
        registerLibraryPanels(panels, {platform, parm, debug, plugins, network, images});
        registerUploadPanels(panels, {platform, parm, debug, clipboard, connections});
    }

    // The main window with its panel area holding a panel of the class.
    Form& panel(const std::string& className, const std::function<void(Panel&)>& fill = {}) {
        shown.reset();  // a panel goes before the window that holds it
        host = forms.create(FormDescription("mainForm").frames({"Frame1"}));
        // On the screen whole at 200 % as well (1280 x 1024 pixels).
        host->setGeometry({200, 10, 360, 460});
        Frame& frame = host->frame("Frame1");
        frame.setGeometry({6, 32, 347, 420});
        frame.setVisible(true);
        shown = panels.create(className, idleHost, host->createPanel("Frame1", panels.formDescription(className)));
        if (fill) fill(*shown);
        shown->form().show();
        host->show();
        return *host;
    }

    Forms& forms;
    TempDir dir;
    FakePlatform fake;
    Platform platform{fake.loop, fake.fetch, fake.codec, fake.messages, fake.processes, forms, fake.tray};
    PublicParm parm{dir.path(), fake.codec};
    DebugForm debug{fake.platform};
    PluginRegistry plugins{fake.codec, dir.path()};
    FakeNetwork network{fake.loop};
    FakeImages images;
    FakeClipboard clipboard;
    FakeTcpClients connections;
    FakeFolderDialog folders;
    FakeAutoStart autoStart;
    PanelFactory panels;
    IdleHost idleHost{parm};
    std::unique_ptr<Form> host;
    std::unique_ptr<Panel> shown;
};

}  // namespace tovlo::test
