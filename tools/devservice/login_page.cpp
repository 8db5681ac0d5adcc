// Log in or register: GET shows the form, POST does what its button asked.
// On success the answer tells the program through the page bridge
// ("loginSucc||" or "regSucc||" and the name); on failure the form comes
// back with the reason.
#include "answers.h"
#include "core/text.h"
#include "pages.h"
#include "routes.h"

namespace tovlo::devservice {

namespace {

std::string notice(const std::string& kind, const std::string& text) {
    return "<div class=\"notice " + kind + "\">" + htmlEscape(text) + "</div>";
}

std::string loginPage(const std::string& name, const std::string& message, const std::string& command) {
    return renderPage(
        "login.html",
        {{"name", htmlEscape(name)}, {"message", message}, {"command", command.empty() ? "null" : jsString(command)}});
}

}  // namespace

void addLoginPage(httplib::Server& server, Service& service) {
    server.Get("/soft/login2.asp", [&service](const httplib::Request&, httplib::Response& res) {
        sendText(res, service, loginPage("", "", ""), "text/html");
    });
    server.Post("/soft/login2.asp", [&service](const httplib::Request& req, httplib::Response& res) {
        std::string name(trimBlanks(requestValue(req, service, "name")));
        std::string password = requestValue(req, service, "password");
        bool registering = requestValue(req, service, "action") == "register";
        Outcome outcome = name.empty() || password.empty() ? Outcome::refused(400, "请输入账号和密码")
                          : registering                    ? service.accounts.registerAccount(name, password)
                                                           : service.accounts.login(name, password);
        if (!outcome.ok())
            return sendText(res, service, loginPage(name, notice("error", outcome.error), ""), "text/html",
                            outcome.status);
        std::string message = registering ? "注册成功！请用新账号登录。" : "登录成功，正在打开你的表情……";
        std::string command = (registering ? "regSucc||" : "loginSucc||") + name;
        sendText(res, service, loginPage(name, notice("ok", message), command), "text/html");
    });
}

}  // namespace tovlo::devservice
