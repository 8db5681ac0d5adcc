// The program's own windows on the Win32 forms as a user reads them:
// captions beside their values on one line, every control inside its
// container and none over another, nothing cut off, a dialog of
// fixed size centred on the screen without a maximise box, a panel's
// buttons in its middle, the bar's picture on its key colour. With
// TOVLO_SHOTS=FOLDER each window is also saved as a bitmap.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "chat_window.h"
#include "platform/win/win_dpi.h"
#include "platform/win/win_form_controls.h"
#include "platform/win/win_forms.h"
#include "platform/win/win_text.h"
#include "qq/buttom_frm.h"
#include "support/image_samples.h"
#include "support/program_windows.h"

namespace tovlo::test {
namespace {

HWND hwndOf(const Form& form) { return reinterpret_cast<HWND>(form.handle()); }

HWND named(HWND window, const std::string& name) { return controlNamed(window, name); }

RECT onScreen(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

// Every shown control of the window, however deep.
template <typename Visit>
void eachShownControl(HWND window, Visit visit) {
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        visit(child);
        eachShownControl(child, visit);
    }
}

bool ofClass(HWND window, const wchar_t* name) {
    wchar_t kind[64] = {};
    GetClassNameW(window, kind, 64);
    return _wcsicmp(kind, name) == 0;
}

// A group's frame and a tab control are drawn round other controls.
bool holdsOthers(HWND control) {
    return ofClass(control, L"SysTabControl32") ||
           (ofClass(control, L"Button") && (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX);
}

// Every shown control lies inside its container and beside the others.
void expectInsideAndApart(HWND parent) {
    RECT inside;
    GetClientRect(parent, &inside);
    std::vector<std::pair<HWND, RECT>> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        RECT r = onScreen(child);
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
        children.push_back({child, r});
    }
    for (const auto& [child, a] : children) {
        EXPECT_TRUE(a.left >= 0 && a.top >= 0 && a.right <= inside.right && a.bottom <= inside.bottom)
            << narrow(windowText(child)) << " outside its container";
        for (const auto& [other, b] : children) {
            RECT both;
            if (other != child && !holdsOthers(child) && !holdsOthers(other)) {
                EXPECT_FALSE(IntersectRect(&both, &a, &b)) << narrow(windowText(child)) << " over another control";
            }
        }
        expectInsideAndApart(child);
    }
}

// The window as it is on the screen (the part on the screen), as a 32-bit
// bitmap file.
void saveShot(HWND window, const std::string& file) {
    const RECT whole = onScreen(window), desk{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT r;
    IntersectRect(&r, &whole, &desk);
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    HBITMAP shot = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(memory, shot);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = w;
    info.biHeight = -h;  // top-down
    info.biPlanes = 1;
    info.biBitCount = 32;
    std::string pixels(static_cast<size_t>(w) * h * 4, '\0');
    GetDIBits(memory, shot, 0, static_cast<UINT>(h), pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
              DIB_RGB_COLORS);
    DeleteObject(shot);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    const std::uint32_t offset = 14 + sizeof info;
    std::ofstream out(file, std::ios::binary);
    out << "BM" << littleEndian(offset + static_cast<std::uint32_t>(pixels.size()), 4) << littleEndian(0, 4)
        << littleEndian(offset, 4);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out << pixels;
}

class NativeWindows : public ::testing::Test {
protected:
    struct Expect {
        std::vector<std::pair<const char*, const char*>> lines;  // controls side by side on one line
        bool dialog = false;            // fixed in size, no maximise box, centred on the screen
        const char* centred = nullptr;  // a button in the middle of its panel, at its own width
    };
    // What every window must hold to, and what this one is expected to be.
    void check(const char* what, Form& form, const Expect& expect) {
        SCOPED_TRACE(what);
        const HWND window = hwndOf(form);
        runMessages(100);
        ASSERT_TRUE(IsWindowVisible(window));
        for (auto [left, right] : expect.lines) {
            const RECT a = onScreen(named(window, left)), b = onScreen(named(window, right));
            EXPECT_LE(std::abs((a.top + a.bottom) / 2 - (b.top + b.bottom) / 2), 2)
                << left << " and " << right << " on one line";
            EXPECT_LE(a.right, b.left) << left << " before " << right;
        }
        expectInsideAndApart(window);
        eachShownControl(window, [](HWND control) {
            const std::wstring text = windowText(control);
            const RECT r = onScreen(control);
            const int width = r.right - r.left, height = r.bottom - r.top;
            if (ofClass(control, L"Static") && !text.empty()) {
                const bool oneLine = (GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) == SS_LEFTNOWORDWRAP;
                const SIZE needed = textSize(control, text, oneLine ? 0 : width);
                EXPECT_GE(oneLine ? width : height, oneLine ? needed.cx : needed.cy) << narrow(text) << " is cut";
            }
            if (ofClass(control, L"Button") && (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_PUSHBUTTON) {
                const SIZE caption = textSize(control, text);
                EXPECT_GE(width, caption.cx + caption.cy) << narrow(text) << " has no room beside its caption";
            }
        });
        if (expect.dialog) {
            const LONG style = GetWindowLongW(window, GWL_STYLE);
            EXPECT_FALSE(style & (WS_THICKFRAME | WS_MAXIMIZEBOX)) << "the user cannot resize it";
            MONITORINFO screen{};
            screen.cbSize = sizeof screen;
            GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &screen);
            const RECT r = onScreen(window), &work = screen.rcWork;
            EXPECT_LE(std::abs((r.left + r.right - work.left - work.right) / 2) +
                          std::abs((r.top + r.bottom - work.top - work.bottom) / 2),
                      40)
                << "centred on the screen";
        }
        if (expect.centred) {
            const RECT area = onScreen(named(window, "Frame1")), b = onScreen(named(window, expect.centred));
            EXPECT_LE(std::abs((area.left + area.right) / 2 - (b.left + b.right) / 2), 2)
                << expect.centred << " in the panel's middle";
            EXPECT_LT(b.right - b.left, (area.right - area.left) / 2) << expect.centred << " keeps its own width";
        }
        if (const char* folder = std::getenv("TOVLO_SHOTS"))
            saveShot(window, std::string(folder) + "/" + what + ".bmp");
        // Out of the way of the next window's picture.
        if (expect.dialog) form.hide();
    }

    // The pages of the about box stand in an empty child window: web
    // views are not part of these forms.
    WinForms forms{[](HWND parent) {
        return WinFormView{
            std::make_unique<FakeBrowserView>(),
            CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent, nullptr, nullptr, nullptr)};
    }};
    ProgramWindows program{forms};
};

TEST_F(NativeWindows, DialogsAreCentredFixedAndReadAsSentences) {
    ProgramWindows& p = program;
    AboutForm about(p.platform, p.parm.ini, "http://tovlo.example/");
    about.show();
    check("about", about.form(), {{{"Label2", "Label4"}, {"Label3", "Label5"}, {"Label7", "Label6"}}, true});

    ConfigForm settings({p.platform, p.parm, p.folders, p.autoStart, "C:\\Tovlo\\Tovlo.exe"}, [] {});
    settings.form().show();
    check("settings", settings.form(),
          {{{"Command3", "Command4"}, {"Label6", "historyNub"}, {"Command1", "Command2"}}, true});

    CopyFace copy(p.platform, p.parm, {[](const std::string&) {}, [] {}}, [](CopyFace&) {});
    copy.form().show();
    check("copy", copy.form(), {{}, true});

    NeedUpdate notice(p.platform, p.parm, [] {});
    notice.show();
    check("update-notice", notice.form(), {{{"Label2", "Label4"}, {"Command1", "Command2"}}, true});

    FakeNetwork reads{p.fake.loop};
    UpdaterForm updater({p.fake.loop, p.fake.fetch, p.fake.codec, p.fake.messages, p.fake.processes, forms, reads},
                        p.dir.path(), "svc", "1.0");
    check("updater", updater.form(), {{}, true});
}

TEST_F(NativeWindows, PanelsReadAsSentencesWithTheirButtonsInTheMiddle) {
    check("upload-result",
          program.panel("AddfaceOverCon",
                        [](Panel& p) {
                            p.setProperty("args", "-4");
                            p.invoke("dodo");
                        }),
          {{{"Label3", "Label2"}}, false, "Command1"});
    check("pack-download", program.panel("PublicFaceDownLoader"),
          {{{"Label2", "ProgressBar1"},
            {"Label3", "ProgressBar2"},
            {"Label5", "ProgressBar3"},
            {"Label6", "ProgressBar4"}},
           false,
           "Command1"});
    check("own-faces-download", program.panel("MyFaceDownLoader"),
          {{{"Label1", "ProgressBar1"}, {"Label2", "ProgressBar2"}, {"Label3", "ProgressBar3"}}});
    check("pack-processing", program.panel("PublicFaceProcess"), {});
}

// The bar shows its button picture, edge to edge, on the key colour.
TEST_F(NativeWindows, TheBarShowsItsPicture) {
    std::filesystem::create_directories(program.dir / "w");
    writeBytes(program.dir / "w/btn1.jpg", kGreenJpeg);
    ButtomFrm bar(forms, program.dir.path(), [] {});
    bar.form().setGeometry({300, 300, ButtomFrm::kWidth, ButtomFrm::kHeight});
    bar.form().show();
    check("bar", bar.form(), {});
    const RECT picture = onScreen(named(hwndOf(bar.form()), "Image1")), whole = onScreen(hwndOf(bar.form()));
    EXPECT_EQ(picture.bottom - picture.top, atDpi(40, dpiOf(hwndOf(bar.form())))) << "as tall as the picture";
    EXPECT_EQ(picture.left, whole.left) << "no edge round the bar's picture";
    EXPECT_EQ(picture.top, whole.top);
}

}  // namespace
}  // namespace tovlo::test
