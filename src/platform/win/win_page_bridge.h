#pragma once
// What a page reaches as window.external on the browser control: an
// automation object with one method, calls(webName, text). A call runs as a
// command of the program and returns when it has run; a failed command
// reaches the page's script as an exception carrying the command's message.
// A call that comes while a command runs (a script the program runs in a
// page, a message box, a fetch) waits in line behind it, as every event of
// the logic does, and returns at once; a failure then goes to the program's
// report of failed events, as no script is left to catch it.
#include <windows.h>
// After windows.h:
#include <oaidl.h>

#include <functional>

#include "platform/browser_view.h"
#include "platform/commands.h"

namespace tovlo {

class WinPageBridge : public IDispatch {
public:
    // Made with one reference, the caller's.
    static WinPageBridge* create();
    // The view's answer to the calls; an empty one ends them (the view is
    // going, but the page may still hold the object).
    void setHandler(BrowserView::ExternalCalls handler) { handler_ = std::move(handler); }
    // Whether the page shown now may call the program; a refused call is an
    // exception in its script.
    void setPageCheck(std::function<bool()> mayCall) { mayCall_ = std::move(mayCall); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT* badArgument) override;

private:
    WinPageBridge() = default;
    virtual ~WinPageBridge() = default;
    HRESULT call(const std::string& webName, const std::string& text, EXCEPINFO* exception);
    static HRESULT fail(const std::string& text, EXCEPINFO* exception);

    LONG references_ = 1;
    BrowserView::ExternalCalls handler_;
    std::function<bool()> mayCall_;
    EventSource events_{"a page's call"};
};

}  // namespace tovlo
