#include "face_classes.h"

#include <algorithm>
#include <filesystem>

#include "core/files.h"
#include "core/text.h"
#include "names.h"

namespace tovlo::devservice {

namespace fs = std::filesystem;

namespace {

bool isFaceType(std::string_view type) { return type == "gif" || type == "jpg" || type == "bmp"; }

// The face a file name stands for: digits, ".", one of the picture types.
// Thumbnails, temporary files and anything else give nothing.
std::optional<Face> faceOfFile(const std::string& name) {
    std::size_t dot = name.find('.');
    if (dot == std::string::npos) return std::nullopt;
    std::optional<long long> id = parseId(std::string_view(name).substr(0, dot));
    std::string type = name.substr(dot + 1);
    if (!id || !isFaceType(type)) return std::nullopt;
    return Face{*id, type};
}

bool ensureFolder(const std::string& path) {
    std::error_code ec;
    fs::create_directories(path, ec);
    return folderExists(path);
}

}  // namespace

std::vector<FaceClass> ClassStore::readClasses() const {
    std::vector<FaceClass> classes;
    for (const std::string& line : split(readFileBytes(folder_.classesFile()).value_or(""), "\n")) {
        std::vector<std::string> fields = split(line, "\t");
        if (fields.size() != 3) continue;
        if (std::optional<long long> id = parseId(fields[0])) classes.push_back({*id, fields[1], fields[2]});
    }
    return classes;
}

bool ClassStore::writeClasses(const std::vector<FaceClass>& classes) const {
    std::string text;
    for (const FaceClass& c : classes) text += std::to_string(c.id) + "\t" + c.owner + "\t" + c.name + "\n";
    return ensureFolder(folder_.data()) && replaceFileAtomically(folder_.classesFile(), text);
}

ClassStore::Counters ClassStore::readCounters() const {
    Counters counters;
    for (const std::string& line : split(readFileBytes(folder_.countersFile()).value_or(""), "\n")) {
        auto pair = splitFirst(line, "=");
        if (!pair) continue;
        std::optional<long long> value = parseId(pair->second);
        if (!value) continue;
        if (pair->first == "class") counters.nextClass = std::max(*value, kFirstClassId);
        if (pair->first == "face") counters.nextFace = *value;
    }
    // A lost or stale counter file must not hand out an id that is in use.
    for (const FaceClass& c : readClasses()) counters.nextClass = std::max(counters.nextClass, c.id + 1);
    return counters;
}

bool ClassStore::writeCounters(const Counters& counters) const {
    return ensureFolder(folder_.data()) &&
           replaceFileAtomically(folder_.countersFile(), "class=" + std::to_string(counters.nextClass) +
                                                             "\nface=" + std::to_string(counters.nextFace) + "\n");
}

std::vector<Face> ClassStore::facesUnlocked(long long classId) const {
    std::vector<Face> faces;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder_.classFolder(classId), ec)) {
        if (!entry.is_regular_file(ec)) continue;
        if (std::optional<Face> face = faceOfFile(entry.path().filename().string())) faces.push_back(*face);
    }
    std::sort(faces.begin(), faces.end(), [](const Face& a, const Face& b) { return a.id < b.id; });
    return faces;
}

Outcome ClassStore::nameRefusal(const std::vector<FaceClass>& classes, const std::string& owner,
                                const std::string& name, long long except) const {
    if (std::string problem = classNameProblem(name, codec_); !problem.empty()) return Outcome::refused(400, problem);
    for (const FaceClass& c : classes)
        if (c.owner == owner && c.name == name && c.id != except) return Outcome::refused(409, "已有同名的分类");
    return Outcome::done();
}

std::vector<FaceClass> ClassStore::classesOf(const std::string& owner) const {
    std::lock_guard guard(lock_);
    std::vector<FaceClass> mine;
    for (FaceClass& c : readClasses())
        if (c.owner == owner) mine.push_back(std::move(c));
    return mine;
}

std::optional<FaceClass> ClassStore::find(long long classId) const {
    std::lock_guard guard(lock_);
    for (FaceClass& c : readClasses())
        if (c.id == classId) return std::move(c);
    return std::nullopt;
}

std::vector<Face> ClassStore::faces(long long classId) const {
    std::lock_guard guard(lock_);
    return facesUnlocked(classId);
}

Outcome ClassStore::addClass(const std::string& owner, const std::string& name) {
    std::lock_guard guard(lock_);
    std::vector<FaceClass> classes = readClasses();
    if (Outcome refusal = nameRefusal(classes, owner, name, 0); !refusal.ok()) return refusal;
    Counters counters = readCounters();
    long long id = counters.nextClass++;
    // The counter moves first: a failure after it wastes an id, never reuses one.
    if (!writeCounters(counters)) return Outcome::refused(500, "保存分类失败");
    classes.push_back({id, owner, name});
    if (!writeClasses(classes)) return Outcome::refused(500, "保存分类失败");
    return Outcome::done(id);
}

Outcome ClassStore::renameClass(const std::string& owner, long long classId, const std::string& name) {
    std::lock_guard guard(lock_);
    std::vector<FaceClass> classes = readClasses();
    auto it = std::find_if(classes.begin(), classes.end(),
                           [&](const FaceClass& c) { return c.id == classId && c.owner == owner; });
    if (it == classes.end()) return Outcome::refused(404, "分类不存在");
    if (Outcome refusal = nameRefusal(classes, owner, name, classId); !refusal.ok()) return refusal;
    it->name = name;
    if (!writeClasses(classes)) return Outcome::refused(500, "保存分类失败");
    return Outcome::done(classId);
}

Outcome ClassStore::deleteClass(const std::string& owner, long long classId) {
    std::lock_guard guard(lock_);
    std::vector<FaceClass> classes = readClasses();
    auto it = std::find_if(classes.begin(), classes.end(),
                           [&](const FaceClass& c) { return c.id == classId && c.owner == owner; });
    if (it == classes.end()) return Outcome::refused(404, "分类不存在");
    classes.erase(it);
    if (!writeClasses(classes)) return Outcome::refused(500, "保存分类失败");
    std::error_code ec;
    fs::remove_all(folder_.classFolder(classId), ec);
    return Outcome::done(classId);
}

Outcome ClassStore::deleteFace(const std::string& owner, long long classId, long long faceId) {
    std::lock_guard guard(lock_);
    std::vector<FaceClass> classes = readClasses();
    bool mine = std::any_of(classes.begin(), classes.end(),
                            [&](const FaceClass& c) { return c.id == classId && c.owner == owner; });
    if (!mine) return Outcome::refused(404, "分类不存在");
    for (const Face& face : facesUnlocked(classId)) {
        if (face.id != faceId) continue;
        std::error_code ec;
        // The picture first: without it the face is gone from every listing.
        fs::remove(folder_.classFolder(classId) + "/" + face.fileName(), ec);
        fs::remove(folder_.classFolder(classId) + "/" + face.thumbnailName(), ec);
        return Outcome::done(faceId);
    }
    return Outcome::refused(404, "表情不存在");
}

AddFaceResult ClassStore::addFace(long long classId, const std::string& picture, const std::string& thumbnail,
                                  const std::string& type, long long* faceId) {
    if (!isFaceType(type)) return AddFaceResult::failed;
    std::lock_guard guard(lock_);
    std::vector<FaceClass> classes = readClasses();
    if (std::none_of(classes.begin(), classes.end(), [&](const FaceClass& c) { return c.id == classId; }))
        return AddFaceResult::noClass;
    if (facesUnlocked(classId).size() >= static_cast<std::size_t>(kMaxFacesPerClass)) return AddFaceResult::full;
    Counters counters = readCounters();
    Face face{counters.nextFace++, type};
    if (!writeCounters(counters)) return AddFaceResult::failed;
    std::string folder = folder_.classFolder(classId);
    // The thumbnail first: the picture is what makes the face part of the class.
    if (!ensureFolder(folder) || !replaceFileAtomically(folder + "/" + face.thumbnailName(), thumbnail) ||
        !replaceFileAtomically(folder + "/" + face.fileName(), picture))
        return AddFaceResult::failed;
    if (faceId) *faceId = face.id;
    return AddFaceResult::added;
}

}  // namespace tovlo::devservice
