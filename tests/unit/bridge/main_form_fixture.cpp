#include "main_form_fixture.h"

#include <filesystem>

namespace tovlo::test {

void MainFormTest::SetUp() {
    for (const char* d : {"w/CustomFace", "temp", "templates", "plus"}) std::filesystem::create_directories(dir / d);
    writeBytes(dir / "config.ini",
               "[application]\r\nname=Tovlo\r\nver=1.2\r\nserviceHost=svc\r\n[run]\r\nupdateFaseMainhtml=1\r\n"
               "showModel=normal\r\n");
    writeBytes(dir / "templates/addFace.html", "<html>add face</html>");
}

void MainFormTest::start(const std::string& commandLine) {
    parm = std::make_unique<PublicParm>(dir.path(), fake.codec);
    debug = std::make_unique<DebugForm>(fake.platform);
    plugins = std::make_unique<PluginRegistry>(fake.codec, dir.path());
    main = std::make_unique<MainForm>(
        MainForm::Deps{fake.platform, *parm, *debug, desktop, historyDb, panels, *plugins, &hotKey}, hooks);
    main->load(commandLine);
}

void MainFormTest::offerPanel(const std::string& className) {
    panels.registerPanel(className, FormDescription(className),
                         [this, className](PanelHost&, std::unique_ptr<Form> form) {
                             return std::make_unique<RecordingPanel>(className, std::move(form), panelLog);
                         });
}

}  // namespace tovlo::test
