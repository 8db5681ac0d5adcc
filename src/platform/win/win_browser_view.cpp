#include "win_browser_view.h"

// After windows.h:
#include <exdisp.h>
#include <exdispid.h>
#include <mshtmhst.h>
#include <mshtml.h>
#include <ocidl.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "platform/nested_wait.h"
#include "platform/page_trust.h"
#include "win_dpi.h"
#include "win_page_bridge.h"
#include "win_text.h"

namespace tovlo {

namespace {

const wchar_t kHostClass[] = L"TovloBrowserHost";

// The views of the program, the first made first.
std::vector<WinBrowserView*>& liveViews() {
    static std::vector<WinBrowserView*> views;
    return views;
}

std::string& trustedServiceHost() {
    static std::string hostPort;
    return hostPort;
}

// A browser shortcut the pages do not get: new window, open, print, find,
// address, reload, history and favourites.
bool browserShortcut(const MSG& m) {
    if (m.message != WM_KEYDOWN && m.message != WM_SYSKEYDOWN) return false;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0, alt = GetKeyState(VK_MENU) < 0;
    switch (m.wParam) {
        case VK_F5:
        case VK_BROWSER_BACK:
        case VK_BROWSER_FORWARD:
        case VK_BROWSER_REFRESH: return true;
        case VK_LEFT:
        case VK_RIGHT: return alt;
        case 'N':
        case 'O':
        case 'P':
        case 'F':
        case 'L':
        case 'R':
        case 'H':
        case 'I':
        case 'D': return ctrl;
        default: return false;
    }
}

// "C:\a\b.html?v=3" as the control's file URL; URLs pass unchanged.
std::wstring urlOf(const std::string& address) {
    const size_t colon = address.find(':');
    const bool hasScheme = colon != std::string::npos && colon > 1 && address.find_first_of("/\\") > colon;
    if (hasScheme) return widen(address);
    std::string url = address;
    for (char& c : url)
        if (c == '\\') c = '/';
    return widen("file:///" + (url.rfind("/", 0) == 0 ? url.substr(1) : url));
}

// Pumps the thread's messages (a nested wait) until the check holds or the
// time is up.
void waitWhile(const std::function<bool()>& busy, int ms) {
    NestedWaits::Scope nested;
    const ULONGLONG until = GetTickCount64() + static_cast<ULONGLONG>(ms);
    while (busy() && GetTickCount64() < until) {
        MsgWaitForMultipleObjectsEx(0, nullptr, 20, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
    }
}

}  // namespace

// The container the control lives in: its client site, in-place site and
// frame, its user-interface handler, and the receiver of its events.
class WinBrowserView::Site : public IOleClientSite,
                             public IOleInPlaceSite,
                             public IOleInPlaceFrame,
                             public IDocHostUIHandler,
                             public IDispatch {
public:
    Site(HWND host, WinPageBridge* bridge) : host_(host), bridge_(bridge) {}
    bool handlerAsked = false;
    std::function<void(const std::string&)> navigated;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleClientSite))
            *object = static_cast<IOleClientSite*>(this);
        else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceSite))
            *object = static_cast<IOleInPlaceSite*>(this);
        else if (IsEqualIID(iid, IID_IOleInPlaceUIWindow) || IsEqualIID(iid, IID_IOleInPlaceFrame))
            *object = static_cast<IOleInPlaceFrame*>(this);
        else if (IsEqualIID(iid, IID_IDocHostUIHandler)) {
            handlerAsked = true;
            *object = static_cast<IDocHostUIHandler*>(this);
        } else if (IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, DIID_DWebBrowserEvents2))
            *object = static_cast<IDispatch*>(this);
        if (!*object) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    // IOleClientSite
    HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** c) override {
        *c = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow (of the site and of the frame)
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        *window = host_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, RECT* position,
                                               RECT* clip, OLEINPLACEFRAMEINFO* info) override {
        *frame = static_cast<IOleInPlaceFrame*>(this);
        AddRef();
        *document = nullptr;
        GetClientRect(host_, position);
        GetClientRect(host_, clip);
        info->fMDIApp = FALSE;
        info->hwndFrame = GetAncestor(host_, GA_ROOT);
        info->haccel = nullptr;
        info->cAccelEntries = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleInPlaceUIWindow and IOleInPlaceFrame: no tool bars, menus or status line.
    HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

    // IDocHostUIHandler
    HRESULT STDMETHODCALLTYPE ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override {
        return S_OK;  // shown by nobody
    }
    HRESULT STDMETHODCALLTYPE GetHostInfo(DOCHOSTUIINFO* info) override {
        info->dwFlags = DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_THEME | DOCHOSTUIFLAG_DISABLE_HELP_MENU;
        info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                                     IOleInPlaceUIWindow*) override {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE HideUI() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE UpdateUI() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG m, const GUID*, DWORD) override {
        return m && browserShortcut(*m) ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE GetOptionKeyPath(LPOLESTR* key, DWORD) override {
        *key = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetDropTarget(IDropTarget*, IDropTarget**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetExternal(IDispatch** external) override {
        *external = bridge_;
        bridge_->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE TranslateUrl(DWORD, LPWSTR, LPWSTR* out) override {
        *out = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE FilterDataObject(IDataObject*, IDataObject** out) override {
        *out = nullptr;
        return S_FALSE;
    }

    // IDispatch: the control's events.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        // Arguments come last first. No page opens a window of its own.
        if (id == DISPID_NEWWINDOW2 && params->cArgs >= 2 && params->rgvarg[0].vt == (VT_BYREF | VT_BOOL))
            *params->rgvarg[0].pboolVal = VARIANT_TRUE;
        if (id == DISPID_NEWWINDOW3 && params->cArgs >= 5 && params->rgvarg[3].vt == (VT_BYREF | VT_BOOL))
            *params->rgvarg[3].pboolVal = VARIANT_TRUE;
        if (id == DISPID_NAVIGATECOMPLETE2 && params->cArgs >= 2 && navigated) {
            const VARIANT& url = params->rgvarg[0];
            const VARIANT* text = url.vt == (VT_BYREF | VT_VARIANT) ? url.pvarVal : &url;
            if (text->vt == VT_BSTR && text->bstrVal) navigated(narrow(text->bstrVal));
        }
        return S_OK;
    }

private:
    virtual ~Site() = default;
    LONG references_ = 1;
    HWND host_;
    WinPageBridge* bridge_;
};

WinBrowserView::WinBrowserView(HWND parent) {
    WNDCLASSEXW c{};
    c.cbSize = sizeof c;
    c.lpfnWndProc = procedure;
    c.hInstance = GetModuleHandleW(nullptr);
    c.lpszClassName = kHostClass;
    if (!RegisterClassExW(&c) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw std::runtime_error("the browser view's window class cannot be registered");
    host_ = CreateWindowExW(0, kHostClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                            parent, nullptr, c.hInstance, nullptr);
    if (!host_) throw std::runtime_error("the browser view's window cannot be made");
    SetWindowLongPtrW(host_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    OleInitialize(nullptr);
    bridge_ = WinPageBridge::create();
    liveViews().push_back(this);
    bridge_->setPageCheck([this] { return pageMayCallHost(shownUrl(), trustedServiceHost()); });
    site_ = new Site(host_, bridge_);
    site_->navigated = [this](const std::string& url) {
        // The program's own navigations keep the address as it was given.
        if (!ownNavigation_) location_ = url;
        ownNavigation_ = false;
    };
    // A view that cannot be made leaves nothing behind.
    try {
        embedControl();
    } catch (...) {
        release();
        throw;
    }
}

// The control, activated in place in the view's window, its events to the site.
void WinBrowserView::embedControl() {
    IOleObject* object = nullptr;
    if (FAILED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                reinterpret_cast<void**>(&object))))
        throw std::runtime_error("the system's web browser control is not there");
    object->SetClientSite(site_);
    RECT area;
    GetClientRect(host_, &area);
    object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_, 0, host_, &area);
    object->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser_));
    object->Release();
    if (!browser_) throw std::runtime_error("the web browser control does not answer");
    browser_->put_Silent(VARIANT_TRUE);  // no script error boxes of its own
    IConnectionPointContainer* points = nullptr;
    if (SUCCEEDED(browser_->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&points)))) {
        IConnectionPoint* point = nullptr;
        if (SUCCEEDED(points->FindConnectionPoint(DIID_DWebBrowserEvents2, &point))) {
            point->Advise(static_cast<IDispatch*>(site_), &eventsCookie_);
            point->Release();
        }
        points->Release();
    }
}

WinBrowserView::~WinBrowserView() { release(); }

void WinBrowserView::release() {
    auto& views = liveViews();
    views.erase(std::remove(views.begin(), views.end(), this), views.end());
    bridge_->setHandler({});
    bridge_->setPageCheck({});
    if (browser_) {
        browser_->Stop();
        IConnectionPointContainer* points = nullptr;
        if (eventsCookie_ &&
            SUCCEEDED(browser_->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&points)))) {
            IConnectionPoint* point = nullptr;
            if (SUCCEEDED(points->FindConnectionPoint(DIID_DWebBrowserEvents2, &point))) {
                point->Unadvise(eventsCookie_);
                point->Release();
            }
            points->Release();
        }
        IOleObject* object = nullptr;
        if (SUCCEEDED(browser_->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&object)))) {
            object->Close(OLECLOSE_NOSAVE);
            object->SetClientSite(nullptr);
            object->Release();
        }
        browser_->Release();
    }
    site_->navigated = nullptr;
    site_->Release();
    bridge_->Release();
    SetWindowLongPtrW(host_, GWLP_USERDATA, 0);
    DestroyWindow(host_);
    OleUninitialize();
}

void WinBrowserView::navigate(const std::string& url) {
    location_ = url;
    ownNavigation_ = true;
    BSTR address = SysAllocString(urlOf(url).c_str());
    VARIANT empty;
    VariantInit(&empty);
    browser_->Navigate(address, &empty, &empty, &empty, &empty);
    SysFreeString(address);
}

std::string WinBrowserView::location() const { return location_; }

void WinBrowserView::stop() { browser_->Stop(); }

void WinBrowserView::runScript(const std::string& code) {
    // A page still loading is waited for first.
    waitWhile(
        [this] {
            VARIANT_BOOL busy = VARIANT_FALSE;
            return SUCCEEDED(browser_->get_Busy(&busy)) && busy == VARIANT_TRUE;
        },
        kLoadWaitMs);
    IDispatch* document = nullptr;
    IHTMLDocument2* html = nullptr;
    IHTMLWindow2* window = nullptr;
    if (SUCCEEDED(browser_->get_Document(&document)) && document) {
        document->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&html));
        document->Release();
    }
    if (html) {
        html->get_parentWindow(&window);
        html->Release();
    }
    if (!window) throw ScriptError("这个视图没有打开的页面");
    BSTR text = SysAllocString(widen(code).c_str()), language = SysAllocString(L"JavaScript");
    VARIANT result;
    VariantInit(&result);
    HRESULT status;
    {
        NestedWaits::Scope nested;  // the page's script may show boxes of its own
        status = window->execScript(text, language, &result);
    }
    VariantClear(&result);
    SysFreeString(text);
    SysFreeString(language);
    window->Release();
    if (SUCCEEDED(status)) return;
    std::string message = "页面脚本出错";
    IErrorInfo* error = nullptr;
    if (GetErrorInfo(0, &error) == S_OK && error) {
        BSTR description = nullptr;
        if (SUCCEEDED(error->GetDescription(&description)) && description) message = narrow(description);
        SysFreeString(description);
        error->Release();
    }
    throw ScriptError(message);
}

void WinBrowserView::setVisible(bool visible) { ShowWindow(host_, visible ? SW_SHOWNA : SW_HIDE); }

bool WinBrowserView::isVisible() const { return IsWindowVisible(host_); }

// The keyboard goes to the page's document within the window.
void WinBrowserView::focus() {
    HWND page = GetWindow(host_, GW_CHILD);
    SetFocus(page ? page : host_);
}

void WinBrowserView::setGeometry(const Rect& r) {
    const Rect d = toDesktop(r);
    MoveWindow(host_, d.left, d.top, d.width, d.height, TRUE);
}

Rect WinBrowserView::geometry() const {
    RECT r{};
    GetWindowRect(host_, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(host_), reinterpret_cast<POINT*>(&r), 2);
    return toLogical({r.left, r.top, r.right - r.left, r.bottom - r.top});
}

void WinBrowserView::setExternalCalls(ExternalCalls handler) { bridge_->setHandler(std::move(handler)); }

bool WinBrowserView::handlerAsked() const { return site_->handlerAsked; }

// The control fills the view's window.
void WinBrowserView::fit() {
    if (!browser_) return;
    IOleInPlaceObject* inPlace = nullptr;
    if (FAILED(browser_->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace)))) return;
    RECT area;
    GetClientRect(host_, &area);
    inPlace->SetObjectRects(&area, &area);
    inPlace->Release();
}

LRESULT CALLBACK WinBrowserView::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* view = reinterpret_cast<WinBrowserView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (view && message == WM_SIZE) view->fit();
    return DefWindowProcW(window, message, wParam, lParam);
}

std::string WinBrowserView::shownUrl() const {
    BSTR url = nullptr;
    if (!browser_ || FAILED(browser_->get_LocationURL(&url)) || !url) return {};
    std::string text = narrow(url);
    SysFreeString(url);
    return text;
}

IDispatch* firstPageBridge() {
    if (liveViews().empty()) return nullptr;
    IDispatch* bridge = liveViews().front()->bridge_;
    bridge->AddRef();
    return bridge;
}

void setTrustedServiceHost(const std::string& hostPort) { trustedServiceHost() = hostPort; }

WinFormView makeWinFormView(HWND parent) {
    auto view = std::make_unique<WinBrowserView>(parent);
    HWND window = view->window();
    return {std::move(view), window};
}

void useNewestBrowserMode(const std::wstring& programFileName) {
    HKEY key = nullptr;
    const wchar_t* path = L"Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\FEATURE_BROWSER_EMULATION";
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    const DWORD mode = 11001;  // the newest document mode, whatever the page declares
    RegSetValueExW(key, programFileName.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&mode), sizeof mode);
    RegCloseKey(key);
}

}  // namespace tovlo
