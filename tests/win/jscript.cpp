#include "jscript.h"

#include <stdexcept>

#include "platform/win/win_text.h"

namespace tovlo::test {

namespace {

// {f414c260-6ac0-11cf-b6d1-00aa00bbbb58}
const CLSID kJScript = {0xf414c260, 0x6ac0, 0x11cf, {0xb6, 0xd1, 0x00, 0xaa, 0x00, 0xbb, 0xbb, 0x58}};
// Interfaces the cross compiler's libraries do not define.
const IID kParseIid = {0xc7ef7658, 0xe1ee, 0x480e, {0x97, 0xea, 0xd5, 0x2c, 0xb4, 0xd7, 0x6d, 0x17}};
const IID kPropertyIid = {0x4954e0d0, 0xfbc7, 0x11d1, {0x84, 0x10, 0x00, 0x60, 0x08, 0xc3, 0xfb, 0xfc}};
// The language mode the browser control gives pages in its newest document
// mode (HTML scripting on the newest language version).
constexpr LONG kNewestMode = 0x503;

}  // namespace

JScript::JScript() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(CoCreateInstance(kJScript, nullptr, CLSCTX_INPROC_SERVER, IID_IActiveScript,
                                reinterpret_cast<void**>(&script_))))
        throw std::runtime_error("no JScript engine");
    IActiveScriptProperty* property = nullptr;
    if (SUCCEEDED(script_->QueryInterface(kPropertyIid, reinterpret_cast<void**>(&property)))) {
        VARIANT mode;
        VariantInit(&mode);
        mode.vt = VT_I4;
        mode.lVal = kNewestMode;
        property->SetProperty(SCRIPTPROP_INVOKEVERSIONING, nullptr, &mode);
        property->Release();
    }
    if (FAILED(script_->QueryInterface(kParseIid, reinterpret_cast<void**>(&parser_))) || FAILED(parser_->InitNew()) ||
        FAILED(script_->SetScriptSite(this)))
        throw std::runtime_error("the JScript engine does not start");
    script_->SetScriptState(SCRIPTSTATE_CONNECTED);
}

JScript::~JScript() {
    script_->Close();
    parser_->Release();
    script_->Release();
    for (auto& [name, object] : objects_) object->Release();
}

void JScript::add(const std::wstring& name, IDispatch* object) {
    object->AddRef();
    objects_[name] = object;
    script_->AddNamedItem(name.c_str(), SCRIPTITEM_ISVISIBLE);
}

HRESULT JScript::parse(const std::string& code, DWORD flags, VARIANT* result) {
    error_.clear();
    EXCEPINFO exception{};
    const HRESULT status =
        parser_->ParseScriptText(widen(code).c_str(), nullptr, nullptr, nullptr, 0, 0, flags, result, &exception);
    if (FAILED(status) && error_.empty()) error_ = "script failed";
    return status;
}

std::string JScript::run(const std::string& code) {
    parse(code, SCRIPTTEXT_ISVISIBLE, nullptr);
    return error_;
}

std::string JScript::value(const std::string& expression) {
    VARIANT result;
    VariantInit(&result);
    if (FAILED(parse(expression, SCRIPTTEXT_ISEXPRESSION, &result))) return "error: " + error_;
    VARIANT text;
    VariantInit(&text);
    std::string out = "undefined";
    if (result.vt != VT_EMPTY && SUCCEEDED(VariantChangeType(&text, &result, 0, VT_BSTR)))
        out = narrow(std::wstring_view(text.bstrVal, SysStringLen(text.bstrVal)));
    VariantClear(&text);
    VariantClear(&result);
    return out;
}

HRESULT JScript::QueryInterface(REFIID iid, void** object) {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IActiveScriptSite)) {
        *object = static_cast<IActiveScriptSite*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT JScript::GetLCID(LCID* lcid) {
    *lcid = LOCALE_USER_DEFAULT;
    return S_OK;
}

HRESULT JScript::GetItemInfo(LPCOLESTR name, DWORD mask, IUnknown** item, ITypeInfo** info) {
    if (info) *info = nullptr;
    auto it = objects_.find(name);
    if (it == objects_.end() || !(mask & SCRIPTINFO_IUNKNOWN) || !item) return TYPE_E_ELEMENTNOTFOUND;
    *item = it->second;
    it->second->AddRef();
    return S_OK;
}

HRESULT JScript::OnScriptError(IActiveScriptError* error) {
    EXCEPINFO exception{};
    if (SUCCEEDED(error->GetExceptionInfo(&exception))) {
        if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
        error_ = exception.bstrDescription ? narrow(exception.bstrDescription) : "script error";
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrDescription);
        SysFreeString(exception.bstrHelpFile);
    }
    return S_OK;
}

}  // namespace tovlo::test
