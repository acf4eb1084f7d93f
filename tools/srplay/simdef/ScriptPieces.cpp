#include "simdef/ScriptPieces.h"

#include "simdef/PythonFormatVbs.h"
#include "simdef/VbsText.h"

namespace srplay::simdef {
namespace {

std::string store(const std::string& key_expr, const std::string& value_expr) {
  return "PlaybackEngine.StoreValue " + key_expr + ", " + value_expr + "\n";
}

std::string vbs_bool(bool b) { return b ? "True" : "False"; }

// Without indentation and comment lines: the block is repeated in every
// getter of the recording.
std::string compact(const std::string& block) {
  std::string out;
  std::size_t at = 0;
  while (at < block.size()) {
    std::size_t end = block.find('\n', at);
    if (end == std::string::npos) end = block.size();
    const std::size_t text = block.find_first_not_of(' ', at);
    if (text < end && block[text] != '\'') out += block.substr(text, end - text) + "\n";
    at = end + 1;
  }
  return out;
}

std::string spec_array(const FormatSpec& s) {
  return "Array(" + vbs_bytes(std::string(1, s.fill)) + ", " +
         vbs_bytes(s.align ? std::string(1, s.align) : "") + ", " +
         vbs_bytes(s.sign ? std::string(1, s.sign) : "") + ", " + vbs_bool(s.alternate) + ", " +
         vbs_bool(s.zero) + ", " + std::to_string(s.width) + ", " +
         vbs_bytes(s.grouping ? std::string(1, s.grouping) : "") + ", " +
         std::to_string(s.precision) + ", " + vbs_bytes(s.type ? std::string(1, s.type) : "") + ")";
}

// A number's regular expression test on t, leaving the verdict in ok.
std::string syntax_check(const char* pattern) {
  return "Set re = New RegExp\nre.Pattern = \"" + std::string(pattern) + "\"\nok = re.Test(t)\n";
}

}  // namespace

std::string write_script_start() {
  return store(vbs_bytes(kAnswerKey), "Null") + "SetLocale 1033\n";
}

std::string answer_statement(const std::optional<std::string>& bytes) {
  return store(vbs_bytes(kAnswerKey), bytes ? vbs_bytes(*bytes) : "Null");
}

std::string command_error_statements(const CommandErrorPlan& plan) {
  std::string s;
  for (const auto& [key, message] : plan.queue_messages) {
    s += "eq = PlaybackEngine.GetValue(" + vbs_bytes(key) + ")\nIf IsNull(eq) Then eq = \"\"\n";
    s += store(vbs_bytes(key), "eq & " + vbs_bytes(message) + " & Chr(1)");
  }
  for (const auto& [key, bits] : plan.register_bits) {
    s += "er = PlaybackEngine.GetValue(" + vbs_bytes(key) + ")\nIf IsNull(er) Then er = 0\n";
    s += store(vbs_bytes(key), "CLng(er) Or " + std::to_string(bits));
  }
  return s + answer_statement(plan.answer);
}

std::string answer_read_script() {
  return "a = PlaybackEngine.GetValue(\"" + std::string(kAnswerKey) +
         "\")\n"
         "If IsNull(a) Then\n"
         "  PlaybackEngine.ReadReturnValue = 15\n"
         "Else\n"
         "  PlaybackEngine.ReadText = a\n"
         "  PlaybackEngine.ReadStopReason = 2\n"
         "  PlaybackEngine.ReadReturnValue = 0\n"
         "End If";
}

std::string format_statements(const FormatString& format, const std::string& value) {
  std::string s = "fv = " + value + "\ns = " + vbs_bytes(format.literals[0]) + "\n";
  if (format.fields.empty()) return s;
  std::string specs;
  std::string literals;
  for (std::size_t i = 0; i < format.fields.size(); ++i) {
    if (i > 0) {
      specs += ", ";
      literals += ", ";
    }
    specs += spec_array(format.fields[i].spec);
    literals += vbs_bytes(format.literals[i + 1]);
  }
  s += "fSps = Array(" + specs + ")\nfLits = Array(" + literals + ")\n";
  s += "For fField = 0 To UBound(fSps)\nsp = fSps(fField)\n";
  s += compact(python_format_block());
  s += "s = s & fs & fLits(fField)\nNext\n";
  return s;
}

std::string typed_value_statements(const std::string& var, ValueType type) {
  if (type == ValueType::text) return "";
  std::string s = "If VarType(" + var + ") = 8 Then " + var + " = CDbl(" + var + ")\n";
  if (type == ValueType::integer)
    s += "If Abs(" + var + ") < 900000000000 Then " + var + " = CCur(" + var + ")\n";
  return s;
}

std::string setter_value_statements(int group, const ValueReader& reader, const ValueChecks& checks) {
  std::string s = "t = PlaybackEngine.WriteRegExpMatches(" + std::to_string(group) + ")\nok = True\n";
  switch (reader.kind) {
    case ValueReader::text:
      if (checks.type == ValueType::integer) {
        s += syntax_check("^ *[-+]?[0-9]+(_[0-9]+)* *$");
        s += "If ok Then v = CDbl(Replace(t, \"_\", \"\"))\n";
      } else if (checks.type == ValueType::number) {
        s += syntax_check("^ *[-+]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][-+]?[0-9]+)? *$");
        s += "If ok Then v = CDbl(t)\n";
      } else {
        s += "v = t\n";
      }
      break;
    case ValueReader::integer:
      if (reader.base == 10) {
        s += "v = CDbl(t)\n";
      } else {
        s += "u = LCase(t)\nng = (Left(u, 1) = \"-\")\n"
             "If ng Or Left(u, 1) = \"+\" Or Left(u, 1) = \" \" Then u = Mid(u, 2)\n"
             "If Left(u, 1) = \"0\" And InStr(\"box\", Mid(u, 2, 1)) > 0 And Len(u) > 2 Then u = Mid(u, 3)\n"
             "v = 0\nFor i = 1 To Len(u)\n  v = v * " +
             std::to_string(reader.base) +
             " + InStr(\"0123456789abcdef\", Mid(u, i, 1)) - 1\nNext\nIf ng Then v = -v\n";
      }
      if (checks.type == ValueType::text) s += "v = CStr(v)\n";
      break;
    case ValueReader::number:
      s += reader.percent ? "v = CDbl(Left(t, Len(t) - 1)) / 100\n" : "v = CDbl(t)\n";
      if (checks.type == ValueType::integer) s += "v = Fix(v)\n";
      if (checks.type == ValueType::text) s += "v = t\n";
      break;
  }
  auto limit = [&](const char* op, const std::optional<double>& n, const std::optional<std::string>& t) {
    if (n) s += "If ok Then\n  If v " + std::string(op) + " " + vbs_double(*n) + " Then ok = False\nEnd If\n";
    if (t) s += "If ok Then\n  If v " + std::string(op) + " " + vbs_bytes(*t) + " Then ok = False\nEnd If\n";
  };
  limit("<", checks.min, checks.min_text);
  limit(">", checks.max, checks.max_text);
  if (!checks.valid_numbers.empty() || !checks.valid_texts.empty()) {
    std::string any = "False";
    for (double n : checks.valid_numbers) any += " Or v = " + vbs_double(n);
    for (const std::string& t : checks.valid_texts) any += " Or v = " + vbs_bytes(t);
    s += "If ok Then ok = (" + any + ")\n";
  }
  return s;
}

std::string store_value_statement(const std::string& key_expr, ValueType type) {
  switch (type) {
    case ValueType::integer:
      return "If Abs(v) < 900000000000 Then v = CCur(v)\n" + store(key_expr, "v");
    case ValueType::number: return store(key_expr, "CDbl(v)");
    case ValueType::text: break;
  }
  return store(key_expr, "CStr(v)");
}

}  // namespace srplay::simdef
