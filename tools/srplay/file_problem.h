#pragma once
#include <string>

namespace srplay {

// Why PATH cannot be read as a file, in the operating system's words
// ("No such file or directory", "Is a directory", "Permission denied");
// empty when it can. Asked before the loader so the user sees the reason
// rather than the loader's generic refusal.
std::string file_problem(const std::string& path);

// Prints "srplay: cannot read PATH: REASON" and returns true when PATH
// cannot be read.
bool report_unreadable(const std::string& path);

}  // namespace srplay
