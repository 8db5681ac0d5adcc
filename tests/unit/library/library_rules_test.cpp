// The small rules the panels share: cell names, percentages, placeholders.
#include <gtest/gtest.h>

#include "library/face_sheet.h"
#include "library/library_helpers.h"

namespace tovlo::test {

TEST(LibraryRules, CellsComeFromRowColumnNames) {
    EXPECT_EQ(faceCell("2-5.gif"), (std::pair{2, 5}));
    EXPECT_EQ(faceCell("12-5.jpg"), (std::pair{12, 5}));
    EXPECT_EQ(faceCell("3-14.bmp"), (std::pair{3, 14}));
    for (const char* bad :
         {"A.GIF", "2-5.GIF", "x.gif", "a-1.gif", "1-.gif", "-1.gif", "0-1.gif", "1-2-3.gif", "2-5.png", "12345-1.gif"})
        EXPECT_FALSE(faceCell(bad)) << bad;
}

TEST(LibraryRules, PackImagesAreChosenByExtensionInAnyCase) {
    EXPECT_TRUE(isPackImage("A.GIF"));
    EXPECT_TRUE(isPackImage("1-1.Jpg"));
    EXPECT_TRUE(isPackImage("x.bmp.txt")) << "the extension may stand anywhere in the name";
    EXPECT_FALSE(isPackImage("small.bmp"));
    EXPECT_TRUE(isPackImage("Small.bmp"));
    EXPECT_FALSE(isPackImage("tempFace.1.gif"));
    EXPECT_FALSE(isPackImage("ver-3.txt"));
    EXPECT_EQ(sheetRows(0), 1);
    EXPECT_EQ(sheetRows(5), 1);
    EXPECT_EQ(sheetRows(6), 2) << "a full last row gets an empty one after it";
}

TEST(LibraryRules, PercentagesHoldLargeCounts) {
    EXPECT_EQ(percentOf(400, 400), 100);
    EXPECT_EQ(percentOf(350, 400), 88);
    EXPECT_EQ(percentOf(30000, 32767), 92);
    EXPECT_EQ(percentOf(3, 0), 0);
    EXPECT_EQ(percentOf(12, 10), 100);
}

TEST(LibraryRules, PlaceholdersAreReplacedInOrder) {
    EXPECT_EQ(fillPlaceholders("{{a}}-{{b}}-{{a}}-{{c}}", {{"{{a}}", "x{{b}}"}, {"{{b}}", "y{{a}}"}}),
              "xy{{a}}-y{{a}}-xy{{a}}-{{c}}")
        << "a value holding a later placeholder is replaced too, an earlier one stays";
}

}  // namespace tovlo::test
