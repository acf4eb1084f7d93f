# Script mode: writes OUT, a C++ file with the resource and message tables
# that ModuleResources.cpp declares.
function(hex_array var file_or_text is_file)
  if(is_file)
    file(READ "${file_or_text}" hex HEX)
  else()
    file(WRITE "${OUT}.tmp" "${file_or_text}")
    file(READ "${OUT}.tmp" hex HEX)
    file(REMOVE "${OUT}.tmp")
  endif()
  string(LENGTH "${hex}" n)
  math(EXPR size "${n} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  set(${var} "${bytes}" PARENT_SCOPE)
  set(${var}_size ${size} PARENT_SCOPE)
endfunction()

get_filename_component(dir "${MANIFEST}" DIRECTORY)
set(body "// Generated from resources/: do not edit.\n#include <cstddef>\n#include <cstdint>\n\nnamespace tap::os::generated {\n")
set(table "")
set(i 0)
file(STRINGS "${MANIFEST}" lines REGEX "^[A-Z]")
foreach(line IN LISTS lines)
  string(REGEX MATCH "^([A-Z]+) +([0-9]+) +(.+)$" _ "${line}")
  hex_array(bytes "${dir}/${CMAKE_MATCH_3}" TRUE)
  string(APPEND body "static const unsigned char res${i}[] = {${bytes}0};\n")
  string(APPEND table "  {\"${CMAKE_MATCH_1}\", ${CMAKE_MATCH_2}u, res${i}, ${bytes_size}u},\n")
  math(EXPR i "${i} + 1")
endforeach()

set(messages "")
set(j 0)
file(STRINGS "${MESSAGES}" mlines REGEX "^[0-9]+ ")
foreach(line IN LISTS mlines)
  string(REGEX MATCH "^([0-9]+) (.*)$" _ "${line}")
  hex_array(bytes "${CMAKE_MATCH_2}" FALSE)
  string(APPEND body "static const unsigned char msg${j}[] = {${bytes}0};\n")
  string(APPEND messages "  {${CMAKE_MATCH_1}u, msg${j}, ${bytes_size}u},\n")
  math(EXPR j "${j} + 1")
endforeach()

string(APPEND body "
struct Resource { const char* type; std::uint32_t id; const unsigned char* data; std::size_t size; };
struct Message { std::uint32_t id; const unsigned char* utf8; std::size_t size; };
extern const Resource kResources[];
extern const std::size_t kResourceCount;
extern const Message kMessages[];
extern const std::size_t kMessageCount;
const Resource kResources[] = {\n${table}  {nullptr, 0u, nullptr, 0u}\n};
const std::size_t kResourceCount = ${i};
const Message kMessages[] = {\n${messages}  {0u, nullptr, 0u}\n};
const std::size_t kMessageCount = ${j};
}  // namespace tap::os::generated
")
file(WRITE "${OUT}.new" "${body}")
file(COPY_FILE "${OUT}.new" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.new")
