#pragma once
#include <optional>
#include <string>

namespace srplay {

// Whole files as bytes, for the text and recording commands.
std::optional<std::string> read_whole_file(const std::string& path);
bool write_whole_file(const std::string& path, const std::string& bytes);

}  // namespace srplay
