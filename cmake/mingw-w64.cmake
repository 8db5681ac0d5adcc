# Cross-building for 64-bit Windows with Debian's MinGW-w64 (the POSIX
# threads flavour, which has std::thread and std::mutex). Programs are linked
# statically, so they run under Wine or on Windows without the compiler's
# DLLs beside them; CTest runs them through Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER /usr/bin/${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER /usr/bin/${triple}-g++-posix)
set(CMAKE_RC_COMPILER /usr/bin/${triple}-windres)
set(CMAKE_AR /usr/bin/${triple}-gcc-ar-posix)
set(CMAKE_RANLIB /usr/bin/${triple}-gcc-ranlib-posix)

set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

find_program(TOVLO_WINE wine)
if(TOVLO_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TOVLO_WINE})
endif()
