#include "pages.h"

#include <QFile>

#include <stdexcept>

namespace tovlo::devservice {

namespace {

std::string resource(const std::string& name) {
    QFile file(QString::fromStdString(":/pages/" + name));
    if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error("missing page template " + name);
    return file.readAll().toStdString();
}

}  // namespace

std::string fillTemplate(std::string_view text, const PageValues& values) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    for (;;) {
        std::size_t open = text.find("{{", pos);
        std::size_t close = open == std::string_view::npos ? open : text.find("}}", open + 2);
        if (close == std::string_view::npos) break;
        auto value = values.find(std::string(text.substr(open + 2, close - open - 2)));
        if (value == values.end()) {
            out.append(text.substr(pos, open + 2 - pos));
            pos = open + 2;
            continue;
        }
        out.append(text.substr(pos, open - pos));
        out.append(value->second);
        pos = close + 2;
    }
    out.append(text.substr(pos));
    return out;
}

std::string itemButton(const std::string& command, const std::string& image, const std::string& name,
                       const std::string& detail) {
    std::string preview =
        image.empty() ? "<span class=\"noimg\">空</span>" : "<img src=\"" + htmlEscape(image) + "\" alt=\"\">";
    return "<button type=\"button\" class=\"item\" data-cmd=\"" + htmlEscape(command) + "\">" + preview +
           "<span class=\"name\">" + htmlEscape(name) + "</span><span class=\"count\">" + htmlEscape(detail) +
           "</span></button>\n";
}

std::string renderPage(const std::string& name, PageValues values) {
    static const std::string style = resource("style.css");
    static const std::string bridge = resource("bridge.js");
    values["style"] = style;
    values["bridge"] = bridge;
    return fillTemplate(resource(name), values);
}

}  // namespace tovlo::devservice
