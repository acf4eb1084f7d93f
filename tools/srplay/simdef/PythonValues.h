#pragma once
// The definition's values as Python's int() and float() read them, so that
// defaults and limits are checked at import as the simulator checks them at
// load.
#include <optional>
#include <string>

namespace srplay::simdef {

// int(text): surrounding whitespace, a sign, decimal digits with single
// underscores between them. nullopt when Python would refuse it or the
// value is beyond what the scripts hold exactly (2^53).
std::optional<double> python_int(const std::string& text);

// float(text) for finite decimal numbers; nullopt for anything else
// (infinity and nan included, which the scripts cannot hold).
std::optional<double> python_float(const std::string& text);

}  // namespace srplay::simdef
