// fakeqq: a stand-in chat window for end-to-end runs. Its top-level window
// has the class "TXGuiFoundation" (both parts of WM_CLASS) and the title
// given on the command line; its rich-text input box accepts pastes and
// reports each one on standard output:
//   pasted image <width>x<height>
//   pasted text <text>
// Key presses in the input box are reported as "key <code> at <ms>".
// With --copy-qq PATH it also puts data in the format "QQ_RichEdit_Format"
// on the clipboard, holding filepath="PATH", the way the chat client
// describes a picture copied in a chat (its text in GBK, the ANSI code page
// of the systems the client runs on). With --size WIDTHxHEIGHT the window has
// that size (500x600 when not given).
#include <iconv.h>
#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QImage>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextEdit>
#include <QVBoxLayout>
#include <QWidget>

#include <cstdio>

#include "class_hint.h"

namespace {

long long nowMs() { return QDateTime::currentMSecsSinceEpoch(); }

class InputBox : public QTextEdit {
protected:
    void keyPressEvent(QKeyEvent* e) override {
        std::printf("key %d at %lld\n", e->key(), nowMs());
        std::fflush(stdout);
        QTextEdit::keyPressEvent(e);
    }
    void insertFromMimeData(const QMimeData* source) override {
        if (source->hasImage()) {
            QImage image = qvariant_cast<QImage>(source->imageData());
            std::printf("pasted image %dx%d at %lld\n", image.width(), image.height(), nowMs());
        } else if (source->hasText()) {
            std::printf("pasted text %s\n", source->text().toUtf8().constData());
        } else {
            std::printf("pasted other %s\n", source->formats().join(",").toUtf8().constData());
        }
        std::fflush(stdout);
        QTextEdit::insertFromMimeData(source);
    }
};

}  // namespace

// The text in GBK; characters GBK lacks are left out.
QByteArray gbk(const QString& text) {
    QByteArray utf8 = text.toUtf8();
    QByteArray out(utf8.size() * 2 + 4, '\0');
    iconv_t cd = iconv_open("GBK//IGNORE", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return utf8;
    char* in = utf8.data();
    char* to = out.data();
    size_t inLeft = static_cast<size_t>(utf8.size()), outLeft = static_cast<size_t>(out.size());
    iconv(cd, &in, &inLeft, &to, &outLeft);
    iconv_close(cd);
    out.truncate(out.size() - static_cast<int>(outLeft));
    return out;
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QString title = "张三";
    QString copyPath;
    QSize size(500, 600);
    QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--copy-qq" && i + 1 < args.size()) {
            copyPath = args[++i];
        } else if (args[i] == "--size" && i + 1 < args.size()) {
            const QStringList wh = args[++i].split('x');
            if (wh.size() == 2) size = QSize(wh[0].toInt(), wh[1].toInt());
        } else {
            title = args[i];
        }
    }

    QWidget window;
    window.setWindowTitle(title);
    auto* layout = new QVBoxLayout(&window);
    auto* history = new QTextEdit;
    history->setReadOnly(true);
    history->setPlainText("fakeqq: " + title);
    auto* input = new InputBox;
    layout->addWidget(history, 3);
    layout->addWidget(input, 1);
    window.resize(size);
    window.winId();
    setClassHint(static_cast<unsigned long>(window.winId()), "TXGuiFoundation");
    window.show();
    input->setFocus();

    if (!copyPath.isEmpty()) {
        auto* data = new QMimeData;
        QByteArray block = "<QQRichEditFormat><EditElement type=\"1\" filepath=\"" + gbk(copyPath) +
                           "\" shortcut=\"\"></EditElement></QQRichEditFormat>";
        block.append('\0');
        data->setData("QQ_RichEdit_Format", block);
        QApplication::clipboard()->setMimeData(data);
    }
    std::printf("fakeqq ready %llu\n", static_cast<unsigned long long>(window.winId()));
    std::fflush(stdout);
    return app.exec();
}
