// POST /soft/addUpLoad.asp: the multipart form of the program's add-face
// panel (and of the upload form page) with the fields classId, myFile and
// Submit. The answer is a short script holding "call(" + result + ")":
//   0 the picture is over 102400 bytes    1 it is no GIF, JPEG or BMP
//   3 the class already holds 50 faces     2 anything else goes wrong
//   otherwise the class id: the face was added.
// The program reads the result from the body; the status is 200 for every
// answer except a request that is no multipart form at all (400).
#include "answers.h"
#include "face_images.h"
#include "names.h"
#include "routes.h"

namespace tovlo::devservice {

namespace {

constexpr std::size_t kMaxPictureBytes = 102400;
constexpr std::size_t kMaxRequestBytes = 4 * 1024 * 1024;

std::string uploadResult(Service& service, const httplib::Request& req) {
    if (!req.has_file("classId") || !req.has_file("myFile")) return "2";
    httplib::MultipartFormData file = req.get_file_value("myFile");
    if (file.filename.empty() || file.content.empty()) return "2";
    std::optional<long long> classId = parseId(req.get_file_value("classId").content);
    if (!classId) return "2";
    if (file.content.size() > kMaxPictureBytes) return "0";
    std::string type = pictureTypeOf(file.content);
    std::optional<std::string> thumbnail = type.empty() ? std::nullopt : makeThumbnail(file.content);
    if (!thumbnail) return "1";
    switch (service.classes.addFace(*classId, file.content, *thumbnail, type)) {
        case AddFaceResult::added: return std::to_string(*classId);
        case AddFaceResult::full: return "3";
        case AddFaceResult::noClass:
        case AddFaceResult::failed: break;
    }
    return "2";
}

}  // namespace

void addUpload(httplib::Server& server, Service& service) {
    server.set_payload_max_length(kMaxRequestBytes);
    server.Post("/soft/addUpLoad.asp", [&service](const httplib::Request& req, httplib::Response& res) {
        int status = req.is_multipart_form_data() ? 200 : 400;
        std::string result = status == 200 ? uploadResult(service, req) : "2";
        sendText(res, service, "<script>parent.call(" + result + ")</script>", "text/html", status);
    });
}

}  // namespace tovlo::devservice
