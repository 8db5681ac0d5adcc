#include <stdexcept>

#include "accounts.h"
#include "face_classes.h"
#include "face_images.h"
#include "gif_writer.h"
#include "sample_data.h"
#include "sample_faces.h"

namespace tovlo::devservice {

namespace {

constexpr int kClassFaceEdge = 96;

// Face n of the demo account: GIF or JPEG by turns, every fifth GIF moving,
// and one BMP so that all three kinds occur.
std::pair<std::string, std::string> demoFace(int n) {
    if (n == 26) return {encodePicture(drawFace(kClassFaceEdge, n), "bmp"), "bmp"};
    if (n % 2 == 0) return {encodePicture(drawFace(kClassFaceEdge, n), "jpg"), "jpg"};
    if (n % 5 == 0) return {encodeGif(faceAnimation(kClassFaceEdge, n), 15), "gif"};
    return {encodeGif({drawFace(kClassFaceEdge, n)}), "gif"};
}

long long addClass(ClassStore& classes, const std::string& name) {
    Outcome outcome = classes.addClass("demo", name);
    if (!outcome.ok()) throw std::runtime_error("cannot add the class " + name + ": " + outcome.error);
    return outcome.id;
}

}  // namespace

void writeDemoAccount(const DataFolder& folder, const TextCodec& codec) {
    AccountStore accounts(folder, codec);
    if (!accounts.registerAccount("demo", "demo").ok()) throw std::runtime_error("cannot add the demo account");
    ClassStore classes(folder, codec);
    // Two classes: 23 faces (two listing pages of 20) and 5.
    const std::pair<const char*, int> kClasses[] = {{"开心", 23}, {"工作", 5}};
    int number = 1;
    for (auto [name, count] : kClasses) {
        long long classId = addClass(classes, name);
        for (int i = 0; i < count; ++i, ++number) {
            auto [picture, type] = demoFace(number);
            std::optional<std::string> thumbnail = makeThumbnail(picture);
            if (!thumbnail || classes.addFace(classId, picture, *thumbnail, type) != AddFaceResult::added)
                throw std::runtime_error("cannot add a face to " + std::string(name));
        }
    }
}

}  // namespace tovlo::devservice
