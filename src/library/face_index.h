#pragma once
// Every face on disk, for the search box: the images of each public pack in
// the face folder (a folder with its pack page), and the faces listed on the
// cached pages of the account's classes, named by their class. A refresh
// reads again only the folders whose time of change moved, so a search over
// thousands of faces costs a look at the folders, not at every file.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/text_codec.h"

namespace tovlo {

struct IndexedFace {
    std::string ref;     // the file: URL, as the pages send it
    std::string source;  // the pack's or the class's name
    std::string name;    // the file name without its extension
    std::string key;     // source and name, ASCII letters in lower case, for matching
};

class FaceIndex {
public:
    explicit FaceIndex(const TextCodec& codec) : codec_(codec) {}

    // Brings the index up to date with the packs of faceFolder and, when
    // accountFolder is not empty, that account's classes.
    void refresh(const std::string& faceFolder, const std::string& accountFolder);
    // Packs first (by name), then the classes, each in its own order.
    const std::vector<const IndexedFace*>& faces() const { return faces_; }
    // The face with this reference; nothing when the index has none.
    const IndexedFace* find(const std::string& ref) const;
    // What the index keeps in memory, in bytes (strings and containers).
    std::size_t memoryBytes() const;

private:
    struct Folder {
        std::int64_t stamp = 0;
        std::vector<IndexedFace> faces;
    };
    // Reads the folders of one root again where they changed; true when any did.
    bool refreshRoot(const std::string& root, bool classes, std::map<std::string, Folder>& folders);
    std::vector<IndexedFace> readPack(const std::string& folder, const std::string& pack) const;
    std::vector<IndexedFace> readClass(const std::string& accountFolder, const std::string& folder) const;

    const TextCodec& codec_;
    std::string faceFolder_, accountFolder_;
    std::map<std::string, Folder> packs_, classes_;  // by folder name
    // The faces of every folder in one list, and by reference: both point
    // into the folders, which stay as they are until the next rebuild.
    std::vector<const IndexedFace*> faces_;
    std::unordered_map<std::string_view, const IndexedFace*> refs_;
};

// A face found, with what the page shows of it.
struct FoundFace {
    std::string ref, source, name, words;
    bool favourite = false;
};

// What a search looks through besides the index: faces of the history and
// the favourites that are on no pack or class page any more, the user's
// words for faces, the favourites.
struct SearchMarks {
    const std::vector<std::string>& history;
    const std::vector<std::string>& favourites;
    const std::map<std::string, std::string>& words;
};

// The faces where every word of the query (split at blanks; ASCII letters
// in any case) is part of the pack or class name, the file name or the
// user's words; favourites first, then in the index's order, then the other
// faces of the history and the favourites. At most limit; total counts all.
struct SearchResult {
    std::vector<FoundFace> faces;
    std::size_t total = 0;
};
SearchResult searchFaces(const FaceIndex& index, const SearchMarks& marks, std::string_view query, std::size_t limit);

// The faces, described as a search finds them; one that no pack or class
// holds is named by its file, under the label.
std::vector<FoundFace> facesOf(const FaceIndex& index, const SearchMarks& marks, const std::vector<std::string>& refs,
                               const char* label);

// The search's lines for the page: "ref\tsource\tname\twords\t1|0" per face,
// joined by "\n" (no field holds a tab or a line break).
std::string foundFacesText(const std::vector<FoundFace>& faces);

}  // namespace tovlo
