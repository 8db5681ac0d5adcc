// Pack processing: which files are listed and drawn where, the sheet, the page.
#include <filesystem>

#include "library/public_face_process.h"
#include "library_fixture.h"

namespace tovlo::test {

namespace fs = std::filesystem;

class PackProcessTest : public LibraryTest {
protected:
    void SetUp() override {
        LibraryTest::SetUp();
        writeBytes(dir / "templates/faceMain.html", "<t>{{pathName}}</t><h>{{cellDivHeight}}</h>{{pathName}}");
        startLibrary();
    }
    void put(const std::string& name, const std::string& bytes) { writeBytes(dir / ("w/hot/" + name), bytes); }
    PublicFaceProcess* process(const std::string& pack) {
        main->loadUserControl("PublicFaceProcess");
        main->control(MainForm::kSlot)->setProperty("PPath", pack);
        return panel<PublicFaceProcess>();
    }
    std::string sheet() { return readBytes(dir / "w/hot/small.bmp"); }
};

TEST_F(PackProcessTest, FacesAreDrawnIntoTheirCellsAndOddFilesSkipped) {
    put("1-1.gif", FakeImages::imageFile(60, 20));
    put("1-6.jpg", FakeImages::imageFile(30, 30));
    put("2-3.bmp", FakeImages::imageFile(48, 48));
    put("A.GIF", FakeImages::imageFile(30, 30));  // listed, not drawn
    put("1-2.gif", "not an image");               // listed, cannot be decoded
    put("x.gif", FakeImages::imageFile(30, 30));  // listed, not of the row-column format
    put("tempFace.1.gif", FakeImages::imageFile(30, 30));
    put("small.bmp", "old sheet");
    put("main.html", "old page");
    put("ver-3.txt", "3");
    auto* p = process("hot");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(panelForm("PublicFaceProcess")->labels["Label1"].value, "表情处理中.....");
    fake.loop.advance(499);
    EXPECT_TRUE(images.loads.empty());
    fake.loop.advance(1);
    EXPECT_EQ(panelForm("PublicFaceProcess")->lists["List1"].items,
              (std::vector<std::string>{"1-1.gif", "1-2.gif", "1-6.jpg", "2-3.bmp", "A.GIF", "x.gif"}));
    EXPECT_EQ(p->faceCount(), 2) << "six listed files make two rows";
    EXPECT_EQ(images.sheetWidth, 180);
    EXPECT_EQ(images.sheetHeight, 60);
    EXPECT_EQ(images.background, 0xFFFFFFu);
    ASSERT_EQ(images.draws.size(), 3u);
    EXPECT_EQ(images.draws[0].target, (Rect{0, 0, 30, 30})) << "a 60 x 20 image is stretched to its cell";
    EXPECT_EQ(images.draws[1].target, (Rect{150, 0, 30, 30}));
    EXPECT_EQ(images.draws[2].target, (Rect{60, 30, 30, 30}));
    EXPECT_EQ(panelForm("PublicFaceProcess")->labels["Label1"].value, "处理完毕！");
    EXPECT_EQ(panelForm("PublicFaceProcess")->bars["ProgressBar1"].percent, 100);
    EXPECT_TRUE(sheet().starts_with("BMP 180x60\n"));
    EXPECT_EQ(readBytes(dir / "w/hot/main.html"), "<t>hot</t><h>60</h>hot");
    EXPECT_TRUE(web().scripts.empty());
    fake.loop.advance(100);
    EXPECT_EQ(lastScript(web()), "changeClass('hot','" + slashed(dir / "w") + "')");
    EXPECT_FALSE(web2().visible);
    EXPECT_EQ(main->control(MainForm::kSlot), nullptr);
}

TEST_F(PackProcessTest, AnEmptyPackStillGetsItsPage) {
    fs::create_directories(dir / "w/hot");
    process("hot");
    fake.loop.advance(600);
    EXPECT_EQ(images.sheetHeight, 30);
    EXPECT_TRUE(images.draws.empty());
    EXPECT_EQ(readBytes(dir / "w/hot/main.html"), "<t>hot</t><h>30</h>hot");
    EXPECT_EQ(lastScript(web()), "changeClass('hot','" + slashed(dir / "w") + "')");
}

TEST_F(PackProcessTest, ActionsDecideHowThePanelEnds) {
    fs::create_directories(dir / "w/hot");
    process("hot")->setAction("deleteFace");
    fake.loop.advance(600);
    EXPECT_TRUE(web().scripts.empty());
    EXPECT_EQ(main->control(MainForm::kSlot), nullptr);

    process("hot")->setAction("other");
    fake.loop.advance(600);
    EXPECT_NE(main->control(MainForm::kSlot), nullptr) << "any other action keeps the panel";
    EXPECT_TRUE(fs::exists(dir / "w/hot/main.html"));
}

TEST_F(PackProcessTest, FailuresStillEndThePanel) {
    put("1-1.gif", FakeImages::imageFile(30, 30));
    images.failSave = true;
    web().missingFunctions.insert("changeClass");
    process("hot");
    fake.loop.advance(600);
    EXPECT_EQ(main->control(MainForm::kSlot), nullptr) << "no sheet and no page function, yet no hang";
    EXPECT_FALSE(fs::exists(dir / "w/hot/small.bmp"));
    EXPECT_THROW(process(".."), TovloError);
}

}  // namespace tovlo::test
