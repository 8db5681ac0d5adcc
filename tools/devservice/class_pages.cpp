// The pages and texts about one account's classes:
//   /soft/myClass.asp?uName=      the class list page (kept by the program as
//                                 a local file, so every address in it is absolute)
//   /soft/showFace.asp?classId=&PageNo=   one page of a class's faces
//   /soft/manageClass.asp         the class manager
//   /soft/uploadFace.asp?classId= the form that adds a picture to a class
#include <algorithm>

#include "answers.h"
#include "names.h"
#include "pages.h"
#include "routes.h"

namespace tovlo::devservice {

namespace {

constexpr std::size_t kFacesPerPage = 20;

std::string classItem(const Service& service, const std::string& origin, const FaceClass& c) {
    std::vector<Face> faces = service.classes.faces(c.id);
    std::string id = std::to_string(c.id);
    std::string preview = faces.empty() ? "" : origin + "/soft/" + id + "/" + faces.front().thumbnailName();
    return itemButton("showMyOneClassFaces||" + id + "--1", preview, c.name, std::to_string(faces.size()) + " 个表情");
}

void classListPage(const Service& service, const httplib::Request& req, httplib::Response& res) {
    std::string user = requestValue(req, service, "uName");
    if (user.empty()) return sendProblem(res, service, 400, "缺少账号名");
    if (!service.accounts.exists(user)) return sendProblem(res, service, 404, "账号不存在");
    std::string origin = serviceOrigin(req, service);
    std::string items;
    for (const FaceClass& c : service.classes.classesOf(user)) items += classItem(service, origin, c);
    if (items.empty()) items = "<p class=\"empty\">还没有分类。点“管理分类”新建一个吧。</p>";
    sendText(res, service, renderPage("my_class.html", {{"user", htmlEscape(user)}, {"classes", items}}), "text/html");
}

// className||A1$$B1||A2$$B2...--page,pageCount with A the thumbnail and B
// the picture, relative to /soft/.
void listing(const Service& service, const httplib::Request& req, httplib::Response& res) {
    std::optional<long long> classId = parseId(requestValue(req, service, "classId"));
    if (!classId) return sendText(res, service, "classId 无效", "text/plain", 400);
    std::string pageText = requestValue(req, service, "PageNo");
    std::optional<long long> page = pageText.empty() ? 1 : parseId(pageText);
    if (!page) return sendText(res, service, "PageNo 无效", "text/plain", 400);
    std::optional<FaceClass> c = service.classes.find(*classId);
    if (!c) return sendText(res, service, "分类不存在", "text/plain", 404);
    std::vector<Face> faces = service.classes.faces(*classId);
    long long pageCount = std::max<long long>(1, (faces.size() + kFacesPerPage - 1) / kFacesPerPage);
    if (*page > pageCount) return sendText(res, service, "没有这一页", "text/plain", 404);
    std::string text = c->name;
    std::string folder = std::to_string(*classId) + "/";
    std::size_t first = static_cast<std::size_t>(*page - 1) * kFacesPerPage;
    for (std::size_t i = first; i < faces.size() && i < first + kFacesPerPage; ++i)
        text += "||" + folder + faces[i].thumbnailName() + "$$" + folder + faces[i].fileName();
    text += "--" + std::to_string(*page) + "," + std::to_string(pageCount);
    sendText(res, service, text, "text/plain");
}

void uploadForm(const Service& service, const httplib::Request& req, httplib::Response& res) {
    std::optional<long long> classId = parseId(requestValue(req, service, "classId"));
    if (!classId) return sendProblem(res, service, 400, "分类编号无效");
    std::optional<FaceClass> c = service.classes.find(*classId);
    if (!c) return sendProblem(res, service, 404, "分类不存在");
    sendText(
        res, service,
        renderPage("upload_face.html", {{"classId", std::to_string(*classId)}, {"className", htmlEscape(c->name)}}),
        "text/html");
}

}  // namespace

void addClassPages(httplib::Server& server, Service& service) {
    server.Get("/soft/myClass.asp",
               [&service](const httplib::Request& req, httplib::Response& res) { classListPage(service, req, res); });
    server.Get("/soft/showFace.asp",
               [&service](const httplib::Request& req, httplib::Response& res) { listing(service, req, res); });
    server.Get("/soft/manageClass.asp", [&service](const httplib::Request&, httplib::Response& res) {
        sendText(res, service, renderPage("manage_class.html", {}), "text/html");
    });
    server.Get("/soft/uploadFace.asp",
               [&service](const httplib::Request& req, httplib::Response& res) { uploadForm(service, req, res); });
}

}  // namespace tovlo::devservice
