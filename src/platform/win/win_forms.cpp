#include "win_forms.h"

// After windows.h:
#include <commctrl.h>

#include <map>
#include <stdexcept>
#include <vector>

#include "form_layout.h"
#include "platform/commands.h"
#include "win_dpi.h"
#include "win_form_controls.h"
#include "win_text.h"

namespace tovlo {

namespace {

const wchar_t kWindowClass[] = L"TovloForm";  // the program's top-level windows
const wchar_t kPaneClass[] = L"TovloPane";    // groups, tab pages and panels

LRESULT CALLBACK formProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK pressHook(int code, WPARAM wParam, LPARAM lParam);

void registerClasses() {
    static const bool registered = [] {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_TAB_CLASSES};
        InitCommonControlsEx(&controls);
        for (const wchar_t* name : {kWindowClass, kPaneClass}) {
            WNDCLASSEXW c{};
            c.cbSize = sizeof c;
            c.lpfnWndProc = formProcedure;
            c.hInstance = GetModuleHandleW(nullptr);
            c.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the arrow
            c.lpszClassName = name;
            if (!RegisterClassExW(&c) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
                throw std::runtime_error("the forms' window classes cannot be registered");
        }
        return true;
    }();
    (void)registered;
}

DWORD windowStyle(const WindowStyle& s) {
    if (s.frameless) return WS_POPUP | WS_CLIPCHILDREN;
    // A dialog's title bar offers closing only.
    if (s.fixedSize) return WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    return WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
}

DWORD windowExStyle(const WindowStyle& s) {
    DWORD ex = WS_EX_CONTROLPARENT;
    if (s.frameless) ex |= WS_EX_TOOLWINDOW;  // no task bar button
    if (s.topMost) ex |= WS_EX_TOPMOST;
    return ex;
}

COLORREF colourOf(std::uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

// The windows of a form of each kind.
enum class Kind { Window, Group, Page, Panel };

// A tab control and its pages (forms of their own laid over it).
struct TabSet {
    HWND control = nullptr;
    std::vector<class WinForm*> pages;
};

int formsAlive = 0;  // the press hook lives while forms do
HHOOK hook = nullptr;

class WinForm : public Form {
public:
    WinForm(std::shared_ptr<const FormDescription> description, const WinViewMaker& makeView, Kind kind, HWND parent,
            Flow flow, const std::string& caption = {}, WinForm* outer = nullptr)
        : Form(std::move(description)), makeView_(makeView), kind_(kind), flow_(flow), outer_(outer) {
        registerClasses();
        const WindowStyle& style = this->description().style();
        if (kind_ == Kind::Window) {
            // A window's inside is 320 x 240 until the program sizes or places it.
            const Rect d = toDesktop({0, 0, 320, 240});
            RECT r{0, 0, d.width, d.height};
            AdjustWindowRectEx(&r, windowStyle(style), FALSE, windowExStyle(style));
            hwnd_ = CreateWindowExW(windowExStyle(style), kWindowClass, L"", windowStyle(style), CW_USEDEFAULT,
                                    CW_USEDEFAULT, r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                                    GetModuleHandleW(nullptr), nullptr);
        } else {
            // A group's frame covers the whole group and draws no inside: the
            // group paints it, so its children are not left out of its painting.
            const DWORD clip = caption.empty() ? WS_CLIPCHILDREN : 0;
            hwnd_ = CreateWindowExW(WS_EX_CONTROLPARENT, kPaneClass, L"",
                                    WS_CHILD | WS_CLIPSIBLINGS | clip | (kind_ == Kind::Page ? 0 : WS_VISIBLE), 0, 0, 0,
                                    0, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
        }
        if (!hwnd_) throw std::runtime_error("a window of a form cannot be made");
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(messageFont(dpiOf(hwnd_))), FALSE);
        if (!caption.empty()) {
            groupBox_ = makeControl(hwnd_, L"BUTTON", BS_GROUPBOX);
            SetWindowTextW(groupBox_, widen(caption).c_str());
        }
        if (kind_ == Kind::Window && formsAlive++ == 0)
            hook = SetWindowsHookExW(WH_MOUSE, pressHook, nullptr, GetCurrentThreadId());
    }
    ~WinForm() override {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        if (kind_ == Kind::Window || kind_ == Kind::Panel) DestroyWindow(hwnd_);
        if (kind_ == Kind::Window && --formsAlive == 0 && hook) {
            UnhookWindowsHookEx(hook);
            hook = nullptr;
        }
        if (brush_) DeleteObject(brush_);
    }

    void setTitle(const std::string& title) override { SetWindowTextW(hwnd_, widen(title).c_str()); }
    // Each call changes only what differs: the tracking tick repeats them
    // 50 times a second.
    void show() override {
        if (IsWindowVisible(hwnd_)) return;
        if (kind_ != Kind::Window) {
            ShowWindow(hwnd_, SW_SHOWNA);
            return;
        }
        const WindowStyle& style = description().style();
        if (style.fixedSize) fixToContent();
        relayout();
        // A window beside the chat window the user types into must not take
        // its keyboard focus: it gets it when clicked or asked to.
        const bool quietly = style.showsWithoutFocus && !activateWhenShown_;
        ShowWindow(hwnd_, quietly ? SW_SHOWNOACTIVATE : SW_SHOW);
        if (activateWhenShown_) {
            activateWhenShown_ = false;
            SetForegroundWindow(hwnd_);
        }
    }
    void hide() override {
        if (IsWindowVisible(hwnd_)) ShowWindow(hwnd_, SW_HIDE);
    }
    void activate() override {
        if (kind_ != Kind::Window) return;
        if (!IsWindowVisible(hwnd_)) {
            activateWhenShown_ = true;
            return;
        }
        SetForegroundWindow(hwnd_);
    }
    bool isVisible() const override { return IsWindowVisible(hwnd_); }
    void setGeometry(const Rect& r) override {
        placed_ = true;
        if (geometry() == r) return;
        place(toDesktop(r));
    }
    Rect geometry() const override {
        RECT client{};
        GetClientRect(hwnd_, &client);
        POINT origin{0, 0};
        MapWindowPoints(hwnd_, kind_ == Kind::Window ? HWND_DESKTOP : GetParent(hwnd_), &origin, 1);
        return toLogical({origin.x, origin.y, client.right, client.bottom});
    }
    void setSize(int width, int height) override {
        sized_ = true;
        const Rect now = geometry();
        const Rect size = toDesktop({0, 0, width, height});
        place({toDesktop(now).left, toDesktop(now).top, size.width, size.height});
        if (placed_ || kind_ != Kind::Window) return;
        placed_ = true;
        centreOnScreen();
    }

    WindowHandle handle() const override {
        return kind_ == Kind::Window ? static_cast<WindowHandle>(reinterpret_cast<std::uintptr_t>(hwnd_)) : 0;
    }
    // Raised once when it gets the flag; the system keeps it above the others.
    void setTopMost() override {
        if (GetWindowLongPtrW(hwnd_, GWL_EXSTYLE) & WS_EX_TOPMOST) return;
        SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    // A layered window leaves out every pixel of its key colour.
    void setTransparentColour(std::uint32_t rgb) override {
        colourKeyed_ = true;
        setBackground(colourOf(rgb));
        if (kind_ == Kind::Window) {
            SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, GetWindowLongPtrW(hwnd_, GWL_EXSTYLE) | WS_EX_LAYERED);
            SetLayeredWindowAttributes(hwnd_, colourOf(rgb), 0, LWA_COLORKEY);
        }
        relayout();
    }

    // --- what the window procedure hands over ---

    LRESULT receive(UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
            case WM_COMMAND:
                if (lParam) notified(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
                return 0;
            case WM_NOTIFY: {
                const auto* note = reinterpret_cast<const NMHDR*>(lParam);
                for (auto& [name, set] : tabSets_)
                    if (note->hwndFrom == set.control && note->code == TCN_SELCHANGE) showSelectedPage(set);
                return 0;
            }
            case WM_ERASEBKGND: {
                RECT r;
                GetClientRect(hwnd_, &r);
                FillRect(reinterpret_cast<HDC>(wParam), &r, background());
                return 1;
            }
            case WM_CTLCOLORSTATIC:
            case WM_CTLCOLORBTN:
                SetBkColor(reinterpret_cast<HDC>(wParam), backgroundColour());
                return reinterpret_cast<LRESULT>(background());
            case WM_SIZE:
                relayout();
                if (kind_ == Kind::Window && onResized) onResized();
                return 0;
            case WM_CLOSE:
                // Closing by the user hides the window and tells the logic.
                ShowWindow(hwnd_, SW_HIDE);
                if (onClosed) closing_.deliver(onClosed);
                return 0;
            case WM_DPICHANGED: {
                const UINT dpi = HIWORD(wParam);
                EnumChildWindows(
                    hwnd_,
                    [](HWND child, LPARAM font) {
                        SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
                        return TRUE;
                    },
                    reinterpret_cast<LPARAM>(messageFont(dpi)));
                const RECT* r = reinterpret_cast<const RECT*>(lParam);
                SetWindowPos(hwnd_, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                             SWP_NOZORDER | SWP_NOACTIVATE);
                relayout();
                return 0;
            }
            default: return DefWindowProcW(hwnd_, message, wParam, lParam);
        }
    }
    void pressed() {
        if (onPressed) onPressed();
    }

protected:
    ListBox& listBoxImpl(const std::string& name) override {
        return control<WinListBox>(name, [this] { return std::make_unique<WinListBox>(hwnd_); });
    }
    Label& labelImpl(const std::string& name) override {
        return control<WinLabel>(name, [this] { return std::make_unique<WinLabel>(hwnd_, flow_); });
    }
    ProgressBar& progressBarImpl(const std::string& name) override {
        return control<WinProgressBar>(name, [this] { return std::make_unique<WinProgressBar>(hwnd_); });
    }
    Button& buttonImpl(const std::string& name) override {
        return control<WinButton>(
            name, [this] { return std::make_unique<WinButton>(hwnd_); }, true);
    }
    OptionButton& optionButtonImpl(const std::string& name) override {
        return control<WinOptionButton>(name, [this] {
            return std::make_unique<WinOptionButton>(hwnd_, [this](WinOptionButton& chosen) { chooseOnly(chosen); });
        });
    }
    TextBox& textBoxImpl(const std::string& name) override {
        return control<WinTextBox>(name, [this] { return std::make_unique<WinTextBox>(hwnd_); });
    }
    ListBox& dropDownListImpl(const std::string& name) override {
        return control<WinDropDownList>(name, [this] { return std::make_unique<WinDropDownList>(hwnd_); });
    }
    Picture& pictureImpl(const std::string& name) override {
        return control<WinPicture>(name, [this] { return std::make_unique<WinPicture>(hwnd_); });
    }
    BrowserView& browserViewImpl(const std::string& name) override {
        auto it = views_.find(name);
        if (it != views_.end()) return *it->second;
        if (!makeView_) throw std::logic_error("this program has no browser views (asked for " + name + ")");
        WinFormView made = makeView_(hwnd_);
        nameWindow(made.window, name);
        slots_.push_back({.view = made.window});
        BrowserView& view = *views_.emplace(name, std::move(made.view)).first->second;
        changed();
        return view;
    }
    // Frames are placed by the program, not by the layout.
    Frame& frameImpl(const std::string& name) override {
        auto& frame = frames_[name];
        if (!frame) {
            frame = std::make_unique<WinFrame>(hwnd_);
            nameWindow(frame->window(), name);
        }
        return *frame;
    }
    Form& groupImpl(const std::string& name, const std::string& caption, Flow flow) override {
        auto& group = containers_[name];
        if (group) return *group;
        group = std::make_unique<WinForm>(sharedDescription(), makeView_, Kind::Group, hwnd_, flow, caption, this);
        nameWindow(group->hwnd_, name);
        slots_.push_back({.inner = group.get()});
        changed();
        return *group;
    }
    Form& tabPageImpl(const std::string& tabsName, const std::string& caption) override {
        auto& page = containers_[tabsName + '\n' + caption];
        if (page) return *page;
        TabSet& set = tabSets_[tabsName];
        if (!set.control) {
            set.control = makeControl(hwnd_, WC_TABCONTROLW, WS_TABSTOP);
            nameWindow(set.control, tabsName);
            slots_.push_back({.tabs = &set});
        }
        std::wstring text = widen(caption);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        SendMessageW(set.control, TCM_INSERTITEMW, set.pages.size(), reinterpret_cast<LPARAM>(&item));
        page = std::make_unique<WinForm>(sharedDescription(), makeView_, Kind::Page, hwnd_, Flow::Column, "", this);
        set.pages.push_back(page.get());
        // Over the tab control, which is drawn behind its pages.
        SetWindowPos(page->hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        showSelectedPage(set);
        changed();
        return *page;
    }
    std::unique_ptr<Form> createPanelImpl(const std::string& frameName, const FormDescription& description) override {
        auto& f = static_cast<WinFrame&>(frame(frameName));
        auto panel = std::make_unique<WinForm>(std::make_shared<const FormDescription>(description), makeView_,
                                               Kind::Panel, f.window(), description.flow());
        RECT r;
        GetClientRect(f.window(), &r);
        MoveWindow(panel->hwnd_, 0, 0, r.right, r.bottom, TRUE);
        return panel;
    }

private:
    // One place of the layout: a control, a group, a tab control or a view.
    struct Slot {
        WinControl* control = nullptr;
        WinForm* inner = nullptr;
        TabSet* tabs = nullptr;
        HWND view = nullptr;
    };

    template <typename T, typename Make>
    T& control(const std::string& name, Make make, bool ownWidth = false) {
        auto& c = controls_[name];
        if (!c) {
            std::unique_ptr<T> made = make();
            nameWindow(made->window(), name);
            made->changed = [this] { changed(); };
            c = std::move(made);
            slots_.push_back({.control = c.get()});
            if (ownWidth) ownWidth_.push_back(c.get());
            changed();
        }
        return static_cast<T&>(*c);
    }

    void notified(HWND from, WORD code) {
        for (auto& [name, c] : controls_)
            if (c->window() == from) {
                c->notified(code);
                return;
            }
    }

    void chooseOnly(WinOptionButton& chosen) {
        for (auto& [name, c] : controls_)
            if (auto* option = dynamic_cast<WinOptionButton*>(c.get()))
                SendMessageW(option->window(), BM_SETCHECK, option == &chosen ? BST_CHECKED : BST_UNCHECKED, 0);
    }

    // The spacing of the toolkit: a keyed window (the bar) is drawn edge to
    // edge, a group without a caption adds no edges of its own, a group
    // with one keeps its content inside the frame and under the caption.
    LayoutSpacing spacing(UINT dpi) const {
        if (colourKeyed_) return {};
        const int gap = atDpi(6, dpi);
        if (kind_ == Kind::Group && !groupBox_) return {0, 0, 0, 0, gap};
        if (kind_ == Kind::Group) {
            const int side = atDpi(8, dpi);
            return {side, textSize(groupBox_, L"Ag").cy + atDpi(4, dpi), side, side, gap};
        }
        const int edge = atDpi(9, dpi);
        return {edge, edge, edge, edge, gap};
    }

    std::vector<LayoutItem> items(UINT dpi) const {
        std::vector<LayoutItem> out;
        for (const Slot& slot : slots_) {
            if (slot.control) {
                LayoutItem item = slot.control->layoutItem(dpi);
                for (const WinControl* own : ownWidth_) item.ownWidth |= own == slot.control;
                out.push_back(std::move(item));
            } else if (slot.inner) {
                WinForm* inner = slot.inner;
                out.push_back({inner->wantedWidth(dpi), [inner, dpi](int w) { return inner->wantedHeight(w, dpi); },
                               false, inner->flow_ == Flow::Row});
            } else if (slot.tabs) {
                out.push_back(tabsItem(*slot.tabs, dpi));
            } else {
                out.push_back({atDpi(100, dpi), [dpi](int) { return atDpi(100, dpi); }, true});
            }
        }
        return out;
    }
    int wantedWidth(UINT dpi) const { return tovlo::wantedWidth(flow_, items(dpi), spacing(dpi)); }
    int wantedHeight(int width, UINT dpi) const { return tovlo::wantedHeight(flow_, width, items(dpi), spacing(dpi)); }

    // A tab control is as large as its largest page and its tabs.
    static LayoutItem tabsItem(const TabSet& set, UINT dpi) {
        RECT inside{0, 0, 1000, 1000};
        SendMessageW(set.control, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&inside));
        const int across = 1000 - (inside.right - inside.left), down = 1000 - (inside.bottom - inside.top);
        int width = 0;
        for (const WinForm* page : set.pages) width = std::max(width, page->wantedWidth(dpi));
        std::vector<WinForm*> pages = set.pages;
        LayoutItem item{width + across, [pages, across, down, dpi](int w) {
                            int h = 0;
                            for (const WinForm* page : pages) h = std::max(h, page->wantedHeight(w - across, dpi));
                            return h + down;
                        }};
        item.grows = true;
        return item;
    }

    void showSelectedPage(TabSet& set) {
        const auto selected = static_cast<size_t>(SendMessageW(set.control, TCM_GETCURSEL, 0, 0));
        for (size_t i = 0; i < set.pages.size(); ++i)
            ShowWindow(set.pages[i]->hwnd_, i == selected ? SW_SHOWNA : SW_HIDE);
    }

    // The content's wanted size changed: the outermost container of the
    // window lays out again, down to every group and page.
    void changed() {
        WinForm* top = this;
        while (top->outer_) top = top->outer_;
        top->relayout();
    }

    void relayout() {
        if (laying_) return;
        laying_ = true;
        const UINT dpi = dpiOf(hwnd_);
        RECT client{};
        GetClientRect(hwnd_, &client);
        const std::vector<Rect> rects = layOut(flow_, {0, 0, client.right, client.bottom}, items(dpi), spacing(dpi));
        for (size_t i = 0; i < slots_.size(); ++i) {
            const Slot& slot = slots_[i];
            const Rect& r = rects[i];
            HWND window = slot.control ? slot.control->window()
                          : slot.inner ? slot.inner->hwnd_
                          : slot.tabs  ? slot.tabs->control
                                       : slot.view;
            const int extra = slot.control ? slot.control->extraHeight(dpi) : 0;
            SetWindowPos(window, nullptr, r.left, r.top, r.width, r.height + extra, SWP_NOZORDER | SWP_NOACTIVATE);
            if (slot.inner) slot.inner->relayout();
            if (slot.tabs) placePages(*slot.tabs, r);
        }
        if (groupBox_) {
            SetWindowPos(groupBox_, HWND_BOTTOM, 0, 0, client.right, client.bottom, SWP_NOACTIVATE);
        }
        laying_ = false;
    }

    void placePages(TabSet& set, const Rect& r) {
        RECT inside{r.left, r.top, r.right(), r.bottom()};
        SendMessageW(set.control, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&inside));
        for (WinForm* page : set.pages) {
            SetWindowPos(page->hwnd_, HWND_TOP, inside.left, inside.top, inside.right - inside.left,
                         inside.bottom - inside.top, SWP_NOACTIVATE);
            page->relayout();
        }
    }

    // Moves the window so its inside is at the rectangle (desktop pixels).
    void place(const Rect& inside) {
        RECT r{inside.left, inside.top, inside.right(), inside.bottom()};
        if (kind_ == Kind::Window)
            AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)), FALSE,
                               static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)));
        SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }

    // A dialog takes the size its content needs (at least the size it was
    // given) for good, and is centred unless the program placed it.
    void fixToContent() {
        const UINT dpi = dpiOf(hwnd_);
        RECT client{};
        GetClientRect(hwnd_, &client);
        const int width = std::max<int>(sized_ ? client.right : 0, wantedWidth(dpi));
        const int height = std::max<int>(sized_ ? client.bottom : 0, wantedHeight(width, dpi));
        const Rect at = toDesktop(geometry());
        place({at.left, at.top, width, height});
        if (!placed_) {
            placed_ = true;
            centreOnScreen();
        }
    }

    // In the middle of the work area of the screen the mouse is on.
    void centreOnScreen() {
        POINT cursor{};
        GetCursorPos(&cursor);
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (!GetMonitorInfoW(MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST), &info)) return;
        RECT outer{};
        GetWindowRect(hwnd_, &outer);
        const RECT& work = info.rcWork;
        const int w = outer.right - outer.left, h = outer.bottom - outer.top;
        SetWindowPos(hwnd_, nullptr, (work.left + work.right - w) / 2, (work.top + work.bottom - h) / 2, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    void setBackground(COLORREF colour) {
        if (brush_) DeleteObject(brush_);
        brush_ = CreateSolidBrush(colour);
        colour_ = colour;
        InvalidateRect(hwnd_, nullptr, TRUE);
    }
    HBRUSH background() const { return brush_ ? brush_ : GetSysColorBrush(COLOR_BTNFACE); }
    COLORREF backgroundColour() const { return brush_ ? colour_ : GetSysColor(COLOR_BTNFACE); }

    const WinViewMaker& makeView_;
    Kind kind_;
    Flow flow_;
    WinForm* outer_;  // the form this group or page is part of
    HWND hwnd_ = nullptr;
    HWND groupBox_ = nullptr;  // the frame and caption of a group
    HBRUSH brush_ = nullptr;
    COLORREF colour_ = 0;
    bool colourKeyed_ = false;
    bool laying_ = false;
    bool placed_ = false;  // moved by the program (setSize then leaves it where it is)
    bool sized_ = false;   // given a size by the program
    bool activateWhenShown_ = false;
    EventSource closing_{"closing a window"};
    std::vector<Slot> slots_;
    std::vector<const WinControl*> ownWidth_;
    std::map<std::string, std::unique_ptr<WinControl>> controls_;
    std::map<std::string, std::unique_ptr<WinFrame>> frames_;
    std::map<std::string, std::unique_ptr<BrowserView>> views_;
    std::map<std::string, TabSet> tabSets_;
    // Groups and tab pages; gone before the controls above.
    std::map<std::string, std::unique_ptr<WinForm>> containers_;

    friend LRESULT CALLBACK formProcedure(HWND, UINT, WPARAM, LPARAM);
};

LRESULT CALLBACK formProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (auto* form = reinterpret_cast<WinForm*>(GetWindowLongPtrW(window, GWLP_USERDATA)))
        return form->receive(message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

// A mouse button went down in a window of this thread: the form it belongs
// to is told, whichever of its controls or views took the press.
LRESULT CALLBACK pressHook(int code, WPARAM wParam, LPARAM lParam) {
    const bool press = wParam == WM_LBUTTONDOWN || wParam == WM_RBUTTONDOWN || wParam == WM_MBUTTONDOWN ||
                       wParam == WM_LBUTTONDBLCLK;
    if (code == HC_ACTION && press) {
        HWND top = GetAncestor(reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam)->hwnd, GA_ROOT);
        wchar_t name[32] = {};
        GetClassNameW(top, name, 32);
        if (wcscmp(name, kWindowClass) == 0)
            if (auto* form = reinterpret_cast<WinForm*>(GetWindowLongPtrW(top, GWLP_USERDATA))) form->pressed();
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

std::unique_ptr<Form> WinForms::create(const FormDescription& description) {
    return std::make_unique<WinForm>(std::make_shared<const FormDescription>(description), makeView_, Kind::Window,
                                     nullptr, description.flow());
}

}  // namespace tovlo
