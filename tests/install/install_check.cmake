# Installs the build into a fresh prefix and builds two small hosts against
# the installed package, one through find_package and one through
# pkg-config; each loads the installed driver and opens a session. Also runs
# the installed srplay, which must find the driver in the library folder.
# Arguments: BUILD_DIR, SOURCE_DIR, WORK_DIR, GENERATOR, LIBDIR (relative to the prefix).
cmake_minimum_required(VERSION 3.25)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${out}\n${err}")
  endif()
  set(run_output "${out}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

set(libdir ${prefix}/${LIBDIR})
foreach(f ${libdir}/libtaplayback.so.0.1.0 ${libdir}/libtaplayback.so.0
          ${prefix}/bin/srplay ${prefix}/include/taplayback/varnel.h
          ${prefix}/include/taplayback/region.h ${prefix}/share/man/man1/srplay.1
          ${libdir}/pkgconfig/taplayback.pc ${libdir}/cmake/taplayback/taplaybackConfig.cmake
          ${prefix}/share/doc/taplayback/LICENSE)
  if(NOT EXISTS ${f})
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
file(READ_SYMLINK ${libdir}/libtaplayback.so.0 target)
if(NOT target STREQUAL "libtaplayback.so.0.1.0")
  message(FATAL_ERROR "libtaplayback.so.0 points to '${target}'")
endif()
find_program(READELF readelf)
if(READELF)
  run(${READELF} -d ${libdir}/libtaplayback.so.0.1.0)
  if(NOT run_output MATCHES "SONAME[^\n]*\\[libtaplayback\\.so\\.0\\]")
    message(FATAL_ERROR "SONAME is not libtaplayback.so.0:\n${run_output}")
  endif()
endif()

# find_package
run(${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/find -G ${GENERATOR}
    -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF)
run(${CMAKE_COMMAND} --build ${WORK_DIR}/find)
run(${WORK_DIR}/find/host_check)
message(STATUS "${run_output}")

# pkg-config
set(ENV{PKG_CONFIG_PATH} ${libdir}/pkgconfig)
run(pkg-config --cflags taplayback)
string(STRIP "${run_output}" cflags)
separate_arguments(cflags UNIX_COMMAND "${cflags}")
run(pkg-config --variable=driver taplayback)
string(STRIP "${run_output}" driver)
if(NOT EXISTS ${driver})
  message(FATAL_ERROR "pkg-config's driver path does not exist: ${driver}")
endif()
run(cc -std=c99 -Wall -Wextra -Wpedantic -Werror ${cflags} ${SOURCE_DIR}/host_check.c
    -o ${WORK_DIR}/host_check_pc -ldl)
run(${WORK_DIR}/host_check_pc ${driver})
message(STATUS "${run_output}")

# The installed srplay finds the installed driver and plays an example.
run(${prefix}/bin/srplay --version)
if(NOT run_output MATCHES "srplay 0\\.1\\.0")
  message(FATAL_ERROR "srplay --version said: ${run_output}")
endif()
run(${prefix}/bin/srplay run ${prefix}/share/doc/taplayback/examples/bench-multimeter.xml "query *IDN?\\n")
if(NOT run_output MATCHES "TARVENA,TDM-4520")
  message(FATAL_ERROR "installed srplay did not play the example:\n${run_output}")
endif()

# The C host API beside the driver, and the installed PyVISA backend,
# which finds the installed libraries by itself.
foreach(f ${libdir}/libtaphost.so.0 ${prefix}/include/taplayback/host.h
          ${prefix}/lib/python3/dist-packages/pyvisa_tap/_installed.py)
  if(NOT EXISTS ${f})
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
# Debian's Python, which has python3-pyvisa, before any other on the PATH.
find_program(PYTHON3 python3 HINTS /usr/bin)
if(PYTHON3)
  set(ENV{PYTHONPATH} ${prefix}/lib/python3/dist-packages)
  unset(ENV{TAPLAYBACK_LIB_DIR})
  file(WRITE ${WORK_DIR}/play.py [=[
import sys
import pyvisa
rm = pyvisa.ResourceManager(sys.argv[1] + "@tap")
print(rm.open_resource(rm.list_resources()[0], write_termination="\n").query("*IDN?"))
]=])
  run(${PYTHON3} ${WORK_DIR}/play.py ${prefix}/share/doc/taplayback/examples/bench-multimeter.xml)
  if(NOT run_output MATCHES "TARVENA,TDM-4520")
    message(FATAL_ERROR "the installed pyvisa_tap did not play the example:\n${run_output}")
  endif()
endif()
