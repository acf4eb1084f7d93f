# Compiles the files under resources/ into the library, so that the driver
# finds its schema and message texts without any path on disk.
#   tap_add_resources(<target> MANIFEST <file> MESSAGES <file>)
# MANIFEST lines: "<TYPE> <ID> <file>" (type names are upper case words).
# MESSAGES lines: "<ID> <text>" (UTF-8; stored and handed out as UTF-16).
function(tap_add_resources target)
  cmake_parse_arguments(ARG "" "MANIFEST;MESSAGES" "" ${ARGN})
  set(out "${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.cpp")
  file(STRINGS "${ARG_MANIFEST}" lines REGEX "^[A-Z]")
  set(deps "${ARG_MANIFEST}" "${ARG_MESSAGES}")
  get_filename_component(dir "${ARG_MANIFEST}" DIRECTORY)
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[A-Z]+ +[0-9]+ +" "" file "${line}")
    list(APPEND deps "${dir}/${file}")
  endforeach()
  add_custom_command(
    OUTPUT "${out}"
    COMMAND ${CMAKE_COMMAND} -DMANIFEST=${ARG_MANIFEST} -DMESSAGES=${ARG_MESSAGES}
            -DOUT=${out} -P "${PROJECT_SOURCE_DIR}/cmake/EmbedResources.cmake"
    DEPENDS ${deps} "${PROJECT_SOURCE_DIR}/cmake/EmbedResources.cmake"
    COMMENT "Embedding resources into ${target}")
  target_sources(${target} PRIVATE "${out}")
endfunction()
