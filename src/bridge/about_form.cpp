#include "about_form.h"

namespace tovlo {

AboutForm::AboutForm(Platform& platform, IniCls& ini, const std::string& homePage)
    : form_(
          platform.forms.create(FormDescription("aboutForm")
                                    .labels({"Label1", "Label2", "Label3", "Label4", "Label5", "Label6", "Label7"}))) {
    Form& f = *form_;
    f.setTitle("关于Tovlo");
    f.label("Label1").setText("Tovlo - 分享快乐，从此快乐随身走");
    f.label("Label2").setText("官方主页：");
    f.label("Label4").setText(homePage);
    f.label("Label3").setText("合作 QQ：");
    f.label("Label5").setText(kContactQq);
    f.label("Label7").setText("版本：");
    f.label("Label6").setText(ini.GetIniKey("application", "ver"));
    Processes& processes = platform.processes;
    f.label("Label4").onClick = [&processes, homePage] { processes.openUrl(homePage); };
}

}  // namespace tovlo
