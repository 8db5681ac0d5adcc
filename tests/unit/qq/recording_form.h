#pragma once
// A fake form that also writes every move, show, hide and top-most request
// into a log shared with other forms, so a test can check their order.
#include <string>
#include <vector>

#include "platform/fake/fake_forms.h"

namespace tovlo::test {

class RecordingForm : public FakeForm {
public:
    RecordingForm(FakeForms& forms, std::string name, std::vector<std::string>& log)
        : FakeForm(forms, FormDescription(name)), log_(log) {}
    void setGeometry(const Rect& r) override {
        FakeForm::setGeometry(r);
        log_.push_back(name + ".move " + std::to_string(r.left) + "," + std::to_string(r.top) + " " +
                       std::to_string(r.width) + "x" + std::to_string(r.height));
    }
    void show() override {
        FakeForm::show();
        log_.push_back(name + ".show");
    }
    void hide() override {
        FakeForm::hide();
        log_.push_back(name + ".hide");
    }
    void setTopMost() override {
        FakeForm::setTopMost();
        log_.push_back(name + ".topmost");
    }

private:
    std::vector<std::string>& log_;
};

}  // namespace tovlo::test
