# The Windows build (cross-built with cmake/toolchain-mingw64.cmake): the
# libraries scripts/build-windows-deps.sh built, a static runtime so that
# the driver is one file, and Wine to run what was built.
set(TAP_WINDOWS_DEPS_DIR "${PROJECT_SOURCE_DIR}/build/windows-deps" CACHE PATH
    "Where scripts/build-windows-deps.sh put the cross-built libraries")
set(_prefixes_file "${TAP_WINDOWS_DEPS_DIR}/prefixes.txt")
if(NOT EXISTS "${_prefixes_file}")
  message(FATAL_ERROR "No cross-built libraries in ${TAP_WINDOWS_DEPS_DIR}: run scripts/build-windows-deps.sh")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${_prefixes_file}")
file(STRINGS "${_prefixes_file}" TAP_WINDOWS_PREFIXES)
list(APPEND CMAKE_FIND_ROOT_PATH ${TAP_WINDOWS_PREFIXES})
list(APPEND CMAKE_PREFIX_PATH ${TAP_WINDOWS_PREFIXES})
set(_pc_dirs "")
foreach(p IN LISTS TAP_WINDOWS_PREFIXES)
  list(APPEND _pc_dirs "${p}/lib/pkgconfig")
endforeach()
list(JOIN _pc_dirs ":" _pc_path)
set(ENV{PKG_CONFIG_LIBDIR} "${_pc_path}")
set(ENV{PKG_CONFIG_PATH} "")

# The C and C++ runtimes, winpthread and libxml2/PCRE2 all go into each
# module, so taplayback.dll and the programs need no DLL of MinGW's.
add_link_options(-static)
# Windows headers: no min/max macros, nothing of the rarely used APIs.
# localtime_r and the other reentrant POSIX time functions, which the C
# runtime has under other names.
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00 _POSIX_THREAD_SAFE_FUNCTIONS=200112L)

find_package(LibXml2 REQUIRED)
# Static libxml2 and PCRE2 declare their functions without dllimport only
# when told so.
set_property(TARGET LibXml2::LibXml2 APPEND PROPERTY INTERFACE_COMPILE_DEFINITIONS LIBXML_STATIC)
find_package(PkgConfig REQUIRED)
pkg_check_modules(PCRE2 REQUIRED IMPORTED_TARGET libpcre2-16 libpcre2-8)
set_property(TARGET PkgConfig::PCRE2 APPEND PROPERTY INTERFACE_COMPILE_DEFINITIONS PCRE2_STATIC)

enable_language(RC)

# Every program runs under Wine through a wrapper that gives it a prefix of
# its own in the build tree, no display and no Wine diagnostics.
find_program(TAP_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(TAP_WINE64)
  set(TAP_WINE_PREFIX "${PROJECT_BINARY_DIR}/wine-prefix")
  # The build folder, where the DLLs are, as Wine's Z: drive names it: test
  # programs in subfolders find libtaphost.dll there as a Windows program
  # finds DLLs on its PATH.
  string(REPLACE "/" "\\" TAP_WINE_DLL_PATH "Z:${PROJECT_BINARY_DIR}")
  configure_file(${CMAKE_CURRENT_LIST_DIR}/windows/wine-run.sh.in
    ${PROJECT_BINARY_DIR}/wine-run.sh @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_BINARY_DIR}/wine-run.sh)
endif()

# cmake --build --preset windows --target package: a zip of what the
# install puts in place (taplayback.dll and srplay.exe in bin, the headers,
# the documents), stripped of their debugging information.
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME taplayback)
set(CPACK_PACKAGE_VENDOR Tarvena)
set(CPACK_PACKAGE_FILE_NAME "taplayback-${PROJECT_VERSION}-win64")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY "${PROJECT_BINARY_DIR}/packages")
include(CPack)
