#pragma once
// The toolkit's own texts in Chinese: standard buttons (确定, 取消), the
// folder chooser and the other standard dialogs, as the program's users
// read them.
class QCoreApplication;

namespace tovlo {

// Loads Qt's Chinese translations into the application; false when they
// are not installed (the standard texts then stay English).
bool installChineseTranslations(QCoreApplication& app);

}  // namespace tovlo
