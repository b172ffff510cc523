# Cross-building for 64-bit Windows with Debian's MinGW-w64 (POSIX threads, which Qt 6 needs). Loaded by
# Qt's own toolchain file (QT_CHAINLOAD_TOOLCHAIN_FILE), see scripts/windows/configure.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${WARIZAN_WINDOWS_EXTRA_ROOTS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Build steps and tests run the Windows programs under Wine (not while Qt itself is built with this file:
# scripts/windows/build-sdk).
if(NOT WARIZAN_BUILDING_QT)
    set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../scripts/windows/wine-run")
endif()
