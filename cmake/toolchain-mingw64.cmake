# 64-bit Windows with Debian's MinGW-w64 (POSIX threads variant: std::thread
# and std::mutex need it); the cross-built programs run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TAP_MINGW_TRIPLE x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${TAP_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TAP_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TAP_MINGW_TRIPLE}-windres)
set(CMAKE_AR ${TAP_MINGW_TRIPLE}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${TAP_MINGW_TRIPLE}-ranlib CACHE FILEPATH "")
find_program(TAP_OBJDUMP ${TAP_MINGW_TRIPLE}-objdump REQUIRED)

# Only the target's own libraries and headers: the compiler's sysroot and
# the prefix that scripts/build-windows-deps.sh fills.
set(CMAKE_FIND_ROOT_PATH /usr/${TAP_MINGW_TRIPLE})
if(DEFINED ENV{TAP_WINDOWS_DEPS_PREFIX})
  list(APPEND CMAKE_FIND_ROOT_PATH $ENV{TAP_WINDOWS_DEPS_PREFIX})
endif()
if(TAP_WINDOWS_DEPS_PREFIX)
  list(APPEND CMAKE_FIND_ROOT_PATH ${TAP_WINDOWS_DEPS_PREFIX})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Debian installs the 64-bit loader outside PATH; the wine wrapper wants a
# 32-bit Wine as well.
find_program(TAP_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(TAP_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TAP_WINE64})
endif()
