#include "qt_forms.h"

#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>
#include <map>
#include <stdexcept>

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

class QtForm : public Form {
public:
    QtForm() : layout_(new QVBoxLayout(&widget_)) { widget_.resize(320, 240); }
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
        throw std::logic_error("no browser view support in this build: " + name);
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

    QWidget widget_;
    QVBoxLayout* layout_;
    std::map<std::string, std::unique_ptr<QtListBox>> lists_;
    std::map<std::string, std::unique_ptr<QtLabel>> labels_;
    std::map<std::string, std::unique_ptr<QtProgressBar>> bars_;
    std::map<std::string, std::unique_ptr<QtButton>> buttons_;
};

}  // namespace

std::unique_ptr<Form> QtForms::create(const std::string&) { return std::make_unique<QtForm>(); }

}  // namespace tovlo
