#include "win_automation.h"

// After windows.h:
#include <oaidl.h>

#include <cstdio>
#include <cstdlib>

#include "win_browser_view.h"
#include "win_helper_window.h"
#include "win_text.h"

namespace tovlo {

namespace {

constexpr UINT_PTR kPollTimer = 1;
constexpr UINT kPollMs = 100;

std::string wholeFile(const std::string& path) {
    std::string bytes;
    if (FILE* f = _wfopen(widen(path).c_str(), L"rb")) {
        char block[4096];
        for (size_t n; (n = fread(block, 1, sizeof block, f)) > 0;) bytes.append(block, n);
        fclose(f);
    }
    return bytes;
}

}  // namespace

std::unique_ptr<WinAutomation> WinAutomation::fromEnvironment() {
    const char* file = std::getenv("TOVLO_AUTOMATION");
    if (!file || !*file) return nullptr;
    return std::make_unique<WinAutomation>(file);
}

WinAutomation::WinAutomation(std::string file) : file_(std::move(file)) {
    window_ = makeHelperWindow(L"TovloAutomation", procedure, this);
    SetTimer(window_, kPollTimer, kPollMs, nullptr);
}

WinAutomation::~WinAutomation() {
    KillTimer(window_, kPollTimer);
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
}

LRESULT CALLBACK WinAutomation::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<WinAutomation*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == WM_TIMER && wParam == kPollTimer) self->poll();
    return DefWindowProcW(window, message, wParam, lParam);
}

// Each whole line appended since the last look, in order.
void WinAutomation::poll() {
    const std::string text = wholeFile(file_);
    while (read_ < text.size()) {
        const std::size_t end = text.find('\n', read_);
        if (end == std::string::npos) break;
        std::string line = text.substr(read_, end - read_);
        read_ = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) call(line);
    }
}

// The call goes through the page bridge's own entry, as a page's script
// reaches it.
void WinAutomation::call(const std::string& line) {
    const std::size_t tab = line.find('\t');
    const std::string webName = line.substr(0, tab), text = tab == std::string::npos ? "" : line.substr(tab + 1);
    IDispatch* bridge = firstPageBridge();
    std::string outcome = "error no browser view";
    if (bridge) {
        VARIANT arguments[2];  // last first
        arguments[1].vt = VT_BSTR;
        arguments[1].bstrVal = SysAllocString(widen(webName).c_str());
        arguments[0].vt = VT_BSTR;
        arguments[0].bstrVal = SysAllocString(widen(text).c_str());
        DISPPARAMS params{arguments, nullptr, 2, 0};
        LPOLESTR name = const_cast<LPOLESTR>(L"calls");
        DISPID id = DISPID_UNKNOWN;
        EXCEPINFO exception{};
        HRESULT status = bridge->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
        if (SUCCEEDED(status))
            status = bridge->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, &exception,
                                    nullptr);
        outcome = SUCCEEDED(status)           ? "ok"
                  : exception.bstrDescription ? "error " + narrow(exception.bstrDescription)
                                              : "error " + std::to_string(status);
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrDescription);
        SysFreeString(exception.bstrHelpFile);
        VariantClear(&arguments[0]);
        VariantClear(&arguments[1]);
        bridge->Release();
    }
    std::fprintf(stderr, "[automation] %s %s: %s\n", webName.c_str(), text.c_str(), outcome.c_str());
    std::fflush(stderr);
}

}  // namespace tovlo
