#include "config_form.h"

#include "core/files.h"
#include "core/hot_key_text.h"
#include "core/paths.h"
#include "core/text.h"

namespace tovlo {

namespace {

const char* const kHistoryCounts[] = {"16", "20", "24", "28"};

}  // namespace

ConfigForm::ConfigForm(const SettingsDeps& deps, std::function<void()> unload)
    : deps_(deps),
      unload_(std::move(unload)),
      form_(deps.platform.forms.create(
          FormDescription("configForm", {.fixedSize = true})
              .tabs({"SSTab1"})
              .groups({"Frame1", "Frame2", "Frame3", "Frame4", "historyRow", "pathButtons", "commands"})
              .labels({"Label1", "Label2", "Label5", "Label6", "Label7", "Label8"})
              .optionButtons({"Option1", "Option2", "Option3", "Option7"})
              .textBoxes({"facePath_text", "hotKey_text"})
              .dropDownLists({"historyNub"})
              .buttons({"Command1", "Command2", "Command3", "Command4"}))) {
    build();
    load();
}

// The controls in the order they are laid out, with their captions.
void ConfigForm::build() {
    Form& f = *form_;
    f.setTitle(kTitle);
    Form& basicTab = basic();
    Form& autoRun = basicTab.group("Frame1", "开机运行");
    autoRun.optionButton("Option1").setText("开机自动运行");
    autoRun.optionButton("Option2").setText("开机不自动运行");
    Form& folder = basicTab.group("Frame2", "表情存放路径");
    folder.textBox("facePath_text");
    Command3().setText("选择路径");
    Command4().setText("系统默认路径");
    basicTab.group("Frame3", "最近使用表情保存数量");
    historyRow().label("Label6").setText("保留");
    for (const char* count : kHistoryCounts) historyNub().addItem(count);
    historyRow().label("Label7").setText("个表情");
    basic().group("Frame3", "").label("Label2").setText("（注意：数量越少，打开 历史表情 的速度越快）");
    Form& hotKey = basicTab.group("Frame4", "快捷键");
    hotKey.textBox("hotKey_text");
    hotKey.label("Label8").setText("在聊天窗口里按下它，表情面板出现在旁边，直接输入就能搜索（如 Ctrl+Alt+E；留空则不用）");

    Form& modeTab = modes();
    Option7().setText("正常模式");
    modeTab.label("Label1").setText("始终吸附在QQ聊天框的右边");
    Option3().setText("特色模式[推荐尝试]");
    modeTab.label("Label5").setText(
        "通过点击按钮显示，通过点击其他地方关闭、或者插入表情自动关闭，某种意义上类似QQ默认的表情显示方式");

    Command1().setText("保存");
    Command2().setText("放弃");
    Command1().onClick = [this] { save(); };
    Command2().onClick = [this] { unload_(); };
    Command3().onClick = [this] { chooseFolder(); };
    Command4().onClick = [this] { facePath_text().setText(defaultFacePath()); };
    // The close box discards, as "放弃" does.
    f.onClosed = [this] { unload_(); };
    f.setSize(440, 380);
}

void ConfigForm::load() {
    const PublicParm& parm = deps_.parm;
    (parm.autorun == "false" ? Option2() : Option1()).setChecked(true);
    if (parm.showModel == "normal") Option7().setChecked(true);
    if (parm.showModel == "fQQ") Option3().setChecked(true);
    facePath_text().setText(parm.facePath);
    for (int i = 0; i < historyNub().count(); ++i)
        if (historyNub().item(i) == parm.historyNub) historyNub().setSelectedIndex(i);
    hotKey_text().setText(parm.hotKey == kNoHotKey ? "" : parm.hotKey);
}

void ConfigForm::save() {
    PublicParm& parm = deps_.parm;
    IniCls& ini = parm.ini;
    // The face folder is checked before anything is written: a folder that
    // cannot be used leaves the dialog open and the settings as they were.
    // An empty box means the default folder, as an empty entry in the file does.
    const std::string typed = withoutTrailingSeparators(trimBlanks(facePath_text().text()));
    const bool defaultFolder = typed.empty() || typed == defaultFacePath();
    if (!defaultFolder && !prepareFaceFolder(typed)) return;
    const std::optional<std::string> hotKey = takeHotKey();
    if (!hotKey) return;

    const bool autoRun = Option1().isChecked();
    parm.autorun = autoRun ? "true" : "false";
    ini.WriteIniKey("run", "autoRun", parm.autorun);
    SetAutoRun(autoRun);

    // A mode the dialog does not offer (a bottom-bar mode) stays in use.
    if (Option7().isChecked()) {
        ini.WriteIniKey("run", "showModel", "normal");
        parm.showModel = "normal";
    } else if (Option3().isChecked()) {
        ini.WriteIniKey("run", "showModel", "fQQ");
        parm.showModel = "fQQ";
    }

    if (!defaultFolder) {
        parm.facePath = typed;
        ini.WriteIniKey("run", "facePath", typed);
    } else {
        parm.facePath = defaultFacePath();
        ini.WriteIniKey("run", "facePath", "");
    }

    // A count that is none of the four stays as it is.
    if (const int chosen = historyNub().selectedIndex(); chosen >= 0) {
        parm.historyNub = historyNub().item(chosen);
        ini.WriteIniKey("run", "historyNub", parm.historyNub);
    }

    parm.hotKey = *hotKey;
    ini.WriteIniKey("run", "hotKey", parm.hotKey);
    unload_();
}

bool ConfigForm::prepareFaceFolder(const std::string& folder) {
    MessageBox& messages = deps_.platform.messages;
    // config.ini keeps the folder in the code page, on one line: a name it
    // cannot hold would come back as another folder.
    const TextCodec& codec = deps_.platform.codec;
    const bool oneLine = folder.find_first_of("\r\n") == std::string::npos;
    if (!oneLine || codec.ansiToUtf8(codec.utf8ToAnsi(folder)) != folder) {
        messages.show("表情存放路径“" + folder + "”里有不能保存的字符，请选择另一个文件夹。", kTitle,
                      MessageIcon::Critical);
        return false;
    }
    if (!isAbsolutePath(folder)) {
        messages.show("表情存放路径“" + folder + "”不是完整的路径，请点击“选择路径”选择一个文件夹。", kTitle,
                      MessageIcon::Critical);
        return false;
    }
    if (!folderExists(folder)) {
        messages.show("表情存放路径“" + folder + "”不存在，请选择一个已有的文件夹。", kTitle, MessageIcon::Critical);
        return false;
    }
    // The pack pages of the folder mark the chosen face with this picture.
    const std::string cell = joinPath(folder, {"cell.gif"});
    const std::string ours = joinPath(defaultFacePath(), {"cell.gif"});
    if (!fileExists(cell) && fileExists(ours) && !copyFile(ours, cell)) {
        messages.show("无法在表情存放路径“" + folder + "”里写入文件，请选择一个可以写入的文件夹。", kTitle,
                      MessageIcon::Critical);
        return false;
    }
    return true;
}

std::optional<std::string> ConfigForm::takeHotKey() {
    const std::string typed(trimBlanks(hotKey_text().text()));
    std::string keys = kNoHotKey;
    if (!typed.empty()) {
        const std::optional<HotKey> key = parseHotKey(typed);
        if (!key) {
            deps_.platform.messages.show("快捷键“" + typed +
                                             "”无法使用：请写成 Ctrl+Alt+E 这样，Ctrl、Alt 或 Win 加上一个字母、数字或 "
                                             "F1 到 F12。",
                                         kTitle, MessageIcon::Critical);
            return std::nullopt;
        }
        keys = hotKeyText(*key);
    }
    if (deps_.useHotKey && !deps_.useHotKey(keys)) {
        deps_.platform.messages.show("快捷键“" + keys + "”已被其他程序占用，请换一个。", kTitle,
                                     MessageIcon::Critical);
        return std::nullopt;
    }
    return keys;
}

void ConfigForm::chooseFolder() {
    if (auto chosen = deps_.folders.chooseFolder("请选择路径", facePath_text().text()))
        facePath_text().setText(*chosen);
}

void ConfigForm::SetAutoRun(bool Autorun) {
    // Like the registry's, a failure here is not the user's to handle: the
    // setting is saved all the same and the entry is written on the next save.
    if (Autorun)
        deps_.autoStart.enable(kAutoRunEntry, deps_.programPath);
    else
        deps_.autoStart.disable(kAutoRunEntry);
}

std::string ConfigForm::defaultFacePath() const { return joinPath(deps_.parm.app, {"w"}); }

}  // namespace tovlo
