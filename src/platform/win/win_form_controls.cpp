#include "win_form_controls.h"

// After windows.h:
#include <commctrl.h>
#include <objidl.h>
// After objidl.h:
#include <gdiplus.h>

#include <algorithm>

#include "win_dpi.h"
#include "win_images.h"
#include "win_text.h"

namespace tovlo {

namespace {

// Line breaks as the edit and static controls draw them.
std::wstring withCrLf(const std::string& text) {
    std::wstring out;
    for (wchar_t c : widen(text)) {
        if (c == L'\n' && (out.empty() || out.back() != L'\r')) out += L'\r';
        out += c;
    }
    return out;
}

int lineHeight(HWND window) { return textSize(window, L"Ag").cy; }

LayoutItem fixedItem(int width, int height) {
    return {width, [height](int) { return height; }};
}

// The box and the list of a list control share their texts.
std::string listText(HWND window, UINT lengthMessage, UINT textMessage, int index) {
    const LRESULT length = SendMessageW(window, lengthMessage, static_cast<WPARAM>(index), 0);
    if (length < 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(window, textMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return narrow(text);
}

}  // namespace

HWND makeControl(HWND parent, const wchar_t* windowClass, DWORD style, DWORD exStyle) {
    HWND window = CreateWindowExW(exStyle, windowClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, 0, 0, 0,
                                  0, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window) throw std::runtime_error("a control of a form cannot be made");
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(messageFont(dpiOf(parent))), FALSE);
    return window;
}

SIZE textSize(HWND window, const std::wstring& text, int width) {
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
    RECT r{0, 0, width > 0 ? width : 0, 0};
    const UINT flags = DT_CALCRECT | DT_NOPREFIX | (width > 0 ? DT_WORDBREAK : 0);
    DrawTextW(dc, text.empty() ? L" " : text.c_str(), -1, &r, flags);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return {r.right - r.left, r.bottom - r.top};
}

std::wstring windowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

namespace {
const wchar_t kNameProperty[] = L"TovloName";
}

void nameWindow(HWND window, const std::string& name) {
    const ATOM atom = AddAtomW(widen(name).c_str());
    SetPropW(window, kNameProperty, reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(atom)));
}

HWND controlNamed(HWND window, const std::string& name) {
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (nameOfWindow(child) == name) return child;
        if (HWND inner = controlNamed(child, name)) return inner;
    }
    return nullptr;
}

std::string nameOfWindow(HWND window) {
    const auto atom = static_cast<ATOM>(reinterpret_cast<std::uintptr_t>(GetPropW(window, kNameProperty)));
    wchar_t name[256] = {};
    const UINT length = atom ? GetAtomNameW(atom, name, 256) : 0;
    return narrow(std::wstring_view(name, length));
}

// --- lists ---

WinListBox::WinListBox(HWND parent)
    : WinControl(makeControl(parent, L"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
                             WS_EX_CLIENTEDGE)) {}
void WinListBox::addItem(const std::string& text) {
    SendMessageW(window_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(text).c_str()));
}
int WinListBox::count() const { return static_cast<int>(SendMessageW(window_, LB_GETCOUNT, 0, 0)); }
std::string WinListBox::item(int index) const { return listText(window_, LB_GETTEXTLEN, LB_GETTEXT, index); }
// Selecting scrolls the item into view.
void WinListBox::setSelectedIndex(int index) { SendMessageW(window_, LB_SETCURSEL, static_cast<WPARAM>(index), 0); }
int WinListBox::selectedIndex() const { return static_cast<int>(SendMessageW(window_, LB_GETCURSEL, 0, 0)); }
LayoutItem WinListBox::layoutItem(UINT dpi) const {
    LayoutItem item = fixedItem(atDpi(160, dpi), atDpi(120, dpi));
    item.grows = true;
    return item;
}

WinDropDownList::WinDropDownList(HWND parent)
    : WinControl(makeControl(parent, L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP)) {}
void WinDropDownList::addItem(const std::string& text) {
    SendMessageW(window_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(text).c_str()));
    tellChanged();
}
int WinDropDownList::count() const { return static_cast<int>(SendMessageW(window_, CB_GETCOUNT, 0, 0)); }
std::string WinDropDownList::item(int index) const { return listText(window_, CB_GETLBTEXTLEN, CB_GETLBTEXT, index); }
void WinDropDownList::setSelectedIndex(int index) {
    SendMessageW(window_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}
int WinDropDownList::selectedIndex() const { return static_cast<int>(SendMessageW(window_, CB_GETCURSEL, 0, 0)); }
LayoutItem WinDropDownList::layoutItem(UINT dpi) const {
    int widest = 0;
    for (int i = 0; i < count(); ++i) widest = std::max<int>(widest, textSize(window_, widen(item(i))).cx);
    // The box itself: the system sizes it to its font.
    RECT box{};
    GetWindowRect(window_, &box);
    const int boxHeight = box.bottom - box.top;
    return fixedItem(std::max(widest + atDpi(36, dpi), atDpi(60, dpi)), boxHeight);
}
// The list that drops down below the box.
int WinDropDownList::extraHeight(UINT dpi) const { return atDpi(200, dpi); }

// --- texts ---

WinLabel::WinLabel(HWND parent, Flow flow)
    : WinControl(makeControl(parent, L"STATIC",
                             SS_NOTIFY | SS_NOPREFIX |
                                 (flow == Flow::Centred  ? SS_CENTER
                                  : flow == Flow::Column ? SS_LEFT
                                                         : SS_LEFTNOWORDWRAP))),
      wraps_(flow == Flow::Column || flow == Flow::Centred) {}
void WinLabel::setText(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    SetWindowTextW(window_, withCrLf(text).c_str());
    tellChanged();
}
int WinLabel::height() const {
    RECT r{};
    GetClientRect(window_, &r);
    return MulDiv(r.bottom, 96, static_cast<int>(dpiOf(window_)));
}
void WinLabel::setHeight(int pixels) {
    fixedHeight_ = pixels;
    tellChanged();
}
int WinLabel::fittedHeight() const {
    RECT r{};
    GetClientRect(window_, &r);
    const int fitted = textSize(window_, withCrLf(text_), wraps_ ? std::max<int>(r.right, 1) : 0).cy;
    return MulDiv(fitted, 96, static_cast<int>(dpiOf(window_)));
}
LayoutItem WinLabel::layoutItem(UINT dpi) const {
    const std::wstring text = withCrLf(text_);
    const int oneLine = textSize(window_, text).cx;
    // A wrapping label asks for no more than a column's width; it takes
    // the width it is given and as many lines as the text needs there.
    LayoutItem item{wraps_ ? std::min(oneLine, atDpi(260, dpi)) : oneLine, {}};
    const HWND window = window_;
    const bool wraps = wraps_;
    const int fixed = fixedHeight_ < 0 ? -1 : atDpi(fixedHeight_, dpi);
    item.heightFor = [window, text, wraps, fixed](int width) {
        return fixed >= 0 ? fixed : textSize(window, text, wraps ? std::max(width, 1) : 0).cy;
    };
    return item;
}
void WinLabel::notified(WORD code) {
    if (code == STN_CLICKED && onClick) events_.deliver(onClick);
}

WinTextBox::WinTextBox(HWND parent)
    : WinControl(makeControl(parent, L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE)) {}
void WinTextBox::setText(const std::string& text) { SetWindowTextW(window_, widen(text).c_str()); }
std::string WinTextBox::text() const { return narrow(windowText(window_)); }
LayoutItem WinTextBox::layoutItem(UINT dpi) const {
    return fixedItem(atDpi(160, dpi), lineHeight(window_) + atDpi(8, dpi));
}

// --- buttons ---

WinButton::WinButton(HWND parent) : WinControl(makeControl(parent, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP)) {}
void WinButton::setText(const std::string& text) {
    SetWindowTextW(window_, widen(text).c_str());
    tellChanged();
}
void WinButton::setEnabled(bool on) { EnableWindow(window_, on); }
bool WinButton::isEnabled() const { return IsWindowEnabled(window_); }
// Room on both sides of the caption, at any scale.
LayoutItem WinButton::layoutItem(UINT dpi) const {
    const int text = textSize(window_, windowText(window_)).cx, line = lineHeight(window_);
    return fixedItem(std::max(text + 2 * line, atDpi(75, dpi)), line + atDpi(12, dpi));
}
void WinButton::notified(WORD code) {
    if (code == BN_CLICKED && onClick) events_.deliver(onClick);
}

WinOptionButton::WinOptionButton(HWND parent, std::function<void(WinOptionButton&)> chooseOnly)
    : WinControl(makeControl(parent, L"BUTTON", BS_RADIOBUTTON | WS_TABSTOP)), chooseOnly_(std::move(chooseOnly)) {}
void WinOptionButton::setText(const std::string& text) {
    SetWindowTextW(window_, widen(text).c_str());
    tellChanged();
}
// Choosing one, by the program or by a click, clears the others.
void WinOptionButton::setChecked(bool on) {
    if (on)
        chooseOnly_(*this);
    else
        SendMessageW(window_, BM_SETCHECK, BST_UNCHECKED, 0);
}
bool WinOptionButton::isChecked() const { return SendMessageW(window_, BM_GETCHECK, 0, 0) == BST_CHECKED; }
LayoutItem WinOptionButton::layoutItem(UINT dpi) const {
    const int line = lineHeight(window_);
    return fixedItem(textSize(window_, windowText(window_)).cx + atDpi(24, dpi), line + atDpi(6, dpi));
}
void WinOptionButton::notified(WORD code) {
    if (code == BN_CLICKED) chooseOnly_(*this);
}

WinProgressBar::WinProgressBar(HWND parent) : WinControl(makeControl(parent, PROGRESS_CLASSW, 0)) {
    SendMessageW(window_, PBM_SETRANGE32, 0, 100);
}
void WinProgressBar::setValue(int percent) { SendMessageW(window_, PBM_SETPOS, static_cast<WPARAM>(percent), 0); }
int WinProgressBar::value() const { return static_cast<int>(SendMessageW(window_, PBM_GETPOS, 0, 0)); }
LayoutItem WinProgressBar::layoutItem(UINT dpi) const { return fixedItem(atDpi(160, dpi), atDpi(20, dpi)); }

// --- pictures and frames ---

namespace {

const wchar_t kPictureClass[] = L"TovloPicture";
const wchar_t kFrameClass[] = L"TovloFrame";

void registerClass(const wchar_t* name, WNDPROC procedure) {
    WNDCLASSEXW c{};
    c.cbSize = sizeof c;
    c.lpfnWndProc = procedure;
    c.hInstance = GetModuleHandleW(nullptr);
    c.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the arrow
    c.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    c.lpszClassName = name;
    if (!RegisterClassExW(&c) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw std::runtime_error("a window class of the forms cannot be registered");
}

// The file's picture (the first frame of an animation) as a bitmap.
HBITMAP bitmapOfFile(const std::string& path, SIZE& size) {
    static const WinImages gdiplus;  // starts GDI+ for the process
    namespace gp = Gdiplus::DllExports;
    Gdiplus::GpBitmap* picture = nullptr;
    if (gp::GdipCreateBitmapFromFile(widen(path).c_str(), &picture) != Gdiplus::Ok) return nullptr;
    HBITMAP bitmap = nullptr;
    UINT width = 0, height = 0;
    if (gp::GdipGetImageWidth(picture, &width) != Gdiplus::Ok ||
        gp::GdipGetImageHeight(picture, &height) != Gdiplus::Ok ||
        gp::GdipCreateHBITMAPFromBitmap(picture, &bitmap, 0xFFFFFFFF) != Gdiplus::Ok)
        bitmap = nullptr;
    gp::GdipDisposeImage(picture);
    size = {static_cast<LONG>(width), static_cast<LONG>(height)};
    return bitmap;
}

}  // namespace

WinPicture::WinPicture(HWND parent) : WinControl(nullptr) {
    registerClass(kPictureClass, procedure);
    window_ = makeControl(parent, kPictureClass, 0);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ShowWindow(window_, SW_HIDE);
}
WinPicture::~WinPicture() {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    if (bitmap_) DeleteObject(bitmap_);
}
void WinPicture::loadImageFile(const std::string& path) {
    SIZE size{};
    HBITMAP loaded = bitmapOfFile(path, size);
    if (bitmap_) DeleteObject(bitmap_);
    bitmap_ = loaded;
    size_ = loaded ? size : SIZE{};
    ShowWindow(window_, loaded ? SW_SHOWNA : SW_HIDE);
    InvalidateRect(window_, nullptr, FALSE);
    tellChanged();
}
// A picture is as large as it is at 100 %, at every scale.
LayoutItem WinPicture::layoutItem(UINT dpi) const {
    LayoutItem item = fixedItem(atDpi(size_.cx, dpi), atDpi(size_.cy, dpi));
    item.shown = bitmap_ != nullptr;
    return item;
}
LRESULT CALLBACK WinPicture::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<WinPicture*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        // Round the picture, the container's own background shows (on the
        // bar, the key colour that is left out).
        RECT all;
        GetClientRect(window, &all);
        const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(
            GetParent(window), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(window)));
        FillRect(dc, &all, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
        if (self->bitmap_) {
            HDC source = CreateCompatibleDC(dc);
            HGDIOBJ old = SelectObject(source, self->bitmap_);
            // At a whole multiple of 100 % every pixel becomes a square of
            // pixels (sharp); between them the picture is smoothed.
            const UINT dpi = dpiOf(window);
            SetStretchBltMode(dc, dpi % 96 == 0 ? COLORONCOLOR : HALFTONE);
            SetBrushOrgEx(dc, 0, 0, nullptr);
            StretchBlt(dc, 0, 0, atDpi(self->size_.cx, dpi), atDpi(self->size_.cy, dpi), source, 0, 0, self->size_.cx,
                       self->size_.cy, SRCCOPY);
            SelectObject(source, old);
            DeleteDC(source);
        }
        EndPaint(window, &paint);
        return 0;
    }
    if (self && message == WM_ERASEBKGND) return 1;  // painted whole above
    if (self && message == WM_LBUTTONDOWN && self->onClick) self->events_.deliver(self->onClick);
    if (self && message == WM_MOUSEMOVE && self->onMouseMove) self->events_.deliver(self->onMouseMove);
    return DefWindowProcW(window, message, wParam, lParam);
}

WinFrame::WinFrame(HWND parent) {
    registerClass(kFrameClass, DefWindowProcW);
    window_ = makeControl(parent, kFrameClass, WS_CLIPCHILDREN);
    ShowWindow(window_, SW_HIDE);
}
// Shown above the page views it covers.
void WinFrame::setVisible(bool visible) {
    ShowWindow(window_, visible ? SW_SHOWNA : SW_HIDE);
    if (visible) SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}
bool WinFrame::isVisible() const { return IsWindowVisible(window_); }
void WinFrame::setGeometry(const Rect& r) {
    const Rect d = toDesktop(r);
    MoveWindow(window_, d.left, d.top, d.width, d.height, TRUE);
}
Rect WinFrame::geometry() const {
    RECT r{};
    GetWindowRect(window_, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(window_), reinterpret_cast<POINT*>(&r), 2);
    return toLogical({r.left, r.top, r.right - r.left, r.bottom - r.top});
}

}  // namespace tovlo
