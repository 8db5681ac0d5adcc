// /soft/manageClass_ajax.asp: the class list script the add-face page
// includes (action=classList_Script, GET, for the program), and the JSON
// actions of the class manager page (POST from its script):
//   classes      userName                 the account's classes and faces
//   addClass     userName, name
//   renameClass  userName, classId, name
//   deleteClass  userName, classId
//   deleteFace   userName, classId, faceId
// JSON answers are plain ASCII (other characters as \u escapes), so they
// read the same whatever charset the page decodes them with.
#include "answers.h"
#include "escaping.h"
#include "names.h"
#include "routes.h"

namespace tovlo::devservice {

namespace {

void sendJson(httplib::Response& res, const Service& service, const std::string& json, int status = 200) {
    sendText(res, service, json, "application/json", status);
}

void sendOutcome(httplib::Response& res, const Service& service, const Outcome& outcome) {
    if (outcome.ok()) return sendJson(res, service, "{\"ok\":true,\"id\":\"" + std::to_string(outcome.id) + "\"}");
    sendJson(res, service, "{\"ok\":false,\"error\":" + jsString(outcome.error) + "}", outcome.status);
}

// var classList=[{id:'12',name:'开心'},...]; class names hold no quote or
// backslash, so they go in as they are.
void classListScript(const Service& service, const std::string& user, httplib::Response& res) {
    std::string items;
    for (const FaceClass& c : service.classes.classesOf(user))
        items += std::string(items.empty() ? "" : ",") + "{id:'" + std::to_string(c.id) + "',name:'" + c.name + "'}";
    sendText(res, service, "var classList=[" + items + "];", "text/javascript",
             service.accounts.exists(user) ? 200 : 404);
}

std::string classesJson(const Service& service, const std::string& user) {
    std::string json = "{\"ok\":true,\"user\":" + jsString(user) + ",\"classes\":[";
    bool firstClass = true;
    for (const FaceClass& c : service.classes.classesOf(user)) {
        std::string id = std::to_string(c.id);
        json +=
            std::string(firstClass ? "" : ",") + "{\"id\":\"" + id + "\",\"name\":" + jsString(c.name) + ",\"faces\":[";
        firstClass = false;
        bool firstFace = true;
        for (const Face& f : service.classes.faces(c.id)) {
            json += std::string(firstFace ? "" : ",") + "{\"id\":\"" + std::to_string(f.id) +
                    "\",\"thumbnail\":\"/soft/" + id + "/" + f.thumbnailName() + "\",\"picture\":\"/soft/" + id + "/" +
                    f.fileName() + "\"}";
            firstFace = false;
        }
        json += "]}";
    }
    return json + "]}";
}

void answer(Service& service, const httplib::Request& req, httplib::Response& res) {
    std::string action = requestValue(req, service, "action");
    std::string user = requestValue(req, service, "userName");
    if (action == "classList_Script") return classListScript(service, user, res);
    if (!service.accounts.exists(user)) return sendOutcome(res, service, Outcome::refused(404, "账号不存在"));
    if (action == "classes") return sendJson(res, service, classesJson(service, user));

    bool change = action == "addClass" || action == "renameClass" || action == "deleteClass" || action == "deleteFace";
    if (!change) return sendOutcome(res, service, Outcome::refused(400, "未知的操作"));
    if (req.method != "POST") return sendOutcome(res, service, Outcome::refused(405, "修改请用 POST 提交"));
    if (action == "addClass")
        return sendOutcome(res, service, service.classes.addClass(user, requestValue(req, service, "name")));

    std::optional<long long> classId = parseId(requestValue(req, service, "classId"));
    if (!classId) return sendOutcome(res, service, Outcome::refused(400, "分类编号无效"));
    if (action == "renameClass")
        return sendOutcome(res, service,
                           service.classes.renameClass(user, *classId, requestValue(req, service, "name")));
    if (action == "deleteClass") return sendOutcome(res, service, service.classes.deleteClass(user, *classId));
    std::optional<long long> faceId = parseId(requestValue(req, service, "faceId"));
    if (!faceId) return sendOutcome(res, service, Outcome::refused(400, "表情编号无效"));
    sendOutcome(res, service, service.classes.deleteFace(user, *classId, *faceId));
}

}  // namespace

void addClassActions(httplib::Server& server, Service& service) {
    auto handler = [&service](const httplib::Request& req, httplib::Response& res) { answer(service, req, res); };
    server.Get("/soft/manageClass_ajax.asp", handler);
    server.Post("/soft/manageClass_ajax.asp", handler);
}

}  // namespace tovlo::devservice
