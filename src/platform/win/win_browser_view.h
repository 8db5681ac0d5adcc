#pragma once
// A browser view on the system's web browser control, in an OLE container
// of our own. The host policy of every view: the page gets window.external
// (the page bridge, which answers only the program's own and the service's
// pages), no browser context menu, no browser shortcuts while
// typing into fields works, no new windows, no 3-D border.
//
// runScript runs the code through the document's window (execScript):
// synchronously, after a navigation still loading has ended (at most
// kLoadWaitMs); a script error, or a view without a document, throws
// ScriptError.
#include <windows.h>

#include <string>

#include "platform/browser_view.h"
#include "win_forms.h"

struct IWebBrowser2;
struct IDispatch;

namespace tovlo {

class WinPageBridge;

class WinBrowserView : public BrowserView {
public:
    explicit WinBrowserView(HWND parent);
    ~WinBrowserView() override;
    WinBrowserView(const WinBrowserView&) = delete;
    WinBrowserView& operator=(const WinBrowserView&) = delete;

    // Accepts URLs and local paths; a local path may carry a query.
    void navigate(const std::string& url) override;
    std::string location() const override;
    void stop() override;
    void runScript(const std::string& code) override;
    void setVisible(bool visible) override;
    bool isVisible() const override;
    void focus() override;
    void setGeometry(const Rect& r) override;
    Rect geometry() const override;
    void setExternalCalls(ExternalCalls handler) override;

    HWND window() const { return host_; }
    // Whether the control has asked this host for its handler of the page's
    // user interface (the menus, the keys, window.external).
    bool handlerAsked() const;

    static constexpr int kLoadWaitMs = 10000;

private:
    friend IDispatch* firstPageBridge();
    class Site;
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void embedControl();
    void release();
    void fit();
    // The address of the document shown now.
    std::string shownUrl() const;

    HWND host_ = nullptr;
    Site* site_ = nullptr;
    IWebBrowser2* browser_ = nullptr;
    WinPageBridge* bridge_ = nullptr;
    DWORD eventsCookie_ = 0;
    std::string location_;
    bool ownNavigation_ = false;  // the program asked for the navigation under way
};

// A browser view for a form of WinForms (its view maker).
WinFormView makeWinFormView(HWND parent);

// The page bridge of the first browser view of the program that is still
// there (with a reference for the caller), or null.
IDispatch* firstPageBridge();

// The service's host[:port]: its pages may call the program as the
// program's own pages do; any other page a view comes to show may not.
void setTrustedServiceHost(const std::string& hostPort);

// Pages in every browser control of the program run in the engine's newest
// document mode (the per-user FEATURE_BROWSER_EMULATION value for the
// program's file name).
void useNewestBrowserMode(const std::wstring& programFileName);

}  // namespace tovlo
