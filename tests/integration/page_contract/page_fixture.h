#pragma once
// A shipped page of the staged program folder in a real browser view of the
// main window's size (360 x 520), with every window.external call recorded.
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPoint>
#include <QUrl>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "integration/browser_view/desktop_input.h"
#include "integration/browser_view/view_fixture.h"
#include "platform/posix/iconv_codec.h"

namespace tovlo::test {

inline std::string programFile(const std::string& relative) { return std::string(TOVLO_PROGRAM_DIR) + "/" + relative; }

// A text as a script string literal.
inline std::string jsString(const std::string& text) {
    return QJsonDocument(QJsonObject{{"s", QString::fromStdString(text)}})
        .toJson(QJsonDocument::Compact)
        .mid(5)
        .chopped(1)
        .toStdString();
}

// file:///... for an absolute local path.
inline std::string fileUrl(const std::string& path) {
    return QUrl::fromLocalFile(QString::fromStdString(path)).toString(QUrl::FullyEncoded).toStdString();
}

class PageTest : public ViewTest {
protected:
    static constexpr int kWidth = 360;
    static constexpr int kHeight = 520;

    void SetUp() override {
        ViewTest::SetUp();
        form->setGeometry({40, 40, kWidth, kHeight});
        view->setGeometry({0, 0, kWidth, kHeight});
    }

    // Shows a page (a local path, optionally with a query) and waits until
    // it has loaded.
    void show(const std::string& path) {
        view->navigate(path);
        view->runScript("0");
    }

    // The value of a script expression, as text.
    std::string evaluate(const std::string& expression) {
        const size_t before = textsOf("probe").size();
        view->runScript("external.calls('probe', String(" + expression + "))");
        if (!waitFor([&] { return textsOf("probe").size() > before; })) return "<no answer>";
        return textsOf("probe").back();
    }

    bool holds(const std::string& condition) { return evaluate("!!(" + condition + ")") == "true"; }

    // Waits for a condition of the page to hold.
    bool waitForPage(const std::string& condition, int timeoutMs = 5000) {
        return waitFor([&] { return holds(condition); }, timeoutMs);
    }

    void expectFunctions(std::initializer_list<const char*> names) {
        for (const char* name : names) {
            EXPECT_NO_THROW(view->runScript(std::string("if (typeof ") + name + " !== 'function') throw new Error('" +
                                            name + " is not defined')"))
                << name;
        }
    }

    // Clicks the element by script (the page's own handlers run).
    void click(const std::string& selector) {
        view->runScript("document.querySelector(" + jsString(selector) + ").click()");
    }

    // The centre of an element in view coordinates; the expression gives the element.
    QPoint centreOf(const std::string& elementExpression) {
        const std::string json = evaluate(
            "(function (e) { var r = e.getBoundingClientRect(); var x = r.left + r.width / 2, y = r.top + r.height / 2;"
            " for (var w = e.ownerDocument.defaultView; w.frameElement; w = w.parent) {"
            "   var f = w.frameElement.getBoundingClientRect(); x += f.left; y += f.top; }"
            " return JSON.stringify({x: Math.round(x), y: Math.round(y)}); })(" +
            elementExpression + ")");
        const QJsonObject o = QJsonDocument::fromJson(QByteArray::fromStdString(json)).object();
        return {o.value("x").toInt(-1), o.value("y").toInt(-1)};
    }

    // A real mouse click through the X server at a point of the view.
    bool mouseClick(QPoint at) { return clickView(viewWidget("web"), at); }

    bool mouseMove(QPoint at) {
        QWidget* w = viewWidget("web");
        if (!w) return false;
        const QPoint p = w->mapToGlobal(at);
        return xdotool({QStringLiteral("mousemove"), QString::number(p.x()), QString::number(p.y())});
    }

    // Empties the clipboard of pictures, so a later picture is the page's.
    void clearClipboard() { QApplication::clipboard()->setText(QStringLiteral("before")); }
    // The picture the page put on the clipboard. Qt learns of it through the
    // event loop, which a busy machine may delay: wait for it to be there.
    QImage clipboardImage() {
        QImage image;
        waitFor(
            [&] {
                image = QApplication::clipboard()->image();
                return !image.isNull();
            },
            5000);
        return image;
    }

    // Writes a page made from a template: the program reads and writes pages
    // as GBK and replaces each placeholder in the order given.
    void instantiate(const std::string& templateFile, const std::string& out,
                     const std::vector<std::pair<std::string, std::string>>& values) {
        std::string text = codec.ansiToUtf8(readBytes(programFile(templateFile)));
        for (const auto& [key, value] : values) {
            for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + value.size()))
                text.replace(at, key.size(), value);
        }
        writeBytes(out, codec.utf8ToAnsi(text));
    }

    IconvCodec codec;
};

}  // namespace tovlo::test
