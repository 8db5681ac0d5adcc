// Pictures of the pages at the main window's size, for a person to look at:
// written to the folder named by TOVLO_SCREENSHOT_DIR when it is set. Each
// must show a rendered page, not an empty view.
#include <QImage>
#include <QSet>
#include <cstdlib>
#include <filesystem>

#include "face_files.h"
#include "page_fixture.h"

namespace tovlo::test {
namespace {

class Screenshots : public PageTest {
protected:
    // Grabs the view; saves it when asked; checks that a page was drawn.
    void shoot(const std::string& name) {
        settle(400);
        const QImage image = viewWidget("web")->grab().toImage();
        EXPECT_EQ(image.size(), QSize(kWidth, kHeight)) << name;
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 2)
            for (int x = 0; x < image.width(); x += 2) colours.insert(image.pixel(x, y));
        EXPECT_GT(colours.size(), 20) << name << " looks empty";
        if (const char* out = std::getenv("TOVLO_SCREENSHOT_DIR"))
            image.save(QString::fromStdString(std::string(out) + "/" + name + ".png"));
    }

    // A pack of 16 faces under dir/faces, with its page.
    std::string makePackFolder() {
        std::vector<PackFace> faces;
        for (int i = 0; i < 16; ++i)
            faces.push_back({i / 6 + 1, i % 6 + 1, i % 3 ? ".jpg" : ".gif", QColor::fromHsv(i * 22, 150, 250)});
        const int height = makePack(dir / "faces/开心果", faces);
        instantiate("templates/faceMain.html", dir / "faces/开心果/main.html",
                    {{"{{pathName}}", "开心果"}, {"{{cellDivHeight}}", std::to_string(height)}});
        writeBytes(dir / "faces/cell.gif", readBytes(programFile("w/cell.gif")));
        return dir / "faces";
    }
};

TEST_F(Screenshots, MainPageWithPackAndHistory) {
    const std::string faces = makePackFolder();
    show(programFile("w/main.html?v=1.2"));
    view->runScript("localStorage.clear(); setNullMain([{},{id:'kaomoji',name:'颜文字'}])");
    view->runScript("changeClass('hot','" + faces + "'); changeClass('开心果','" + faces + "')");
    ASSERT_TRUE(waitForPage("document.getElementById('packFrame').contentDocument.getElementById('sheet')"));
    ASSERT_TRUE(mouseMove(centreOf("document.getElementById('packFrame').contentDocument.getElementById('sheet')")));
    shoot("main-pack");
    // The selection the arrow keys move, after a click beside the faces.
    ASSERT_TRUE(mouseClick(centreOf("document.getElementById('packFrame').contentDocument.querySelector('header')")));
    ASSERT_TRUE(pressKeys({"Right", "Right", "Down"}));
    shoot("main-pack-keyboard");
    click("#btnPlus");
    shoot("main-plugins");
    view->runScript("history(); setHistoryImg(',||" + fileUrl(faces + "/开心果/1-2.jpg") + "||" +
                    fileUrl(faces + "/开心果/1-1.gif") + "')");
    shoot("main-history");
    view->runScript("localStorage.clear()");
    show(programFile("w/main.html?v=1.2"));
    shoot("main-empty");
}

TEST_F(Screenshots, ClassPage) {
    const std::string account = dir / "w/CustomFace/demo";
    std::string listing = "开心";
    for (int i = 1; i <= 14; ++i) {
        const std::string n = std::to_string(i);
        saveFace(drawFace(QColor::fromHsv(i * 25, 140, 245), 30), account + "/12/s_" + n + ".gif");
        listing += "||12/s_" + n + ".gif$$12/" + n + ".gif";
    }
    instantiate("templates/myFaceOneClass.html", account + "/12/2.html",
                {{"{{str}}", listing + "--2,5"},
                 {"{{path}}", fileUrl(account)},
                 {"{{userName}}", "demo"},
                 {"{{plus}}", "[{},{id:'kaomoji',name:'颜文字'}]"}});
    show(account + "/12/2.html");
    shoot("class-page");
}

TEST_F(Screenshots, PanelsAndSmallPages) {
    show(programFile("w/nullInte.html"));
    view->runScript("df()");
    shoot("null-offline");
    show(programFile("w/needLogin.html"));
    shoot("need-login");
    show(programFile("w/addFaceErr.html"));
    shoot("add-face-error");
    const std::string account = dir / "w/CustomFace/demo";
    writeBytes(account + "/myClass.js",
               codec.utf8ToAnsi("var classList=[{id:'12',name:'开心'},{id:'13',name:'工作'}];"));
    writeBytes(account + "/addFace.html", readBytes(programFile("templates/addFace.html")));
    saveFace(drawFace(QColor(240, 160, 60), 90), dir / "qq/pic.gif");
    show(account + "/addFace.html");
    view->runScript("view('" + (dir / "qq/pic.gif") + "');start(13)");
    shoot("add-face");
    show(programFile("w/QQShow.html"));
    shoot("qq-show");
    for (const auto& entry : std::filesystem::directory_iterator(programFile("plus")))
        if (std::filesystem::exists(entry.path() / "main.html")) show((entry.path() / "main.html").string());
    shoot("plugin");
}

}  // namespace
}  // namespace tovlo::test
