#include "server_params.h"

#include "core/service.h"
#include "core/text.h"

namespace tovlo {

ServerParams::ServerParams(Platform& platform, PublicParm& parm, const Desktop& desktop, Reaper& reaper,
                           std::function<void(QQShow&)> connectNotice)
    : platform_(platform),
      parm_(parm),
      desktop_(desktop),
      reaper_(reaper),
      connectNotice_(std::move(connectNotice)),
      timer3_(platform.loop.createTimer(1000, false)) {
    timer3_->onTick = [this] { timer3Tick(); };
}

void ServerParams::timer3Tick() {
    timer3_->setEnabled(false);
    auto bytes = platform_.fetch.fetchBytes(serviceUrl(parm_.serviceHost, "/soft/params.html"));
    const std::string text = bytes ? platform_.codec.ansiToUtf8(*bytes) : std::string();
    for (const auto& [name, value] : parseServerParams(text)) applyParam(name, value);
}

std::vector<std::pair<std::string, std::string>> parseServerParams(std::string_view text) {
    std::vector<std::pair<std::string, std::string>> items;
    if (!contains(text, "isQQShow")) return items;
    for (const std::string& item : split(text, "||")) {
        // A value keeps any further "=" it holds (addresses with a query do).
        // Line breaks and blanks around an item (a list written one item per
        // line) are not part of it: "true" must match, and config.ini must
        // not get them.
        // The same holds around the "=" ("name =\r\nvalue").
        auto nameValue = splitFirst(item, "=");
        if (nameValue)
            items.emplace_back(std::string(trimSpace(nameValue->first)), std::string(trimSpace(nameValue->second)));
    }
    return items;
}

void ServerParams::applyParam(const std::string& name, const std::string& value) {
    if (name == "isQQShow") {
        if (value == "true") showNotice();
    } else if (name == "faceHttpPath") {
        parm_.ini.WriteIniKey("run", "faceHttpPath", value);
        parm_.faceHttpPath = value;
    }
}

void ServerParams::showNotice() {
    if (!qqShow_) {
        qqShow_ = std::make_unique<QQShow>(platform_.forms, platform_.loop, desktop_, parm_, [this] {
            if (qqShow_) {
                qqShow_->form().hide();
                reaper_.retire(std::move(qqShow_));
            }
        });
        connectNotice_(*qqShow_);
    }
    qqShow_->form().show();
}

void ServerParams::hideNotice() {
    if (qqShow_) qqShow_->form().hide();
}

}  // namespace tovlo
