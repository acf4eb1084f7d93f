# Fails when a folder of src/ includes a header of a folder above it: the
# platform and the interpreter know nothing of playback, and the file
# format and the model know nothing of the driver or the script worker.
set(rules
  "platform|vbscript|diag|model|playfile|scripting|driver|host"
  "vbscript|model|playfile|scripting|driver|host"
  "diag|vbscript|model|playfile|scripting|driver|host"
  "model|playfile|scripting|driver|host"
  "playfile|scripting|driver|host"
  "scripting|model|playfile|driver|host")
set(folders platform vbscript diag model playfile scripting)
set(failures "")
foreach(folder rule IN ZIP_LISTS folders rules)
  string(REPLACE "|" ";" banned "${rule}")
  list(REMOVE_ITEM banned ${folder})
  file(GLOB_RECURSE sources "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
  foreach(source IN LISTS sources)
    file(STRINGS "${source}" includes REGEX "^#include \"")
    foreach(line IN LISTS includes)
      foreach(above IN LISTS banned)
        if(line MATCHES "^#include \"${above}/")
          list(APPEND failures "${source}: ${line}")
        endif()
      endforeach()
    endforeach()
  endforeach()
endforeach()
if(failures)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "includes that point up:\n  ${text}")
endif()
