#pragma once
// The VBScript the importer puts in a recording. Every scripted write works
// out its whole answer (as the simulated instrument does when the command
// arrives) and leaves it in the session's value store under kAnswerKey, or
// Null for none; one read script delivers it.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "simdef/PythonFormat.h"

namespace srplay::simdef {

inline constexpr const char* kAnswerKey = "~answer";

enum class ValueType { text, integer, number };

// What a command that is not understood does: the message each error queue
// takes, the bits each status register takes, and the answer.
struct CommandErrorPlan {
  std::vector<std::pair<std::string, std::string>> queue_messages;  // store key, message bytes
  std::vector<std::pair<std::string, long>> register_bits;           // store key, bits
  std::optional<std::string> answer;                                 // bytes, terminator included
};

// Opening statements of every write script: no answer yet, numbers read the
// same whatever the machine's locale.
std::string write_script_start();
std::string answer_statement(const std::optional<std::string>& bytes);
std::string command_error_statements(const CommandErrorPlan& plan);

// The ExecuteRead body shared by all scripted pairs.
std::string answer_read_script();

// Statements that leave in `s` the value of expression `value` formatted
// with the format string (its fields all take that one value).
std::string format_statements(const FormatString& format, const std::string& value);

// Statements that bring a stored value back to its type: the store's
// initial values are texts.
std::string typed_value_statements(const std::string& var, ValueType type);

struct ValueChecks {
  ValueType type = ValueType::text;
  std::optional<double> min, max;            // numbers
  std::optional<std::string> min_text, max_text;  // texts
  std::vector<double> valid_numbers;
  std::vector<std::string> valid_texts;
};

// Statements that read capture group `group` with `reader`, convert it to the
// property's type and check it: `ok` tells whether it passed, `v` holds the
// value to store.
std::string setter_value_statements(int group, const ValueReader& reader, const ValueChecks& checks);

// The statement storing `v` (typed) under the key expression.
std::string store_value_statement(const std::string& key_expr, ValueType type);

}  // namespace srplay::simdef
