#pragma once
// A real main window with the face library's panels, on the fake platform
// with a fake network and fake images.
#include "library/library_deps.h"
#include "main_form_fixture.h"
#include "platform/fake/fake_async_url_read.h"
#include "platform/fake/fake_images.h"

namespace tovlo::test {

class LibraryTest : public MainFormTest {
protected:
    // The panels hold readers of the fake network: they go first.
    void TearDown() override { main.reset(); }
    // Loads the main window and registers the library's panels.
    void startLibrary();
    // The panel of that class living in the slot, or null.
    template <class P>
    P* panel() {
        return dynamic_cast<P*>(main->control(MainForm::kSlot));
    }
    FakeForm* panelForm(const std::string& className) { return fake.forms.find(className); }
    std::string faceUrl(const std::string& path) const { return "http://svc/soft/" + path; }
    void answer(const std::string& url, const std::string& bytes) { net.answers[url] = FakeAnswer{bytes}; }
    // Lets the virtual clock run long enough for every pending step.
    void settle() { fake.loop.advance(5000); }

    FakeNetwork net{fake.loop};
    FakeImages images;
};

}  // namespace tovlo::test
