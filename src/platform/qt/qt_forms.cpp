#include "qt_forms.h"

#include <QBitmap>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>
#include <map>

#include "qt_browser_view.h"

namespace tovlo {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

class QtListBox : public ListBox {
public:
    explicit QtListBox(QListWidget* w) : w_(w) {}
    void addItem(const std::string& text) override { w_->addItem(q(text)); }
    int count() const override { return w_->count(); }
    std::string item(int index) const override {
        auto* it = w_->item(index);
        return it ? it->text().toStdString() : std::string();
    }
    void setSelectedIndex(int index) override {
        if (index == w_->currentRow()) return;
        w_->setCurrentRow(index);
        w_->scrollToItem(w_->currentItem());
    }
    int selectedIndex() const override { return w_->currentRow(); }

private:
    QListWidget* w_;
};

class QtLabel : public Label {
public:
    explicit QtLabel(QLabel* w) : w_(w) {}
    void setText(const std::string& text) override { w_->setText(q(text)); }
    std::string text() const override { return w_->text().toStdString(); }

private:
    QLabel* w_;
};

class QtProgressBar : public ProgressBar {
public:
    explicit QtProgressBar(QProgressBar* w) : w_(w) { w_->setRange(0, 100); }
    void setValue(int percent) override { w_->setValue(percent); }
    int value() const override { return w_->value(); }

private:
    QProgressBar* w_;
};

class QtButton : public Button {
public:
    explicit QtButton(QPushButton* w) : w_(w) {
        QObject::connect(w_, &QPushButton::clicked, [this] {
            if (onClick) onClick();
        });
    }
    void setText(const std::string& text) override { w_->setText(q(text)); }
    void setEnabled(bool on) override { w_->setEnabled(on); }
    bool isEnabled() const override { return w_->isEnabled(); }

private:
    QPushButton* w_;
};

class ClickableLabel : public QLabel {
public:
    using QLabel::QLabel;
    std::function<void()> clicked, moved;

protected:
    void mousePressEvent(QMouseEvent* e) override {
        QLabel::mousePressEvent(e);
        if (clicked) clicked();
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        QLabel::mouseMoveEvent(e);
        if (moved) moved();
    }
};

class QtPicture : public Picture {
public:
    QtPicture(ClickableLabel* w, std::function<void()> changed) : w_(w), changed_(std::move(changed)) {
        w_->setMouseTracking(true);
        w_->clicked = [this] {
            if (onClick) onClick();
        };
        w_->moved = [this] {
            if (onMouseMove) onMouseMove();
        };
    }
    void loadImageFile(const std::string& path) override {
        w_->setPixmap(QPixmap(q(path)));
        changed_();
    }

private:
    ClickableLabel* w_;
    std::function<void()> changed_;
};

class QtFrame : public Frame {
public:
    explicit QtFrame(QFrame* w) : w_(w) { w_->hide(); }
    void setVisible(bool visible) override { w_->setVisible(visible); }
    bool isVisible() const override { return w_->isVisible(); }
    void setGeometry(const Rect& r) override { w_->setGeometry(r.left, r.top, r.width, r.height); }
    Rect geometry() const override {
        QRect g = w_->geometry();
        return {g.left(), g.top(), g.width(), g.height()};
    }
    QFrame* widget() { return w_; }

private:
    QFrame* w_;
};

class QtForm : public Form {
public:
    explicit QtForm(QWidget* parent = nullptr) : widget_(parent), layout_(new QVBoxLayout(&widget_)) {
        if (!parent) widget_.resize(320, 240);
    }
    void setTitle(const std::string& title) override { widget_.setWindowTitle(q(title)); }
    void show() override { widget_.show(); }
    void hide() override { widget_.hide(); }
    bool isVisible() const override { return widget_.isVisible(); }
    void setGeometry(const Rect& r) override { widget_.setGeometry(r.left, r.top, r.width, r.height); }
    Rect geometry() const override {
        QRect g = widget_.geometry();
        return {g.left(), g.top(), g.width(), g.height()};
    }
    ListBox& listBox(const std::string& name) override {
        return control<QtListBox, QListWidget>(lists_, name);
    }
    Label& label(const std::string& name) override { return control<QtLabel, QLabel>(labels_, name); }
    ProgressBar& progressBar(const std::string& name) override {
        return control<QtProgressBar, QProgressBar>(bars_, name);
    }
    Button& button(const std::string& name) override {
        return control<QtButton, QPushButton>(buttons_, name);
    }
    BrowserView& browserView(const std::string& name) override {
        auto it = views_.find(name);
        if (it != views_.end()) return *it->second;
        auto made = std::make_unique<QtBrowserView>(&widget_);
        made->widget()->setObjectName(q(name));
        layout_->addWidget(made->widget());
        return *views_.emplace(name, std::move(made)).first->second;
    }
    Picture& picture(const std::string& name) override {
        auto it = pictures_.find(name);
        if (it != pictures_.end()) return *it->second;
        auto* w = new ClickableLabel(&widget_);
        w->setObjectName(q(name));
        layout_->addWidget(w);
        auto made = std::make_unique<QtPicture>(w, [this] { applyColourKey(); });
        return *pictures_.emplace(name, std::move(made)).first->second;
    }
    Frame& frame(const std::string& name) override {
        auto it = frames_.find(name);
        if (it != frames_.end()) return *it->second;
        // Frames are placed by the program, not by the layout.
        auto* w = new QFrame(&widget_);
        w->setObjectName(q(name));
        return *frames_.emplace(name, std::make_unique<QtFrame>(w)).first->second;
    }
    std::unique_ptr<Form> createPanel(const std::string& frameName, const std::string&) override {
        auto& f = static_cast<QtFrame&>(frame(frameName));
        auto panel = std::make_unique<QtForm>(f.widget());
        panel->widget_.setGeometry(0, 0, f.widget()->width(), f.widget()->height());
        return panel;
    }
    WindowHandle handle() const override { return static_cast<WindowHandle>(widget_.winId()); }
    void setTopMost() override {
        if (!(widget_.windowFlags() & Qt::WindowStaysOnTopHint)) {
            bool shown = widget_.isVisible();
            widget_.setWindowFlag(Qt::WindowStaysOnTopHint, true);
            if (shown) widget_.show();
        }
        widget_.raise();
    }
    void setTransparentColour(std::uint32_t rgb) override {
        colourKey_ = rgb;
        QPalette pal = widget_.palette();
        pal.setColor(QPalette::Window, QColor(QRgb(rgb)));
        widget_.setPalette(pal);
        widget_.setAutoFillBackground(true);
        applyColourKey();
    }

private:
    template <typename Wrapper, typename Widget>
    Wrapper& control(std::map<std::string, std::unique_ptr<Wrapper>>& all, const std::string& name) {
        auto it = all.find(name);
        if (it != all.end()) return *it->second;
        auto* w = new Widget(&widget_);
        w->setObjectName(q(name));
        layout_->addWidget(w);
        return *all.emplace(name, std::make_unique<Wrapper>(w)).first->second;
    }

    // Cuts the pixels of the key colour out of the window's shape.
    void applyColourKey() {
        if (colourKey_ < 0) return;
        QPixmap shot = widget_.grab();
        QBitmap mask = shot.createMaskFromColor(QColor(QRgb(static_cast<std::uint32_t>(colourKey_))),
                                                Qt::MaskOutColor);
        widget_.setMask(mask);
    }

    QWidget widget_;
    QVBoxLayout* layout_;
    std::int64_t colourKey_ = -1;
    std::map<std::string, std::unique_ptr<QtPicture>> pictures_;
    std::map<std::string, std::unique_ptr<QtFrame>> frames_;
    std::map<std::string, std::unique_ptr<QtListBox>> lists_;
    std::map<std::string, std::unique_ptr<QtLabel>> labels_;
    std::map<std::string, std::unique_ptr<QtProgressBar>> bars_;
    std::map<std::string, std::unique_ptr<QtButton>> buttons_;
    std::map<std::string, std::unique_ptr<QtBrowserView>> views_;
};

}  // namespace

std::unique_ptr<Form> QtForms::create(const std::string&) { return std::make_unique<QtForm>(); }

}  // namespace tovlo
