#include "qt_forms.h"

#include <QApplication>
#include <QBitmap>
#include <QComboBox>
#include <QCursor>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegion>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>
#include <map>
#include <optional>
#include <type_traits>

#include <stdexcept>

#include "platform/commands.h"

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

class QtLabel : public Label {
public:
    QtLabel(ClickableLabel* w, Flow flow) : w_(w) {
        // In a column the text takes more lines when it is long (panels are
        // narrow); beside other controls a label is one line, as wide as
        // its text.
        w_->setWordWrap(flow == Flow::Column || flow == Flow::Centred);
        if (flow == Flow::Centred) w_->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
        w_->clicked = [this] {
            if (onClick) events_.deliver(onClick);
        };
    }
    void setText(const std::string& text) override {
        text_ = text;
        w_->setText(q(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    }
    std::string text() const override { return text_; }
    int height() const override {
        settle();
        return w_->height();
    }
    void setHeight(int pixels) override { w_->setFixedHeight(pixels); }
    int fittedHeight() const override {
        settle();
        return w_->heightForWidth(w_->width());
    }

private:
    // The form's layout has given the label its size (it does so lazily).
    void settle() const {
        if (QWidget* form = w_->parentWidget())
            if (QLayout* layout = form->layout()) layout->activate();
    }
    ClickableLabel* w_;
    std::string text_;
    EventSource events_{"a click on a label"};
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
            if (onClick) events_.deliver(onClick);
        });
    }
    void setText(const std::string& text) override {
        w_->setText(q(text));
        // Room on both sides of the caption, at any scale.
        const QFontMetrics metrics(w_->font());
        w_->setMinimumWidth(metrics.horizontalAdvance(w_->text()) + 2 * metrics.height());
    }
    void setEnabled(bool on) override { w_->setEnabled(on); }
    bool isEnabled() const override { return w_->isEnabled(); }

private:
    QPushButton* w_;
    EventSource events_{"a click on a button"};
};

class QtOptionButton : public OptionButton {
public:
    explicit QtOptionButton(QRadioButton* w) : w_(w) {}
    void setText(const std::string& text) override { w_->setText(q(text)); }
    void setChecked(bool on) override {
        // An exclusive set never lets its chosen button go by itself.
        w_->setAutoExclusive(on);
        w_->setChecked(on);
        w_->setAutoExclusive(true);
    }
    bool isChecked() const override { return w_->isChecked(); }

private:
    QRadioButton* w_;
};

class QtTextBox : public TextBox {
public:
    explicit QtTextBox(QLineEdit* w) : w_(w) {}
    void setText(const std::string& text) override { w_->setText(q(text)); }
    std::string text() const override { return w_->text().toStdString(); }

private:
    QLineEdit* w_;
};

class QtDropDownList : public ListBox {
public:
    explicit QtDropDownList(QComboBox* w) : w_(w) {}
    void addItem(const std::string& text) override { w_->addItem(q(text)); }
    int count() const override { return w_->count(); }
    std::string item(int index) const override { return w_->itemText(index).toStdString(); }
    void setSelectedIndex(int index) override { w_->setCurrentIndex(index); }
    int selectedIndex() const override { return w_->currentIndex(); }

private:
    QComboBox* w_;
};

class QtPicture : public Picture {
public:
    QtPicture(ClickableLabel* w, std::function<void()> changed) : w_(w), changed_(std::move(changed)) {
        // A picture box with nothing in it shows nothing and takes no room
        // in its form (the bar would grow by an empty line).
        w_->hide();
        w_->setMouseTracking(true);
        w_->clicked = [this] {
            if (onClick) events_.deliver(onClick);
        };
        w_->moved = [this] {
            if (onMouseMove) events_.deliver(onMouseMove);
        };
    }
    void loadImageFile(const std::string& path) override {
        const QPixmap picture(q(path));
        w_->setPixmap(picture);
        w_->setVisible(!picture.isNull());
        changed_();
    }

private:
    ClickableLabel* w_;
    std::function<void()> changed_;
    EventSource events_{"a click on a picture"};
};

class QtFrame : public Frame {
public:
    explicit QtFrame(QFrame* w) : w_(w) { w_->hide(); }
    void setVisible(bool visible) override {
        w_->setVisible(visible);
        if (visible) w_->raise();  // above the page views
    }
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

// Tells the form of resizes and of closing by the user.
class FormEvents : public QObject {
public:
    explicit FormEvents(QWidget& window) : window_(window) {}
    std::function<void()> resized, closed, pressed;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (watched == &window_) {
            if (e->type() == QEvent::Resize && resized) resized();
            if (e->type() == QEvent::Close && closed) closed();
        }
        // Presses reach the innermost widget (a page view's own child), so
        // they are watched application-wide and kept when inside this window.
        // The second press of a double click arrives as a double click only.
        const bool press = e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick;
        if (press && pressed && watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == &window_)
            pressed();
        return QObject::eventFilter(watched, e);
    }

private:
    QWidget& window_;
};

Qt::WindowFlags flagsFor(const WindowStyle& style) {
    Qt::WindowFlags flags = style.frameless ? Qt::Tool | Qt::FramelessWindowHint : Qt::Window;
    // A dialog's title bar offers closing only.
    if (style.fixedSize && !style.frameless)
        flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
    if (style.topMost) flags |= Qt::WindowStaysOnTopHint;
    return flags;
}

// The layout of a container of the flow. Box layouts keep a stretch where
// the space left over goes: after the controls, before them (Buttons), or
// on both sides (Centred).
QLayout* makeLayout(Flow flow, QWidget* widget) {
    if (flow == Flow::Pairs) {
        auto* grid = new QGridLayout(widget);
        grid->setColumnStretch(1, 1);
        return grid;
    }
    const bool across = flow == Flow::Row || flow == Flow::Buttons;
    auto* box = new QBoxLayout(across ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom, widget);
    box->addStretch();
    if (flow == Flow::Centred) box->addStretch();
    return box;
}

class QtForm : public Form {
public:
    // A window or panel lays out its controls as its description says; a
    // group or tab page (with a parent) in the flow it is given.
    QtForm(std::shared_ptr<const FormDescription> description, const QtViewMaker& makeView, QWidget* parent = nullptr,
           std::optional<Flow> flow = std::nullopt)
        : Form(std::move(description)),
          makeView_(makeView),
          widget_(parent),
          flow_(flow.value_or(this->description().flow())),
          layout_(makeLayout(flow_, &widget_)) {
        if (!parent) {
            const WindowStyle& style = this->description().style();
            widget_.setWindowFlags(flagsFor(style));
            widget_.resize(320, 240);
            // A window beside the chat window the user types into must not
            // take its keyboard focus: it gets it when clicked or asked to
            // (activate).
            if (style.showsWithoutFocus) widget_.setAttribute(Qt::WA_ShowWithoutActivating);
        }
        events_.resized = [this] {
            applyColourKey();
            if (onResized) onResized();
        };
        events_.closed = [this] {
            if (onClosed) closing_.deliver(onClosed);
        };
        events_.pressed = [this] {
            if (onPressed) onPressed();
        };
        widget_.installEventFilter(&events_);
        if (!parent) qApp->installEventFilter(&events_);
    }
    void setTitle(const std::string& title) override { widget_.setWindowTitle(q(title)); }
    // Each call changes only what differs: the tracking tick repeats them
    // 50 times a second.
    void show() override {
        if (widget_.isVisible()) return;
        if (description().style().fixedSize && !widget_.parentWidget()) fixToContent();
        widget_.show();
    }
    void hide() override {
        if (widget_.isVisible()) widget_.hide();
    }
    // Qt asks the window manager once the window is mapped, and treats the
    // window as active at once, so that its pages have the focus when the
    // window manager's answer is slow or never comes.
    void activate() override {
        widget_.activateWindow();
        QApplication::setActiveWindow(&widget_);
    }
    bool isVisible() const override { return widget_.isVisible(); }
    void setGeometry(const Rect& r) override {
        placed_ = true;
        const QRect want(r.left, r.top, r.width, r.height);
        if (widget_.geometry() != want) widget_.setGeometry(want);
    }
    Rect geometry() const override {
        QRect g = widget_.geometry();
        return {g.left(), g.top(), g.width(), g.height()};
    }
    void setSize(int width, int height) override {
        sized_ = true;
        widget_.resize(width, height);
        // A dialog is centred when it is shown, at the size its content needs.
        if (placed_ || widget_.parentWidget() || description().style().fixedSize) return;
        placed_ = true;
        centreOnScreen(widget_.size());
    }
    QWidget& widget() { return widget_; }

protected:
    ListBox& listBoxImpl(const std::string& name) override { return control<QtListBox, QListWidget>(lists_, name); }
    Label& labelImpl(const std::string& name) override { return control<QtLabel, ClickableLabel>(labels_, name); }
    ProgressBar& progressBarImpl(const std::string& name) override {
        return control<QtProgressBar, QProgressBar>(bars_, name);
    }
    Button& buttonImpl(const std::string& name) override { return control<QtButton, QPushButton>(buttons_, name); }
    BrowserView& browserViewImpl(const std::string& name) override {
        auto it = views_.find(name);
        if (it != views_.end()) return *it->second;
        if (!makeView_) throw std::logic_error("this program has no browser views (asked for " + name + ")");
        QtFormView made = makeView_(&widget_);
        made.widget->setObjectName(q(name));
        place(made.widget, 1);
        return *views_.emplace(name, std::move(made.view)).first->second;
    }
    Picture& pictureImpl(const std::string& name) override {
        auto it = pictures_.find(name);
        if (it != pictures_.end()) return *it->second;
        auto* w = new ClickableLabel(&widget_);
        w->setObjectName(q(name));
        place(w);
        auto made = std::make_unique<QtPicture>(w, [this] { applyColourKey(); });
        return *pictures_.emplace(name, std::move(made)).first->second;
    }
    Frame& frameImpl(const std::string& name) override {
        auto it = frames_.find(name);
        if (it != frames_.end()) return *it->second;
        // Frames are placed by the program, not by the layout.
        auto* w = new QFrame(&widget_);
        w->setObjectName(q(name));
        // Opaque: a panel in the frame covers the page views under it.
        w->setAutoFillBackground(true);
        return *frames_.emplace(name, std::make_unique<QtFrame>(w)).first->second;
    }
    OptionButton& optionButtonImpl(const std::string& name) override {
        return control<QtOptionButton, QRadioButton>(options_, name);
    }
    TextBox& textBoxImpl(const std::string& name) override { return control<QtTextBox, QLineEdit>(textBoxes_, name); }
    ListBox& dropDownListImpl(const std::string& name) override {
        return control<QtDropDownList, QComboBox>(dropDowns_, name);
    }
    Form& groupImpl(const std::string& name, const std::string& caption, Flow flow) override {
        auto it = containers_.find(name);
        if (it != containers_.end()) return *it->second;
        std::unique_ptr<QtForm> inner;
        // A row of controls keeps its own width (in a centred form it is
        // centred); other groups are as wide as the form.
        const bool ownWidth = flow == Flow::Row;
        if (caption.empty()) {
            inner = std::make_unique<QtForm>(sharedDescription(), makeView_, &widget_, flow);
            inner->widget_.setObjectName(q(name));
            place(&inner->widget_, 0, ownWidth);
        } else {
            auto* box = new QGroupBox(q(caption), &widget_);
            box->setObjectName(q(name));
            inner = std::make_unique<QtForm>(sharedDescription(), makeView_, box, flow);
            (new QVBoxLayout(box))->addWidget(&inner->widget_);
            place(box, 0, ownWidth);
        }
        inner->layout_->setContentsMargins(0, 0, 0, 0);
        return *containers_.emplace(name, std::move(inner)).first->second;
    }
    Form& tabPageImpl(const std::string& tabsName, const std::string& caption) override {
        const std::string key = tabsName + '\n' + caption;
        auto it = containers_.find(key);
        if (it != containers_.end()) return *it->second;
        QTabWidget*& tabs = tabWidgets_[tabsName];
        if (!tabs) {
            tabs = new QTabWidget(&widget_);
            tabs->setObjectName(q(tabsName));
            place(tabs);
        }
        auto page = std::make_unique<QtForm>(sharedDescription(), makeView_, tabs, Flow::Column);
        tabs->addTab(&page->widget_, q(caption));
        return *containers_.emplace(key, std::move(page)).first->second;
    }
    std::unique_ptr<Form> createPanelImpl(const std::string& frameName, const FormDescription& description) override {
        auto& f = static_cast<QtFrame&>(frame(frameName));
        auto panel =
            std::make_unique<QtForm>(std::make_shared<const FormDescription>(description), makeView_, f.widget());
        panel->widget_.setAutoFillBackground(true);
        panel->widget_.setGeometry(0, 0, f.widget()->width(), f.widget()->height());
        return panel;
    }

public:
    // The window system's id of the window as it is now: a change of its
    // flags (setTopMost) makes the toolkit replace the window, and the
    // widget's own record of the id can keep the old one.
    WindowHandle handle() const override {
        if (const QWindow* window = widget_.windowHandle()) return static_cast<WindowHandle>(window->winId());
        return static_cast<WindowHandle>(widget_.winId());
    }
    void setTopMost() override {
        // The window manager keeps a window with this hint above the others,
        // so it is raised once when it gets the hint, not at every tick.
        if (widget_.windowFlags() & Qt::WindowStaysOnTopHint) return;
        bool shown = widget_.isVisible();
        widget_.setWindowFlag(Qt::WindowStaysOnTopHint, true);
        if (shown) widget_.show();
        widget_.raise();
    }
    void setTransparentColour(std::uint32_t rgb) override {
        colourKey_ = rgb;
        layout_->setContentsMargins(0, 0, 0, 0);
        layout_->setSpacing(0);
        QPalette pal = widget_.palette();
        pal.setColor(QPalette::Window, QColor(QRgb(rgb)));
        widget_.setPalette(pal);
        widget_.setAutoFillBackground(true);
        applyColourKey();
    }

private:
    // Adds a control after the others. In a centred form a control that
    // keeps its own width (a button, a row) is centred; the others, and
    // every control of a column, are as wide as the form.
    void place(QWidget* w, int stretch = 0, bool ownWidth = false) {
        if (auto* grid = qobject_cast<QGridLayout*>(layout_)) {
            const int at = pairsPlaced_++;
            grid->addWidget(w, at / 2, at % 2, at % 2 ? Qt::Alignment() : Qt::AlignLeft | Qt::AlignVCenter);
            return;
        }
        auto* box = static_cast<QBoxLayout*>(layout_);
        const Qt::Alignment align = flow_ == Flow::Centred && ownWidth ? Qt::AlignHCenter : Qt::Alignment();
        if (flow_ == Flow::Buttons)
            box->addWidget(w, stretch, align);
        else
            box->insertWidget(box->count() - 1, w, stretch, align);
    }

    template <typename Wrapper, typename Widget>
    Wrapper& control(std::map<std::string, std::unique_ptr<Wrapper>>& all, const std::string& name) {
        auto it = all.find(name);
        if (it != all.end()) return *it->second;
        auto* w = new Widget(&widget_);
        w->setObjectName(q(name));
        std::unique_ptr<Wrapper> made;
        if constexpr (std::is_same_v<Wrapper, QtLabel>)
            made = std::make_unique<Wrapper>(w, flow_);
        else
            made = std::make_unique<Wrapper>(w);
        place(w, 0, std::is_same_v<Widget, QPushButton>);
        return *all.emplace(name, std::move(made)).first->second;
    }

    // Cuts the pixels of the key colour out of the window's shape (so the
    // window works without a compositor). Redone whenever the content changes.
    void applyColourKey() {
        // grab() itself sends the widget a resize event: do not recurse.
        if (colourKey_ < 0 || shaping_) return;
        shaping_ = true;
        layout_->activate();
        const QImage shot = widget_.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRgb key = 0xFF000000u | static_cast<std::uint32_t>(colourKey_);
        QRegion shape;
        for (int y = 0; y < shot.height(); ++y) {
            const QRgb* line = reinterpret_cast<const QRgb*>(shot.constScanLine(y));
            for (int x = 0; x < shot.width();) {
                if (line[x] == key) {
                    ++x;
                    continue;
                }
                int end = x;
                while (end < shot.width() && line[end] != key) ++end;
                shape += QRect(x, y, end - x, 1);
                x = end;
            }
        }
        widget_.setMask(shape);
        shaping_ = false;
    }

    // A dialog takes the size its content needs (at least the size it was
    // given) for good, and is centred unless the program placed it.
    void fixToContent() {
        layout_->activate();
        QSize size = sized_ ? widget_.size().expandedTo(widget_.sizeHint()) : widget_.sizeHint();
        // A label that wraps guesses its width in its size hint, and its
        // height with it: at the window's real width it needs less (or more).
        if (layout_->hasHeightForWidth())
            size.setHeight(std::max({sized_ ? widget_.height() : 0, layout_->totalHeightForWidth(size.width()),
                                     layout_->totalMinimumSize().height()}));
        widget_.setFixedSize(size);
        if (!placed_) {
            placed_ = true;
            centreOnScreen(size);
        }
    }
    // The size is the one just fixed: a hidden window may report its
    // earlier one until it is shown.
    void centreOnScreen(QSize size) {
        QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
        if (!screen) screen = widget_.screen();
        if (screen) widget_.move(screen->availableGeometry().center() - QPoint(size.width() / 2, size.height() / 2));
    }

    const QtViewMaker& makeView_;
    QWidget widget_;
    Flow flow_;
    QLayout* layout_;
    int pairsPlaced_ = 0;  // controls placed in a grid of pairs
    bool sized_ = false;   // given a size by the program
    FormEvents events_{widget_};
    EventSource closing_{"closing a window"};
    std::int64_t colourKey_ = -1;
    bool shaping_ = false;
    bool placed_ = false;  // moved by the program (setSize then leaves it where it is)
    std::map<std::string, std::unique_ptr<QtPicture>> pictures_;
    std::map<std::string, std::unique_ptr<QtFrame>> frames_;
    std::map<std::string, std::unique_ptr<QtListBox>> lists_;
    std::map<std::string, std::unique_ptr<QtLabel>> labels_;
    std::map<std::string, std::unique_ptr<QtProgressBar>> bars_;
    std::map<std::string, std::unique_ptr<QtButton>> buttons_;
    std::map<std::string, std::unique_ptr<BrowserView>> views_;
    std::map<std::string, std::unique_ptr<QtOptionButton>> options_;
    std::map<std::string, std::unique_ptr<QtTextBox>> textBoxes_;
    std::map<std::string, std::unique_ptr<QtDropDownList>> dropDowns_;
    std::map<std::string, QTabWidget*> tabWidgets_;  // owned by the window
    // Groups and tab pages; made after the controls above and gone before them.
    std::map<std::string, std::unique_ptr<QtForm>> containers_;
};

}  // namespace

std::unique_ptr<Form> QtForms::create(const FormDescription& description) {
    return std::make_unique<QtForm>(std::make_shared<const FormDescription>(description), makeView_);
}

QWidget* qtWidgetOf(Form& form) {
    auto* qt = dynamic_cast<QtForm*>(&form);
    return qt ? &qt->widget() : nullptr;
}

}  // namespace tovlo
