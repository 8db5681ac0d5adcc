// The files themselves: every page is GBK and says so (and asks the
// browser control for its newest mode), the copies of the
// clipboard function agree, and the drawn pictures have their sizes and colours.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "page_fixture.h"

namespace tovlo::test {
namespace {

// The pages of w/, the templates and the plug-ins' pages.
std::vector<std::string> shippedPages() {
    namespace fs = std::filesystem;
    std::vector<std::string> pages;
    for (const char* folder : {"w", "templates"})
        for (const auto& entry : fs::directory_iterator(programFile(folder)))
            if (entry.path().extension() == ".html") pages.push_back(entry.path().string());
    for (const auto& plugin : fs::directory_iterator(programFile("plus")))
        if (fs::exists(plugin.path() / "main.html")) pages.push_back((plugin.path() / "main.html").string());
    return pages;
}

// The text of the page's function, from its header line up to the line that
// closes it; empty when the page has none.
std::string functionText(const std::string& text, const std::string& header) {
    const size_t start = text.find(header);
    if (start == std::string::npos) return "";
    const size_t end = text.find("\n}\n", start);
    return end == std::string::npos ? "" : text.substr(start, end - start);
}

TEST(ShippedFiles, EveryPageIsGbkAndDeclaresIt) {
    const std::vector<std::string> pages = shippedPages();
    EXPECT_GE(pages.size(), 9u);
    IconvCodec codec;
    for (const std::string& page : pages) {
        const std::string bytes = readBytes(page);
        EXPECT_NE(bytes.find("<meta charset=\"gbk\">"), std::string::npos) << page;
        // The browser control shows it in its newest mode.
        EXPECT_NE(bytes.find("<meta http-equiv=\"X-UA-Compatible\" content=\"IE=edge\">"), std::string::npos) << page;
        const std::string text = codec.ansiToUtf8(bytes);
        EXPECT_EQ(text.find("\xEF\xBF\xBD"), std::string::npos) << page << " holds bytes that are not GBK";
        EXPECT_EQ(codec.utf8ToAnsi(text), bytes) << page;
    }
}

// Pages are self-contained, so the pages that insert faces or show local
// pictures each carry a copy of these functions; the copies must not drift.
TEST(ShippedFiles, PagesShareOneCopyOfEachHelper) {
    const std::vector<std::pair<std::string, int>> helpers = {
        // the pages inserting faces: main, the pack page, the class page, the plug-in
        {"function copyFace(url, done) {", 4},
        // every page that calls the program
        {"function callHost(webName, text, done) {", 9},
        // the pages turning native paths into URLs: main, add-face, its error page, the plug-in
        {"function fileUrl(path) {", 4}};
    for (const auto& [header, expectedCopies] : helpers) {
        const std::string reference = functionText(readBytes(programFile("w/main.html")), header);
        ASSERT_FALSE(reference.empty()) << header;
        int copies = 0;
        for (const std::string& page : shippedPages()) {
            const std::string text = functionText(readBytes(page), header);
            if (text.empty()) continue;
            ++copies;
            EXPECT_EQ(text, reference) << header << " in " << page;
        }
        EXPECT_EQ(copies, expectedCopies) << header;
    }
}

TEST(ShippedFiles, BarButtonAvoidsTheTransparentBlue) {
    const QImage button(QString::fromStdString(programFile("w/btn1.jpg")));
    ASSERT_EQ(button.size(), QSize(65, 43));
    int blueish = 0;
    for (int y = 0; y < button.height(); ++y)
        for (int x = 0; x < button.width(); ++x) {
            const QColor c = button.pixelColor(x, y);
            if (c.blue() > 200 && c.red() < 60 && c.green() < 60) ++blueish;
        }
    EXPECT_EQ(blueish, 0);
}

TEST(ShippedFiles, CellMarkerIsAFrameOfThirtyPixels) {
    const QImage cell(QString::fromStdString(programFile("w/cell.gif")));
    ASSERT_EQ(cell.size(), QSize(30, 30));
    EXPECT_EQ(cell.pixelColor(15, 15).alpha(), 0);   // the face shows through
    EXPECT_EQ(cell.pixelColor(15, 1).alpha(), 255);  // the frame
    EXPECT_EQ(cell.pixelColor(1, 15).alpha(), 255);
}

}  // namespace
}  // namespace tovlo::test
