// What the face sheet relies on of still images, run on every real
// implementation (QImage, and GDI+ in the Windows build; contract_machines.h
// of each build says which): the pack's formats decode from UTF-8 paths,
// nothing else does, and a pack's sheet stretches each face into its cell.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "contract_machines.h"
#include "library/face_sheet.h"
#include "support/image_samples.h"
#include "support/temp_dir.h"

namespace tovlo::test {

template <class Machine>
class ImagesContract : public ::testing::Test {
protected:
    Machine machine;
    TempDir dir;
};

TYPED_TEST_SUITE(ImagesContract, ImageMachines);

TYPED_TEST(ImagesContract, LoadsPackFormatsAndRefusesOthers) {
    // No bytes: no file. 0 x 0: nothing loads.
    const std::tuple<std::string, std::string, int, int> cases[] = {
        {"2-1.gif", kTwoFrameGif, 48, 16},  // animated
        {"经典笑脸/笑脸.gif", kTwoFrameGif, 48, 16},
        {"a.jpg", kGreenJpeg, 10, 40},
        {"a.bmp", bmpFile(7, 9, 0x0000FF), 7, 9},
        {"a.png", kMagentaPng, 5, 3},
        {"bad.gif", "GIF89a but nothing more", 0, 0},
        {"none.gif", "", 0, 0},
    };
    for (const auto& [name, bytes, width, height] : cases) {
        if (!bytes.empty()) writeBytes(this->dir / name, bytes);
        auto image = this->machine.images.load(this->dir / name);
        EXPECT_EQ(image ? std::pair(image->width(), image->height()) : std::pair(0, 0), std::pair(width, height))
            << name;
    }
}

TYPED_TEST(ImagesContract, TheSheetStretchesEachFaceIntoItsCell) {
    const TempDir& dir = this->dir;
    writeBytes(dir / "1-1.gif", "broken");
    writeBytes(dir / "1-2.bmp", bmpFile(60, 20, 0xFF0000));
    writeBytes(dir / "2-1.gif", kTwoFrameGif);
    writeBytes(dir / "2-6.jpg", kGreenJpeg);
    writeBytes(dir / "small.bmp", "the old sheet");
    const std::vector<std::string> names{"1-1.gif", "1-2.bmp", "2-1.gif", "2-6.jpg", "A.GIF", "x.gif", "q.gif"};
    SheetResult result = buildFaceSheet(this->machine.images, dir.path(), names, dir / "small.bmp");
    EXPECT_EQ(result.rows, 2);
    EXPECT_EQ(result.drawn, 3) << "undecodable and oddly named files are skipped";
    const std::string sheet = readBytes(dir / "small.bmp");
    ASSERT_EQ(sheet.substr(0, 2), "BM");
    ASSERT_EQ(bmpSize(sheet), std::pair(180, 60));
    ASSERT_EQ(littleEndianAt(sheet, 28, 2), 24u) << "bits a pixel";
    const std::tuple<int, int, std::uint32_t> pixels[] = {
        {30, 0, 0xFF0000},   {59, 29, 0xFF0000},  {45, 15, 0xFF0000},  // edge to edge
        {29, 15, 0xFFFFFF},                                            // the cell of the broken face
        {60, 15, 0xFFFFFF},  {149, 45, 0xFFFFFF},                      // beside a face
        {0, 30, 0x0000FF},   {29, 59, 0x0000FF},                       // an animation's first frame
        {165, 45, 0x00FF00},                                           // a JPEG
    };
    for (const auto& [x, y, rgb] : pixels)  // JPEG and smoothing may round a little
        EXPECT_LE(colourDistance(bmpPixel(sheet, x, y), rgb), 8)
            << std::hex << bmpPixel(sheet, x, y) << " at " << std::dec << x << "," << y;
}

}  // namespace tovlo::test
