#include "win_page_bridge.h"

#include <exception>
#include <string>

#include "win_text.h"

namespace tovlo {

namespace {

constexpr DISPID kCalls = 1;

// An argument of the call as text (numbers and the like as the script
// engine writes them).
bool textOf(VARIANT& argument, std::string& out) {
    VARIANT text;
    VariantInit(&text);
    if (FAILED(VariantChangeType(&text, &argument, 0, VT_BSTR))) return false;
    out = text.bstrVal ? narrow(std::wstring_view(text.bstrVal, SysStringLen(text.bstrVal))) : std::string();
    VariantClear(&text);
    return true;
}

}  // namespace

WinPageBridge* WinPageBridge::create() { return new WinPageBridge(); }

HRESULT WinPageBridge::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG WinPageBridge::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG WinPageBridge::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

HRESULT WinPageBridge::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT WinPageBridge::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }

HRESULT WinPageBridge::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (!names || !ids) return E_POINTER;
    HRESULT status = S_OK;
    for (UINT i = 0; i < count; ++i) {
        // Script engines look names up without regard to case.
        const bool known = i == 0 && names[i] && _wcsicmp(names[i], L"calls") == 0;
        ids[i] = known ? kCalls : DISPID_UNKNOWN;
        if (!known) status = DISP_E_UNKNOWNNAME;
    }
    return status;
}

HRESULT WinPageBridge::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                              EXCEPINFO* exception, UINT* badArgument) {
    if (id != kCalls) return DISP_E_MEMBERNOTFOUND;
    if (!(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
    if (!params || params->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
    if (params->cArgs != 2) return DISP_E_BADPARAMCOUNT;
    // The arguments come last first.
    std::string webName, text;
    for (UINT i : {1u, 0u}) {
        if (!textOf(params->rgvarg[i], i == 1 ? webName : text)) {
            if (badArgument) *badArgument = i;
            return DISP_E_TYPEMISMATCH;
        }
    }
    if (result) VariantInit(result);
    // The page keeps the object alive while its call runs, and the call may
    // end the view that gave it out.
    AddRef();
    const HRESULT status = call(webName, text, exception);
    Release();
    return status;
}

HRESULT WinPageBridge::call(const std::string& webName, const std::string& text, EXCEPINFO* exception) {
    // A copy: the handler may drop this bridge's handler while it runs.
    const BrowserView::ExternalCalls handler = handler_;
    if (!handler) return S_OK;
    if (mayCall_ && !mayCall_()) return fail("这个页面不能调用程序", exception);
    if (Commands::running()) {
        events_.deliver([handler, webName, text] { handler(webName, text); });
        return S_OK;
    }
    std::string failure;
    try {
        Commands::deliver([&] { handler(webName, text); });
        return S_OK;
    } catch (const std::exception& e) {
        failure = e.what();
    } catch (...) {
        failure = "unknown error";
    }
    return fail(failure, exception);
}

// The page's script gets an exception with the text.
HRESULT WinPageBridge::fail(const std::string& text, EXCEPINFO* exception) {
    if (exception) {
        *exception = EXCEPINFO{};
        exception->bstrSource = SysAllocString(L"Tovlo");
        exception->bstrDescription = SysAllocString(widen(text).c_str());
        exception->scode = E_FAIL;
    }
    return DISP_E_EXCEPTION;
}

}  // namespace tovlo
