#include "qt_folder_dialog.h"

#include <QFileDialog>
#include <cstdio>
#include <cstdlib>

#include "platform/nested_wait.h"
#include "qt_message_box.h"

namespace tovlo {

std::optional<std::string> QtFolderDialog::chooseFolder(const std::string& prompt, const std::string& startFolder) {
    if (unattendedRun()) {
        std::fprintf(stderr, "[folder] %s\n", prompt.c_str());
        std::fflush(stderr);
        const char* answer = std::getenv("TOVLO_FOLDER_ANSWER");
        if (!answer || !*answer) return std::nullopt;
        return std::string(answer);
    }
    NestedWaits::Scope nested;
    const QString chosen = QFileDialog::getExistingDirectory(
        nullptr, QString::fromStdString(prompt), QString::fromStdString(startFolder), QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty()) return std::nullopt;
    return QDir::toNativeSeparators(chosen).toStdString();
}

}  // namespace tovlo
