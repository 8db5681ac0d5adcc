// A pack page made from templates/faceMain.html: already in the form that
// start-up's patch produces, hover preview with the JPEG fallback, and the
// insertion of a face when the page is the top page.
#include "core/startup.h"
#include "face_files.h"
#include "page_fixture.h"

namespace tovlo::test {
namespace {

class PackPage : public PageTest {
protected:
    void SetUp() override {
        PageTest::SetUp();
        folder = dir / "faces/hot";
        // Nine faces: row 1 full, row 2 up to column 3; GIFs and JPEGs.
        std::vector<PackFace> faces;
        for (int i = 0; i < 9; ++i)
            faces.push_back({i / 6 + 1, i % 6 + 1, i % 2 ? ".jpg" : ".gif", QColor::fromHsv(i * 30, 160, 240)});
        faces[0].colour = QColor(255, 200, 40);
        height = makePack(folder, faces);
        instantiate("templates/faceMain.html", folder + "/main.html",
                    {{"{{pathName}}", "hot"}, {"{{cellDivHeight}}", std::to_string(height)}});
        // A face folder holds the cell marker beside its packs.
        writeBytes(dir / "faces/cell.gif", readBytes(programFile("w/cell.gif")));
    }

    // The centre of a cell of the sheet, in view coordinates.
    QPoint cellCentre(int row, int column) {
        const QPoint sheet = centreOf("document.getElementById('sheet')");
        return {sheet.x() - 90 + (column - 1) * 30 + 15, sheet.y() - height / 2 + (row - 1) * 30 + 15};
    }

    std::string folder;
    int height = 0;
};

TEST_F(PackPage, TemplateHoldsItsPlaceholdersInThePatchedForm) {
    const std::string text = readBytes(programFile("templates/faceMain.html"));
    EXPECT_NE(text.find("{{pathName}}"), std::string::npos);
    EXPECT_NE(text.find("{{cellDivHeight}}"), std::string::npos);
    EXPECT_NE(text.find("showImg(src,x,y)"), std::string::npos);
    EXPECT_NE(text.find("+\"/\"+y+\"-\"+x+\".gif\",e.offsetX+20,e.offsetY+113)"), std::string::npos);
}

TEST_F(PackPage, StartUpPatchLeavesAGeneratedPageUnchanged) {
    const std::string before = readBytes(folder + "/main.html");
    ASSERT_EQ(height, 60);
    ASSERT_NE(before.find("height:60px"), std::string::npos);
    patchMainPage(folder, "hot");
    EXPECT_EQ(readBytes(folder + "/main.html"), before);
}

TEST_F(PackPage, HoverMarksTheCellAndPreviewsTheFaceFallingBackToJpeg) {
    show(folder + "/main.html");
    expectFunctions({"showImg"});
    EXPECT_TRUE(
        holds("document.getElementById('marker').complete &&"
              " document.getElementById('marker').naturalWidth === 30"))
        << "cell.gif is not found beside the pack folder";

    ASSERT_TRUE(mouseMove(cellCentre(1, 2)));
    ASSERT_TRUE(waitForPage("!document.getElementById('preview').hidden"));
    EXPECT_EQ(
        evaluate("document.getElementById('marker').style.left + ',' + document.getElementById('marker').style.top"),
        "30px,0px");
    EXPECT_EQ(evaluate("document.getElementById('previewImg').src"), fileUrl(folder + "/1-2.jpg"));

    ASSERT_TRUE(mouseMove(cellCentre(2, 3)));
    ASSERT_TRUE(waitForPage("document.getElementById('previewImg').src === " + jsString(fileUrl(folder + "/2-3.gif")) +
                            " && !document.getElementById('preview').hidden"));
    // The preview stays inside the page.
    EXPECT_TRUE(
        holds("(function (r) { return r.left >= 0 && r.right <= innerWidth && r.top >= 0; })"
              "(document.getElementById('preview').getBoundingClientRect())"));

    // An empty cell shows no preview.
    ASSERT_TRUE(mouseMove(cellCentre(2, 6)));
    ASSERT_TRUE(
        waitForPage("document.getElementById('preview').hidden &&"
                    " document.getElementById('marker').style.left === '150px'"));
}

TEST_F(PackPage, ClickedFaceIsCopiedAndInsertedWhenThePageIsOnTop) {
    show(folder + "/main.html");
    clearClipboard();
    ASSERT_TRUE(mouseClick(cellCentre(1, 1)));
    ASSERT_TRUE(waitForCall("web", "inputFaceAndHistory||" + fileUrl(folder + "/1-1.gif")));
    EXPECT_TRUE(similar(clipboardImage().pixelColor(24, 24), QColor(255, 200, 40)));

    // An empty cell inserts nothing.
    calls.clear();
    ASSERT_TRUE(mouseClick(cellCentre(2, 5)));
    settle(500);
    EXPECT_TRUE(textsOf("web").empty());
}

TEST_F(PackPage, KeyboardMovesTheMarkAndSendsTheFace) {
    show(folder + "/main.html");
    ASSERT_TRUE(mouseClick(cellCentre(2, 6)));  // focuses the sheet; an empty cell
    ASSERT_TRUE(pressKeys({"Up", "Left", "Left", "Left", "Left"}));
    ASSERT_TRUE(
        waitForPage("document.getElementById('marker').style.left === '30px' &&"
                    " document.getElementById('marker').style.top === '0px'"));
    calls.clear();
    ASSERT_TRUE(pressKeys({"Return"}));
    ASSERT_TRUE(waitForCall("web", "inputFaceAndHistory||" + fileUrl(folder + "/1-2.jpg")));
}

}  // namespace
}  // namespace tovlo::test
