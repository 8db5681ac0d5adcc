#include "face_sheet.h"

#include <algorithm>
#include <cctype>

#include "core/errors.h"
#include "core/files.h"
#include "core/paths.h"
#include "core/text.h"

namespace tovlo {

namespace {

// A whole positive number of at most four digits.
std::optional<int> cellNumber(std::string_view digits) {
    if (digits.empty() || digits.size() > 4) return std::nullopt;
    int n = 0;
    for (char c : digits) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
        n = n * 10 + (c - '0');
    }
    return n > 0 ? std::optional<int>(n) : std::nullopt;
}

std::string lowerCase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

std::optional<std::pair<int, int>> faceCell(const std::string& name) {
    // The drawing step tests the extension case-sensitively: A.GIF is
    // listed (and counts for the rows) but never drawn.
    if (!contains(name, ".jpg") && !contains(name, ".gif") && !contains(name, ".bmp")) return std::nullopt;
    const std::size_t dash = name.find('-');
    const std::size_t dot = name.find('.');
    if (dash == std::string::npos || dot == std::string::npos || dash > dot) return std::nullopt;
    auto row = cellNumber(std::string_view(name).substr(0, dash));
    auto column = cellNumber(std::string_view(name).substr(dash + 1, dot - dash - 1));
    if (!row || !column) return std::nullopt;
    return std::pair{*row, *column};
}

bool isPackImage(const std::string& name) {
    const std::string lower = lowerCase(name);
    const bool image = contains(lower, ".gif") || contains(lower, ".bmp") || contains(lower, ".jpg");
    return image && !startsWith(name, "tempFace.") && name != "small.bmp";
}

std::vector<std::string> packImages(const std::string& folder) {
    std::vector<std::string> names = plainFileNames(folder);
    names.erase(std::remove_if(names.begin(), names.end(), [](const std::string& n) { return !isPackImage(n); }),
                names.end());
    return names;
}

SheetResult buildFaceSheet(Images& images, const std::string& folder, const std::vector<std::string>& names,
                           const std::string& sheetPath, const std::function<void(std::size_t)>& progress) {
    SheetResult result;
    result.rows = sheetRows(static_cast<int>(names.size()));
    auto sheet = images.createSheet(kSheetColumns * kCellSize, result.rows * kCellSize, kSheetBackground);
    for (std::size_t i = 0; i < names.size(); ++i) {
        auto cell = faceCell(names[i]);
        if (cell && cell->first <= result.rows && cell->second <= kSheetColumns) {
            if (auto image = images.load(joinPath(folder, {names[i]}))) {
                sheet->draw(*image,
                            {(cell->second - 1) * kCellSize, (cell->first - 1) * kCellSize, kCellSize, kCellSize});
                ++result.drawn;
            }
        }
        if (progress) progress(i);
    }
    if (!sheet->saveBmp(sheetPath)) throw TovloError(kErrFileAccess, "cannot write: " + sheetPath);
    return result;
}

}  // namespace tovlo
