# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (posix threads, as std::thread and
# Qt's threads need).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
# The cross-built Qt and libraries are found through TULMO_WINDOWS_PREFIXES (an environment
# variable, so that CMake's trial compilations see it too).
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 $ENV{TULMO_WINDOWS_PREFIXES})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Built programs run under Wine where the build needs to run one.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
