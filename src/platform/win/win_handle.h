#pragma once
// Window handles as the program's logic keeps them (a number) and as the
// Win32 API takes them.
#include <windows.h>

#include <cstdint>

#include "platform/forms.h"

namespace tovlo {

inline HWND toHwnd(WindowHandle window) { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window)); }
inline WindowHandle fromHwnd(HWND window) {
    return static_cast<WindowHandle>(reinterpret_cast<std::uintptr_t>(window));
}

}  // namespace tovlo
