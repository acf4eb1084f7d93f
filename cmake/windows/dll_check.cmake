# taplayback.dll as a host sees it: exactly the two entry exports, and only
# DLLs that every Windows has among its imports, so that the one file is
# the whole driver (no MinGW runtime, libxml2 or PCRE2 DLL beside it).
#   cmake -DLIBRARY=<dll> -DOBJDUMP=<objdump> -P dll_check.cmake
execute_process(COMMAND "${OBJDUMP}" -p "${LIBRARY}" OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${LIBRARY}")
endif()

# The export name table: "\t[   0] TAPlayback_getentry". Square brackets
# would upset CMake's lists, so they become angle brackets first.
string(REPLACE "[" "<" out "${out}")
string(REPLACE "]" ">" out "${out}")
string(REGEX MATCH "<Ordinal/Name Pointer> Table[^\n]*\n(([ \t]+< *[0-9]+>[^\n]*\n)*)" _ "${out}")
string(REGEX MATCHALL "> [^\n]+" rows "${CMAKE_MATCH_1}")
set(exports "")
foreach(row IN LISTS rows)
  string(REGEX REPLACE "^> " "" name "${row}")
  list(APPEND exports "${name}")
endforeach()
list(SORT exports)
if(NOT exports STREQUAL "TAPlayback_getentry;TAPlaybk_getentry")
  message(FATAL_ERROR "unexpected exports: '${exports}'")
endif()

string(REGEX MATCHALL "DLL Name: [^\n]+" rows "${out}")
set(imports "")
set(foreign "")
foreach(row IN LISTS rows)
  string(REGEX REPLACE "^DLL Name: " "" dll "${row}")
  string(TOLOWER "${dll}" dll)
  list(APPEND imports "${dll}")
  if(NOT dll MATCHES "^(kernel32|user32|advapi32|ws2_32|msvcrt|ucrtbase|api-ms-win-[a-z0-9-]+)\\.dll$")
    list(APPEND foreign "${dll}")
  endif()
endforeach()
if(NOT imports)
  message(FATAL_ERROR "no import table found in ${LIBRARY}")
endif()
if(foreign)
  message(FATAL_ERROR "imports DLLs that are not the system's: ${foreign} (all imports: ${imports})")
endif()
message(STATUS "exports: ${exports}; imports: ${imports}")
