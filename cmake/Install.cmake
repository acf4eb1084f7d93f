# What `cmake --install` puts in place: the driver with a versioned SONAME,
# srplay and its man page, the public headers, a CMake package and a
# pkg-config file for host authors, and the documents.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# The build tree keeps libtaplayback.so (a link to the versioned file) for
# the tests and srplay, which load it by that name.
set_target_properties(taplayback PROPERTIES
  VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR})
set(TAP_INSTALLED_DRIVER_NAME libtaplayback.so.${PROJECT_VERSION_MAJOR})
# The C host API sits beside the driver, which it finds there.
set_target_properties(taphost PROPERTIES
  VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR})

# Hosts dlopen the driver, so what they build against is the headers alone.
add_library(taplayback_headers INTERFACE)
set_target_properties(taplayback_headers PROPERTIES EXPORT_NAME headers)
target_include_directories(taplayback_headers INTERFACE
  $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include>
  $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
add_library(taplayback::headers ALIAS taplayback_headers)

# Windows finds a program's DLLs beside it, so there the driver goes to bin.
if(WIN32)
  set(TAP_DRIVER_DESTINATION ${CMAKE_INSTALL_BINDIR})
else()
  set(TAP_DRIVER_DESTINATION ${CMAKE_INSTALL_LIBDIR})
endif()
install(TARGETS taplayback
  LIBRARY DESTINATION ${TAP_DRIVER_DESTINATION} COMPONENT driver)
install(TARGETS taphost
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT host
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT host)
install(TARGETS srplay RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT tools)
install(TARGETS taplayback_headers EXPORT taplaybackTargets)
install(DIRECTORY include/taplayback DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
  FILES_MATCHING PATTERN "*.h")
install(EXPORT taplaybackTargets NAMESPACE taplayback::
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/taplayback)

set(TAP_PACKAGE_DIR ${PROJECT_BINARY_DIR}/package)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/package/taplaybackConfig.cmake.in
  ${TAP_PACKAGE_DIR}/taplaybackConfig.cmake
  INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/taplayback
  PATH_VARS CMAKE_INSTALL_LIBDIR CMAKE_INSTALL_INCLUDEDIR)
write_basic_package_version_file(${TAP_PACKAGE_DIR}/taplaybackConfigVersion.cmake
  COMPATIBILITY SameMajorVersion ARCH_INDEPENDENT)
install(FILES ${TAP_PACKAGE_DIR}/taplaybackConfig.cmake ${TAP_PACKAGE_DIR}/taplaybackConfigVersion.cmake
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/taplayback)

# The prefix is found from the file's own place, so the tree can be
# installed anywhere (cmake --install --prefix) and still be right.
file(RELATIVE_PATH TAP_PC_TO_PREFIX
  ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" TAP_PC_TO_PREFIX "${TAP_PC_TO_PREFIX}")
configure_file(${PROJECT_SOURCE_DIR}/cmake/package/taplayback.pc.in ${TAP_PACKAGE_DIR}/taplayback.pc @ONLY)
install(FILES ${TAP_PACKAGE_DIR}/taplayback.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

install(FILES docs/srplay.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES README.md LICENSE CHANGELOG.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY docs/ DESTINATION ${CMAKE_INSTALL_DOCDIR} FILES_MATCHING PATTERN "*.md")
install(DIRECTORY examples DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The PyVISA backend, told where the libraries are relative to itself. It
# loads them by their Linux names, so the Windows package leaves it out.
if(NOT WIN32)
  set(TAP_INSTALL_PYTHONDIR lib/python3/dist-packages CACHE STRING
    "Where cmake --install puts the Python package pyvisa_tap, relative to the prefix")
  file(RELATIVE_PATH TAP_PYTHON_TO_LIBDIR
    ${CMAKE_INSTALL_PREFIX}/${TAP_INSTALL_PYTHONDIR}/pyvisa_tap ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR})
  file(WRITE ${TAP_PACKAGE_DIR}/_installed.py
    "# Written by cmake --install: the library folder, relative to this package.\n"
    "LIB_DIR = \"${TAP_PYTHON_TO_LIBDIR}\"\n")
  install(DIRECTORY python/pyvisa_tap DESTINATION ${TAP_INSTALL_PYTHONDIR} COMPONENT python
    PATTERN __pycache__ EXCLUDE)
  install(FILES ${TAP_PACKAGE_DIR}/_installed.py DESTINATION ${TAP_INSTALL_PYTHONDIR}/pyvisa_tap
    COMPONENT python)
endif()
