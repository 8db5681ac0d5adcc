// The programs' start-up makes Qt's standard texts Chinese: a message box's
// buttons and the folder chooser read as the user's other programs do.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>

#include "platform/qt/qt_translations.h"

namespace tovlo::test {

TEST(Translations, StandardButtonsAndTheFolderChooserAreChinese) {
    ASSERT_TRUE(installChineseTranslations(*qApp)) << "qt6-translations-l10n is not installed";
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Ok)->text(), QString::fromUtf8("确定"));
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QString::fromUtf8("取消"));

    QFileDialog chooser;
    chooser.setOption(QFileDialog::DontUseNativeDialog);
    chooser.setFileMode(QFileDialog::Directory);
    QStringList texts;
    for (const QLabel* label : chooser.findChildren<QLabel*>()) texts << label->text();
    for (const QPushButton* button : chooser.findChildren<QPushButton*>()) texts << button->text();
    for (const char* english : {"Look in:", "Cancel", "&Choose"})
        EXPECT_FALSE(texts.contains(QString::fromUtf8(english))) << english << " in " << texts.join('|').toStdString();
}

}  // namespace tovlo::test
