#pragma once
// The text codec of the system the program is built for: iconv on POSIX
// systems, the code page tables of Windows there.
#ifdef _WIN32
#include "platform/win/win_codec.h"
#else
#include "platform/posix/iconv_codec.h"
#endif

namespace tovlo {

#ifdef _WIN32
using NativeCodec = WinCodec;
#else
using NativeCodec = IconvCodec;
#endif

}  // namespace tovlo
