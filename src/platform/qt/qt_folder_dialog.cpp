#include "qt_folder_dialog.h"

#include <QFileDialog>

#include "platform/nested_wait.h"
#include "platform/unattended.h"

namespace tovlo {

std::optional<std::string> QtFolderDialog::chooseFolder(const std::string& prompt, const std::string& startFolder) {
    if (unattendedRun()) return unattendedFolder(prompt);
    NestedWaits::Scope nested;
    const QString chosen = QFileDialog::getExistingDirectory(
        nullptr, QString::fromStdString(prompt), QString::fromStdString(startFolder), QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty()) return std::nullopt;
    return QDir::toNativeSeparators(chosen).toStdString();
}

}  // namespace tovlo
