#pragma once
// The thumbnail sheet of a face pack: six columns of 30 x 30 pixel cells;
// the face file "r-c.ext" (row r, column c, from 1) fills the cell at
// ((c - 1) * 30, (r - 1) * 30), stretched.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/images.h"

namespace tovlo {

inline constexpr int kCellSize = 30;
inline constexpr int kSheetColumns = 6;
inline constexpr std::uint32_t kSheetBackground = 0xFFFFFF;

// Rows of a sheet for that many images: one more than whole rows of six,
// so a pack of exactly 6 x n images gets an empty row at the end.
inline int sheetRows(int imageCount) { return imageCount / kSheetColumns + 1; }

// Row and column of a face file name "r-c.ext" where ext holds ".gif",
// ".jpg" or ".bmp" (lower case); nothing for any other name.
std::optional<std::pair<int, int>> faceCell(const std::string& name);

// Whether a file of the pack folder is listed: an image by its extension
// in any case, not a temporary "tempFace." file, not the sheet itself.
bool isPackImage(const std::string& name);

// The listed files of the folder, sorted by name.
std::vector<std::string> packImages(const std::string& folder);

struct SheetResult {
    int rows = 0;
    int drawn = 0;
};

// Draws each named file of the folder into its cell and saves the sheet
// (white where no face is) as a bitmap of 180 x rows * 30 pixels. A file
// that does not decode, or whose name is not of the row-column format or
// lies outside the sheet, is skipped. progress(i) runs after entry i.
// Throws TovloError when the sheet cannot be saved.
SheetResult buildFaceSheet(Images& images, const std::string& folder, const std::vector<std::string>& names,
                           const std::string& sheetPath, const std::function<void(std::size_t)>& progress = {});

}  // namespace tovlo
