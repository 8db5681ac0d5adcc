// The program's own windows as a user reads them, at the scale the test
// runs at (CTest runs it at 100 % and at 200 %): captions beside their
// values on one line, nothing cut off, a dialog of fixed size centred on
// the screen without a maximise box, a panel's buttons in its middle.
// With TOVLO_SHOTS=FOLDER each window is also saved as a PNG.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <functional>
#include <memory>

#include "platform/qt/qt_browser_view.h"
#include "platform/qt/qt_forms.h"
#include "platform/qt/qt_message_box.h"
#include "platform/qt/qt_translations.h"
#include "support/program_windows.h"
#include "view_fixture.h"

namespace tovlo::test {
namespace {

class NativeWindows : public ::testing::Test {
protected:
    NativeWindows() { installChineseTranslations(*qApp); }

    QWidget* panel(const std::string& className, const std::function<void(Panel&)>& fill = {}) {
        return qtWidgetOf(program.panel(className, fill));
    }

    // The widget of a control by its name.
    static QWidget* named(QWidget* window, const char* name) {
        QWidget* w = window->findChild<QWidget*>(QString::fromUtf8(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    static QRect onScreen(QWidget* w) { return QRect(w->mapToGlobal(QPoint(0, 0)), w->size()); }

    struct Expect {
        std::vector<std::pair<const char*, const char*>> lines;  // controls side by side on one line
        bool dialog = false;            // fixed in size, no maximise box, centred on the screen
        const char* centred = nullptr;  // a button in the middle of its panel, at its own width
    };
    // What every window must hold to, and what this one is expected to be.
    void check(const char* what, QWidget* window, const Expect& expect) {
        SCOPED_TRACE(what);
        ASSERT_TRUE(waitFor([&] { return window->isVisible(); }));
        for (int i = 0; i < 10; ++i) QApplication::processEvents();
        for (auto [left, right] : expect.lines) {
            const QRect a = onScreen(named(window, left)), b = onScreen(named(window, right));
            EXPECT_LE(std::abs(a.center().y() - b.center().y()), 2) << left << " and " << right << " on one line";
            EXPECT_LT(a.right(), b.left()) << left << " before " << right;
        }
        for (QLabel* label : window->findChildren<QLabel*>()) {
            if (!label->isVisible() || label->text().isEmpty()) continue;
            const int needed = label->wordWrap() ? label->heightForWidth(label->width()) : label->sizeHint().width();
            EXPECT_GE(label->wordWrap() ? label->height() : label->width(), needed)
                << label->text().toStdString() << " is cut";
        }
        for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
            const QFontMetrics metrics(button->font());
            if (!button->isVisible()) continue;
            EXPECT_GE(button->width(), metrics.horizontalAdvance(button->text()) + metrics.height())
                << button->text().toStdString() << " has no room beside its caption";
        }
        if (expect.dialog) {
            EXPECT_EQ(window->minimumSize(), window->maximumSize()) << "the user cannot resize it";
            EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
            const QPoint centre = window->screen()->availableGeometry().center();
            EXPECT_LE((window->geometry().center() - centre).manhattanLength(), 40) << "centred on the screen";
        }
        if (expect.centred) {
            const QRect area = onScreen(named(window, "Frame1")), b = onScreen(named(window, expect.centred));
            EXPECT_LE(std::abs(area.center().x() - b.center().x()), 2) << expect.centred << " in the panel's middle";
            EXPECT_LT(b.width(), area.width() / 2) << expect.centred << " keeps its own width";
        }
        if (const char* folder = std::getenv("TOVLO_SHOTS")) {
            const QString name = QString::fromUtf8(what) + "@" + QString::number(window->devicePixelRatioF());
            window->grab().save(QDir(QString::fromUtf8(folder)).filePath(name + ".png"));
        }
    }

    QtForms forms{makeQtFormView};
    ProgramWindows program{forms};
    Platform& platform = program.platform;
    PublicParm& parm = program.parm;
    FakePlatform& fake = program.fake;
    TempDir& dir = program.dir;
};

TEST_F(NativeWindows, DialogsAreCentredFixedAndReadAsSentences) {
    AboutForm about(platform, parm.ini, "http://tovlo.example/");
    about.show();
    check("about", qtWidgetOf(about.form()),
          {{{"Label2", "Label4"}, {"Label3", "Label5"}, {"Label7", "Label6"}}, true});

    ConfigForm settings({platform, parm, program.folders, program.autoStart, "/opt/Tovlo/Tovlo.exe"}, [] {});
    settings.form().show();
    QWidget* settingsWindow = qtWidgetOf(settings.form());
    check("settings", settingsWindow,
          {{{"Command3", "Command4"}, {"Label6", "historyNub"}, {"Command1", "Command2"}}, true});
    EXPECT_LE(settingsWindow->width() -
                  settingsWindow->mapFromGlobal(onScreen(named(settingsWindow, "Command2")).topRight()).x(),
              20)
        << "保存 and 放弃 stand at the right";

    CopyFace copy(platform, parm, {[](const std::string&) {}, [] {}}, [](CopyFace&) {});
    copy.form().show();
    check("copy", qtWidgetOf(copy.form()), {{}, true});

    NeedUpdate notice(platform, parm, [] {});
    notice.show();
    check("update-notice", qtWidgetOf(notice.form()), {{{"Label2", "Label4"}, {"Command1", "Command2"}}, true});

    FakeNetwork reads{fake.loop};
    UpdaterForm updater({fake.loop, fake.fetch, fake.codec, fake.messages, fake.processes, forms, reads}, dir.path(),
                        "svc", "1.0");
    check("updater", qtWidgetOf(updater.form()), {{}, true});
}

TEST_F(NativeWindows, PanelsReadAsSentencesWithTheirButtonsInTheMiddle) {
    check("upload-result",
          panel("AddfaceOverCon",
                [](Panel& p) {
                    p.setProperty("args", "-4");
                    p.invoke("dodo");
                }),
          {{{"Label3", "Label2"}}, false, "Command1"});
    check("pack-download", panel("PublicFaceDownLoader"),
          {{{"Label2", "ProgressBar1"},
            {"Label3", "ProgressBar2"},
            {"Label5", "ProgressBar3"},
            {"Label6", "ProgressBar4"}},
           false,
           "Command1"});
    check("own-faces-download", panel("MyFaceDownLoader"),
          {{{"Label1", "ProgressBar1"}, {"Label2", "ProgressBar2"}, {"Label3", "ProgressBar3"}}});
    check("pack-processing", panel("PublicFaceProcess"), {});
}

// A box with a short message is still wide enough for its title.
TEST_F(NativeWindows, AMessageBoxIsAsWideAsItsTitle) {
    int width = 0, titleWidth = 0;
    QTimer::singleShot(300, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        QFont bold = box->font();
        bold.setBold(true);
        titleWidth = QFontMetrics(bold).horizontalAdvance(box->windowTitle());
        width = box->width();
        if (const char* folder = std::getenv("TOVLO_SHOTS"))
            box->grab().save(QDir(QString::fromUtf8(folder))
                                 .filePath("message@" + QString::number(box->devicePixelRatioF()) + ".png"));
        box->accept();
    });
    QtMessageBox messages;
    static_cast<MessageBox&>(messages).show("成功！");  // the second box of a first start
    EXPECT_GT(titleWidth, 0) << "the box was shown";
    EXPECT_GE(width, titleWidth + 100) << "room for the title and the title bar's buttons";
}

}  // namespace
}  // namespace tovlo::test
