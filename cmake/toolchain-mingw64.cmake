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

# Only the target's own libraries and headers: the compiler's sysroot, and
# the prefixes of scripts/build-windows-deps.sh that cmake/Windows.cmake adds.
set(CMAKE_FIND_ROOT_PATH /usr/${TAP_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The compiler's "-posix" suffix hides the prefix from CMake's own search
# for the binutils.
foreach(tool OBJDUMP STRIP NM OBJCOPY)
  string(TOLOWER ${tool} name)
  find_program(CMAKE_${tool} ${TAP_MINGW_TRIPLE}-${name})
endforeach()
