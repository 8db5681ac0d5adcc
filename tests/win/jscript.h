#pragma once
// Wine's JScript engine as the browser control runs a page's scripts (the
// newest language mode, objects the host adds as named items such as
// "external"), for tests that drive the program's page objects from script.
#include <windows.h>
// After windows.h:
#include <activscp.h>

#include <map>
#include <string>

namespace tovlo::test {

class JScript : public IActiveScriptSite {
public:
    JScript();
    ~JScript();
    JScript(const JScript&) = delete;
    JScript& operator=(const JScript&) = delete;

    // The object is reached by the name in every script run later.
    void add(const std::wstring& name, IDispatch* object);
    // Runs the statements; the message of the error that stopped them, or
    // "" when none did.
    std::string run(const std::string& code);
    // The value of the expression as text ("error: message" when it throws).
    std::string value(const std::string& expression);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetLCID(LCID* lcid) override;
    HRESULT STDMETHODCALLTYPE GetItemInfo(LPCOLESTR name, DWORD mask, IUnknown** item, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetDocVersionString(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnScriptTerminate(const VARIANT*, const EXCEPINFO*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnStateChange(SCRIPTSTATE) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnScriptError(IActiveScriptError* error) override;
    HRESULT STDMETHODCALLTYPE OnEnterScript() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnLeaveScript() override { return S_OK; }

private:
    HRESULT parse(const std::string& code, DWORD flags, VARIANT* result);

    IActiveScript* script_ = nullptr;
    IActiveScriptParse64* parser_ = nullptr;
    std::map<std::wstring, IDispatch*> objects_;
    std::string error_;
};

}  // namespace tovlo::test
