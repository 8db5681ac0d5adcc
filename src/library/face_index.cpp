#include "face_index.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <optional>
#include <unordered_set>

#include "core/errors.h"
#include "core/files.h"
#include "core/functions.h"
#include "core/paths.h"
#include "core/text.h"
#include "core/urls.h"
#include "library/face_listing.h"
#include "library/face_sheet.h"

namespace tovlo {

namespace {

std::string lowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string withoutExtension(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return std::string(dot == std::string_view::npos || dot == 0 ? name : name.substr(0, dot));
}

IndexedFace indexed(std::string ref, std::string source, std::string_view fileName) {
    IndexedFace face{std::move(ref), std::move(source), withoutExtension(fileName), {}};
    face.key = lowerAscii(face.source + " " + face.name);
    return face;
}

// When the folder last changed; 0 when it cannot be read.
std::int64_t folderStamp(const std::string& folder) {
    std::error_code ec;
    const auto time = std::filesystem::last_write_time(fsPath(folder), ec);
    return ec ? 0 : static_cast<std::int64_t>(time.time_since_epoch().count());
}

std::vector<std::string> subfolders(const std::string& root) {
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(fsPath(root), ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_directory(typeError)) names.push_back(pathText(it->path().filename()));
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The listing kept in a class page, between its data block's tags.
std::string listingOfPage(const std::string& page) {
    const std::string open = "id=\"dataStr\">";
    const std::size_t from = page.find(open);
    if (from == std::string::npos) return {};
    const std::size_t start = from + open.size();
    const std::size_t end = page.find("</script>", start);
    return replaceAll(page.substr(start, end == std::string::npos ? std::string::npos : end - start), "<\\/", "</");
}

// The number of a page file "12.html"; nothing for other files.
std::optional<int> pageNumber(const std::string& name) {
    if (name.size() <= 5 || name.substr(name.size() - 5) != ".html") return std::nullopt;
    int n = 0;
    auto [end, ec] = std::from_chars(name.data(), name.data() + name.size() - 5, n);
    if (ec != std::errc() || end != name.data() + name.size() - 5) return std::nullopt;
    return n;
}

bool matchesAll(const std::vector<std::string>& words, const std::string& key, const std::string* userWords) {
    for (const std::string& word : words)
        if (key.find(word) == std::string::npos && (!userWords || lowerAscii(*userWords).find(word) == std::string::npos))
            return false;
    return true;
}

// A face of the history or the favourites that is on no page of ours now:
// named by its file, under the label.
IndexedFace outsideIndex(const std::string& ref, const char* label) {
    const std::optional<std::string> path = localPathOf(ref);
    const std::string& file = path ? *path : ref;
    return indexed(ref, label, std::string_view(file).substr(file.find_last_of("/\\") + 1));
}

std::string fieldText(std::string text) {
    std::replace_if(text.begin(), text.end(), [](char c) { return c == '\t' || c == '\n' || c == '\r'; }, ' ');
    return text;
}

}  // namespace

void FaceIndex::refresh(const std::string& faceFolder, const std::string& accountFolder) {
    bool changed = false;
    if (faceFolder != faceFolder_) packs_.clear(), faceFolder_ = faceFolder, changed = true;
    if (accountFolder != accountFolder_) classes_.clear(), accountFolder_ = accountFolder, changed = true;
    changed = refreshRoot(faceFolder, false, packs_) || changed;
    if (!accountFolder.empty()) changed = refreshRoot(accountFolder, true, classes_) || changed;
    if (!changed) return;
    faces_.clear();
    refs_.clear();
    for (auto* folders : {&packs_, &classes_})
        for (const auto& [name, folder] : *folders)
            for (const IndexedFace& face : folder.faces)
                if (refs_.emplace(face.ref, &face).second) faces_.push_back(&face);
}

bool FaceIndex::refreshRoot(const std::string& root, bool classes, std::map<std::string, Folder>& folders) {
    const std::vector<std::string> names = subfolders(root);
    bool changed = false;
    for (auto it = folders.begin(); it != folders.end();) {
        const bool gone = !std::binary_search(names.begin(), names.end(), it->first);
        it = gone ? (changed = true, folders.erase(it)) : std::next(it);
    }
    for (const std::string& name : names) {
        const std::string folder = joinPath(root, {name});
        const std::int64_t stamp = folderStamp(folder);
        auto at = folders.find(name);
        if (at != folders.end() && at->second.stamp == stamp) continue;
        std::vector<IndexedFace> faces = classes ? readClass(root, name) : readPack(folder, name);
        Folder& kept = folders[name];  // a folder without faces too: read again only when it changes
        changed = changed || !kept.faces.empty() || !faces.empty();
        kept = {stamp, std::move(faces)};
    }
    return changed;
}

std::vector<IndexedFace> FaceIndex::readPack(const std::string& folder, const std::string& pack) const {
    std::vector<IndexedFace> faces;
    // A folder without its pack page is no pack (the account folders, a pack still coming).
    if (!fileExists(joinPath(folder, {"main.html"}))) return faces;
    for (const std::string& name : packImages(folder)) faces.push_back(indexed(fileUrl(joinPath(folder, {name})), pack, name));
    return faces;
}

std::vector<IndexedFace> FaceIndex::readClass(const std::string& accountFolder, const std::string& classId) const {
    const std::string folder = joinPath(accountFolder, {classId});
    std::vector<std::pair<int, std::string>> pages;
    for (const std::string& name : plainFileNames(folder))
        if (auto n = pageNumber(name)) pages.emplace_back(*n, name);
    std::sort(pages.begin(), pages.end());
    std::vector<IndexedFace> faces;
    for (const auto& [number, name] : pages) {
        std::string page;
        try {
            page = readTextFile(codec_, joinPath(folder, {name}));
        } catch (const TovloError&) {
            continue;  // a page that cannot be read adds nothing
        }
        const std::vector<std::string> list = faceListOf(listingOfPage(page));
        if (list.empty()) continue;
        for (std::size_t i = 1; i < list.size(); ++i) {
            // The picture, as the class page sends it (the thumbnail where the entry has no picture).
            const FacePaths paths = facePathsOf(list[i]);
            const std::string& picture = paths.picture.empty() ? paths.thumbnail : paths.picture;
            if (picture.empty()) continue;
            const std::string file = localPath(accountFolder, picture);
            if (fileExists(file)) faces.push_back(indexed(fileUrl(file), list[0], picture.substr(picture.rfind('/') + 1)));
        }
    }
    return faces;
}

const IndexedFace* FaceIndex::find(const std::string& ref) const {
    auto at = refs_.find(ref);
    return at == refs_.end() ? nullptr : at->second;
}

std::size_t FaceIndex::memoryBytes() const {
    const auto text = [](const std::string& s) { return sizeof s + (s.capacity() > 15 ? s.capacity() + 1 : 0); };
    std::size_t bytes = sizeof *this;
    for (auto* folders : {&packs_, &classes_})
        for (const auto& [name, folder] : *folders) {
            bytes += text(name) + sizeof folder + 4 * sizeof(void*);  // the map's node
            for (const IndexedFace& f : folder.faces) bytes += text(f.ref) + text(f.source) + text(f.name) + text(f.key);
        }
    bytes += faces_.capacity() * sizeof(void*);
    // Each entry of the map: its key, its value and the node's link and hash.
    bytes += refs_.size() * (sizeof(std::string_view) + 3 * sizeof(void*));
    return bytes + refs_.bucket_count() * sizeof(void*);
}

SearchResult searchFaces(const FaceIndex& index, const SearchMarks& marks, std::string_view query, std::size_t limit) {
    std::vector<std::string> words;
    for (const std::string& w : split(lowerAscii(std::string(trimSpace(query))), " "))
        if (!w.empty()) words.push_back(w);
    SearchResult result;
    if (words.empty()) return result;
    const auto wordsOf = [&](const std::string& ref) -> const std::string* {
        auto at = marks.words.find(ref);
        return at == marks.words.end() ? nullptr : &at->second;
    };
    const std::unordered_set<std::string> favourite(marks.favourites.begin(), marks.favourites.end());
    std::vector<FoundFace> favourites, others;
    const auto found = [&](const IndexedFace& face) {
        const std::string* userWords = wordsOf(face.ref);
        if (!matchesAll(words, face.key, userWords)) return;
        ++result.total;
        const bool isFavourite = favourite.count(face.ref) != 0;
        auto& list = isFavourite ? favourites : others;
        if (favourites.size() + others.size() < limit || isFavourite)
            list.push_back({face.ref, face.source, face.name, userWords ? *userWords : "", isFavourite});
    };
    for (const IndexedFace* face : index.faces()) found(*face);
    // Faces of the favourites and the history that no pack or class holds now.
    std::unordered_set<std::string> seen;
    using Source = std::pair<const std::vector<std::string>*, const char*>;
    for (const auto& [list, label] : {Source{&marks.favourites, "收藏"}, Source{&marks.history, "历史"}})
        for (const std::string& ref : *list)
            if (!index.find(ref) && seen.insert(ref).second) found(outsideIndex(ref, label));
    favourites.insert(favourites.end(), others.begin(), others.end());
    if (favourites.size() > limit) favourites.resize(limit);
    result.faces = std::move(favourites);
    return result;
}

std::vector<FoundFace> facesOf(const FaceIndex& index, const SearchMarks& marks, const std::vector<std::string>& refs,
                               const char* label) {
    const std::unordered_set<std::string> favourite(marks.favourites.begin(), marks.favourites.end());
    std::vector<FoundFace> out;
    for (const std::string& ref : refs) {
        const IndexedFace* held = index.find(ref);
        const IndexedFace face = held ? *held : outsideIndex(ref, label);
        auto words = marks.words.find(ref);
        out.push_back({ref, face.source, face.name, words == marks.words.end() ? "" : words->second,
                       favourite.count(ref) != 0});
    }
    return out;
}

std::string foundFacesText(const std::vector<FoundFace>& faces) {
    std::string text;
    for (const FoundFace& f : faces) {
        if (!text.empty()) text += "\n";
        text += fieldText(f.ref) + "\t" + fieldText(f.source) + "\t" + fieldText(f.name) + "\t" + fieldText(f.words) +
                "\t" + (f.favourite ? "1" : "0");
    }
    return text;
}

}  // namespace tovlo
