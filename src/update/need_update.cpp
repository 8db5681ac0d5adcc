#include "need_update.h"

#include "core/functions.h"
#include "core/paths.h"
#include "core/service.h"
#include "core/text.h"

namespace tovlo {

std::string newsPart(std::string_view news, std::string_view version) {
    const std::size_t at = version.empty() ? std::string_view::npos : news.find(version);
    if (at == std::string_view::npos) return {};
    return replaceAll(std::string(news.substr(at)), "\r\n", "<br />");
}

NeedUpdate::NeedUpdate(Platform& platform, const PublicParm& parm, std::function<void()> endProgram)
    : platform_(platform),
      parm_(parm),
      endProgram_(std::move(endProgram)),
      form_(platform.forms.create(FormDescription("NeedUpdate", {.showsWithoutFocus = true, .fixedSize = true})
                                      .labels({"Label1", "Label2", "Label3", "Label4", "Label5"})
                                      .groups({"version", "commands"})
                                      .buttons({"Command1", "Command2"})
                                      .browserViews({"WebBrowser1"}))),
      timer1_(platform.loop.createTimer(kNewsDelayMs, false)) {
    form_->setTitle("Tovlo需要升级");
    form_->label("Label1").setText("Tovlo需要升级？");
    version().label("Label2").setText("更新到 ");
    Label4().setText("....");
    form_->label("Label3").setText("新版本特性：");
    WebBrowser1();
    form_->label("Label5").setText(
        "新版本升级 可能会解决当前版本的错误、或者让您使用更加舒适；请及时升级  [整个过程在1分钟内完成]");
    Button& now = commands().button("Command1");
    now.setText("立刻更新");
    now.onClick = [this] { updateNow(); };
    Button& later = commands().button("Command2");
    later.setText("以后再说");
    // Later, or the window's close box: the question comes again at the next check.
    later.onClick = [this] { form_->hide(); };
    form_->onClosed = [this] { timer1_->setEnabled(false); };
    form_->setSize(440, 400);
    timer1_->onTick = [this] { loadNews(); };
}

void NeedUpdate::show() {
    timer1_->setEnabled(true);
    WebBrowser1().navigate("about:blank");
    form_->show();
}

void NeedUpdate::loadNews() {
    timer1_->setEnabled(false);
    Label4().setText(ver);
    const auto bytes = platform_.fetch.fetchBytes(serviceUrl(parm_.serviceHost, "/soft/update/news.txt"));
    const std::string news = newsPart(bytes ? platform_.codec.ansiToUtf8(*bytes) : std::string(), ver);
    // The news is the service's HTML and goes in unchanged, inside one block.
    const std::string html = "<div style='font-size:13px;'>" + news + "</div>";
    try {
        runPageScript(WebBrowser1(),
                      "document.open();document.write('" + scriptStringText(html) + "');document.close();");
    } catch (const ScriptError&) {
        // A view that cannot show the news leaves it out; the notice still works.
    }
}

void NeedUpdate::updateNow() {
    form_->hide();
    timer1_->setEnabled(false);
    const std::string updater = joinPath(parm_.app, {"Kestrup.exe"});
    // The updater starts first: when it cannot, the program keeps running and
    // the user is told (ended, the message would never be seen). Once it runs,
    // the program ends its windows and the updater replaces its files.
    if (!platform_.processes.startDetached(updater, parm_.ver)) {
        platform_.messages.show("无法启动更新程序 " + updater + "，Tovlo没有更新。", "Tovlo需要升级",
                                MessageIcon::Critical);
        return;
    }
    endProgram_();
}

}  // namespace tovlo
