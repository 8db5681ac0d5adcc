#include "about_form.h"

namespace tovlo {

AboutForm::AboutForm(Platform& platform, IniCls& ini, const std::string& homePage)
    : form_(platform.forms.create(FormDescription("aboutForm", {.fixedSize = true})
                                      .labels({"Label1", "Label2", "Label3", "Label4", "Label5", "Label6", "Label7"})
                                      .groups({"details"}))) {
    Form& f = *form_;
    f.setTitle("关于Tovlo");
    f.label("Label1").setText("Tovlo - 分享快乐，从此快乐随身走");
    // Each caption beside its value.
    Form& details = f.group("details", "", Flow::Pairs);
    details.label("Label2").setText("官方主页：");
    details.label("Label4").setText(homePage);
    details.label("Label3").setText("合作 QQ：");
    details.label("Label5").setText(kContactQq);
    details.label("Label7").setText("版本：");
    details.label("Label6").setText(ini.GetIniKey("application", "ver"));
    Processes& processes = platform.processes;
    details.label("Label4").onClick = [&processes, homePage] { processes.openUrl(homePage); };
    // Room around the lines; the window grows with longer ones.
    f.setSize(300, 150);
}

}  // namespace tovlo
