#include <cstdio>

#include "core/files.h"
#include "face_images.h"
#include "gif_writer.h"
#include "sample_data.h"
#include "sample_faces.h"

namespace tovlo::devservice {

namespace {

constexpr int kPackFaceEdge = 48;
constexpr int kColumns = 6;

enum class PackKind { gif, jpg, mixed };

struct SamplePack {
    const char* folder;
    const char* version;
    const char* title;
    int faces;
    PackKind kind;
    int animateEvery;  // every n-th GIF face moves; 0 for none
    int hueShift;      // gives each pack its own colours
};

// The folder names are the Chinese titles, so every run sends Chinese names
// through the addresses (GBK on the wire), the file system and the pages.
const SamplePack kPacks[] = {
    {"经典笑脸", "3", "经典笑脸", 40, PackKind::gif, 7, 0},
    {"上班族", "1", "上班族", 24, PackKind::jpg, 0, 150},
    {"萌萌小圆", "2", "萌萌小圆", 12, PackKind::mixed, 3, 260},
};

// Face i (from 0) of a pack: its row-column file name and its bytes.
std::pair<std::string, std::string> packFace(const SamplePack& pack, int i) {
    int number = i + 1;
    bool gif = pack.kind == PackKind::gif || (pack.kind == PackKind::mixed && i % 2 == 0);
    char name[32];
    std::snprintf(name, sizeof name, "%d-%d.%s", i / kColumns + 1, i % kColumns + 1, gif ? "gif" : "jpg");
    if (!gif) return {name, encodePicture(drawFace(kPackFaceEdge, number, 0, pack.hueShift), "jpg")};
    bool moving = pack.animateEvery > 0 && number % pack.animateEvery == 0;
    return {name, moving ? encodeGif(faceAnimation(kPackFaceEdge, number, pack.hueShift), 15)
                         : encodeGif({drawFace(kPackFaceEdge, number, 0, pack.hueShift)})};
}

}  // namespace

void writePacks(const DataFolder& folder, const TextCodec& codec) {
    std::string catalogue;
    for (const SamplePack& pack : kPacks) {
        std::string dir = folder.soft() + "/" + pack.folder;
        std::string list;
        for (int i = 0; i < pack.faces; ++i) {
            auto [name, bytes] = packFace(pack, i);
            writeSampleFile(dir + "/" + name, bytes);
            list += name + "/";
        }
        // The version marker comes last, so a pack counts as present only
        // once everything before it has arrived.
        std::string marker = std::string("ver-") + pack.version + ".txt";
        writeSampleFile(dir + "/" + marker, pack.version);
        writeSampleFile(dir + "/imgs.txt", codec.utf8ToAnsi(list + marker));
        catalogue += std::string(pack.folder) + "\t" + pack.version + "\t" + pack.title + "\n";
    }
    writeSampleFile(folder.packsFile(), catalogue);
}

}  // namespace tovlo::devservice
