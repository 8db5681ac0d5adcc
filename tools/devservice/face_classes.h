#pragma once
// The face classes of all accounts and the faces in them.
//
// data/classes.txt holds one line per class: id, owner, name (tab-separated,
// UTF-8). data/counters.txt holds the next class id and the next face id, so
// ids are never given twice, not even after a delete. The faces of class C
// lie in soft/C/ as F.ext (the picture) and s_F.ext (its thumbnail), which
// the service serves as they are. Every call reads the files again, so the
// state survives a restart; every write goes beside the file and is renamed
// over it.
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "data_folder.h"
#include "outcome.h"
#include "platform/text_codec.h"

namespace tovlo::devservice {

inline constexpr int kMaxFacesPerClass = 50;
// The upload answer "call(" + result + ")" carries either an error value
// (0 to 3) or the class id, so class ids start above the error values.
inline constexpr long long kFirstClassId = 10;

struct FaceClass {
    long long id = 0;
    std::string owner;
    std::string name;
};

struct Face {
    long long id = 0;
    std::string type;  // "gif", "jpg" or "bmp"

    std::string fileName() const { return std::to_string(id) + "." + type; }
    std::string thumbnailName() const { return "s_" + fileName(); }
};

enum class AddFaceResult { added, noClass, full, failed };

class ClassStore {
public:
    ClassStore(DataFolder folder, const TextCodec& codec) : folder_(std::move(folder)), codec_(codec) {}

    std::vector<FaceClass> classesOf(const std::string& owner) const;
    std::optional<FaceClass> find(long long classId) const;
    // The class's faces in the order they were added.
    std::vector<Face> faces(long long classId) const;

    // Changes on behalf of an account. Refused: 400 for a bad name, 404 for a
    // class that does not exist or belongs to someone else, 409 for a name
    // the account already uses.
    Outcome addClass(const std::string& owner, const std::string& name);
    Outcome renameClass(const std::string& owner, long long classId, const std::string& name);
    Outcome deleteClass(const std::string& owner, long long classId);
    Outcome deleteFace(const std::string& owner, long long classId, long long faceId);

    // Stores a picture and its thumbnail (both already encoded as type) as a
    // new face of the class; faceId receives the new face's id.
    AddFaceResult addFace(long long classId, const std::string& picture, const std::string& thumbnail,
                          const std::string& type, long long* faceId = nullptr);

private:
    struct Counters {
        long long nextClass = kFirstClassId, nextFace = 1;
    };
    std::vector<FaceClass> readClasses() const;
    bool writeClasses(const std::vector<FaceClass>& classes) const;
    Counters readCounters() const;
    bool writeCounters(const Counters& counters) const;
    std::vector<Face> facesUnlocked(long long classId) const;
    Outcome nameRefusal(const std::vector<FaceClass>& classes, const std::string& owner, const std::string& name,
                        long long except) const;

    DataFolder folder_;
    const TextCodec& codec_;
    mutable std::mutex lock_;
};

}  // namespace tovlo::devservice
