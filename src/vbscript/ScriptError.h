#pragma once
// VBScript's run-time errors: numbers and English descriptions in one table.
#include <cstdint>
#include <stdexcept>
#include <string>

#include "platform/com/HResult.h"
#include "platform/com/IDispatch.h"

namespace tap::vbs {

// X(number, name, description)
#define TAP_VBS_RUNTIME_ERRORS(X)                                                      \
  X(5, invalid_procedure_call, u"Invalid procedure call or argument")                  \
  X(6, overflow, u"Overflow")                                                          \
  X(7, out_of_memory, u"Out of memory")                                                \
  X(9, subscript_out_of_range, u"Subscript out of range")                              \
  X(10, array_fixed_or_locked, u"This array is fixed or temporarily locked")           \
  X(11, division_by_zero, u"Division by zero")                                         \
  X(13, type_mismatch, u"Type mismatch")                                               \
  X(14, out_of_string_space, u"Out of string space")                                   \
  X(17, cannot_perform_operation, u"Can't perform requested operation")                \
  X(28, out_of_stack_space, u"Out of stack space")                                     \
  X(35, sub_or_function_not_defined, u"Sub or Function not defined")                   \
  X(48, error_loading_dll, u"Error in loading DLL")                                    \
  X(51, internal_error, u"Internal error")                                             \
  X(52, bad_file_name_or_number, u"Bad file name or number")                           \
  X(53, file_not_found, u"File not found")                                             \
  X(57, device_io_error, u"Device I/O error")                                          \
  X(58, file_already_exists, u"File already exists")                                   \
  X(61, disk_full, u"Disk full")                                                       \
  X(67, too_many_files, u"Too many files")                                             \
  X(70, permission_denied, u"Permission denied")                                       \
  X(75, path_file_access_error, u"Path/File access error")                             \
  X(76, path_not_found, u"Path not found")                                             \
  X(91, object_variable_not_set, u"Object variable not set")                           \
  X(92, for_loop_not_initialized, u"For loop not initialized")                         \
  X(94, invalid_use_of_null, u"Invalid use of Null")                                   \
  X(322, cannot_create_temporary_file, u"Can't create necessary temporary file")       \
  X(424, object_required, u"Object required")                                          \
  X(429, cannot_create_object, u"ActiveX component can't create object")               \
  X(430, no_automation, u"Class doesn't support Automation")                           \
  X(432, name_not_found_in_automation, u"File name or class name not found during Automation operation") \
  X(438, no_such_property_or_method, u"Object doesn't support this property or method") \
  X(440, automation_error, u"Automation error")                                        \
  X(445, action_not_supported, u"Object doesn't support this action")                  \
  X(446, named_arguments_not_supported, u"Object doesn't support named arguments")     \
  X(447, locale_setting_not_supported, u"Object doesn't support current locale setting") \
  X(448, named_argument_not_found, u"Named argument not found")                        \
  X(449, argument_not_optional, u"Argument not optional")                              \
  X(450, wrong_number_of_arguments, u"Wrong number of arguments or invalid property assignment") \
  X(451, not_a_collection, u"Object not a collection")                                 \
  X(453, dll_function_not_found, u"Specified DLL function not found")                  \
  X(458, unsupported_automation_type, u"Variable uses an Automation type not supported in VBScript") \
  X(462, remote_server_unavailable, u"The remote server machine does not exist or is unavailable") \
  X(500, variable_undefined, u"Variable is undefined")                                 \
  X(501, illegal_assignment, u"Illegal assignment")                                    \
  X(502, not_safe_for_scripting, u"Object not safe for scripting")                     \
  X(503, not_safe_for_initializing, u"Object not safe for initializing")               \
  X(505, invalid_or_unqualified_reference, u"Invalid or unqualified reference")        \
  X(506, class_not_defined, u"Class not defined")                                      \
  X(507, exception_occurred, u"An exception occurred")                                 \
  X(5016, regexp_object_expected, u"Regular Expression object expected")               \
  X(5017, regexp_syntax, u"Syntax error in regular expression")                        \
  X(5018, regexp_quantifier, u"Unexpected quantifier")                                 \
  X(5019, regexp_expected_bracket, u"Expected ']' in regular expression")              \
  X(5020, regexp_expected_paren, u"Expected ')' in regular expression")                \
  X(5021, regexp_invalid_range, u"Invalid range in character set")                    \
  X(32811, element_not_found, u"Element not found")                                  \
  X(-2147467260, script_timeout, u"Script timed out")

// X(number, name, description): compilation errors.
#define TAP_VBS_SYNTAX_ERRORS(X)                                                        \
  X(1001, syn_out_of_memory, u"Out of memory")                                          \
  X(1002, syn_syntax_error, u"Syntax error")                                            \
  X(1003, syn_expected_colon, u"Expected ':'")                                          \
  X(1005, syn_expected_lparen, u"Expected '('")                                         \
  X(1006, syn_expected_rparen, u"Expected ')'")                                         \
  X(1007, syn_expected_rbracket, u"Expected ']'")                                       \
  X(1010, syn_expected_identifier, u"Expected identifier")                              \
  X(1011, syn_expected_eq, u"Expected '='")                                             \
  X(1012, syn_expected_if, u"Expected 'If'")                                            \
  X(1013, syn_expected_to, u"Expected 'To'")                                            \
  X(1014, syn_expected_end, u"Expected 'End'")                                          \
  X(1015, syn_expected_function, u"Expected 'Function'")                                \
  X(1016, syn_expected_sub, u"Expected 'Sub'")                                          \
  X(1017, syn_expected_then, u"Expected 'Then'")                                        \
  X(1018, syn_expected_wend, u"Expected 'Wend'")                                        \
  X(1019, syn_expected_loop, u"Expected 'Loop'")                                        \
  X(1020, syn_expected_next, u"Expected 'Next'")                                        \
  X(1021, syn_expected_case, u"Expected 'Case'")                                        \
  X(1022, syn_expected_select, u"Expected 'Select'")                                    \
  X(1023, syn_expected_expression, u"Expected expression")                              \
  X(1024, syn_expected_statement, u"Expected statement")                                \
  X(1025, syn_expected_end_of_statement, u"Expected end of statement")                  \
  X(1026, syn_expected_integer, u"Expected integer constant")                           \
  X(1027, syn_expected_while_until, u"Expected 'While' or 'Until'")                     \
  X(1028, syn_expected_while_until_eos, u"Expected 'While', 'Until' or end of statement") \
  X(1029, syn_expected_with, u"Expected 'With'")                                        \
  X(1030, syn_identifier_too_long, u"Identifier too long")                              \
  X(1031, syn_invalid_number, u"Invalid number")                                        \
  X(1032, syn_invalid_character, u"Invalid character")                                  \
  X(1033, syn_unterminated_string, u"Unterminated string constant")                     \
  X(1037, syn_invalid_me, u"Invalid use of 'Me' keyword")                               \
  X(1038, syn_loop_without_do, u"'loop' without 'do'")                                  \
  X(1039, syn_invalid_exit, u"Invalid 'exit' statement")                                \
  X(1040, syn_invalid_for_variable, u"Invalid 'for' loop control variable")             \
  X(1041, syn_name_redefined, u"Name redefined")                                        \
  X(1042, syn_must_be_first, u"Must be first statement on the line")                    \
  X(1044, syn_parens_in_sub_call, u"Cannot use parentheses when calling a Sub")         \
  X(1045, syn_expected_literal, u"Expected literal constant")                           \
  X(1046, syn_expected_in, u"Expected 'In'")                                            \
  X(1047, syn_expected_class, u"Expected 'Class'")                                      \
  X(1048, syn_must_be_in_class, u"Must be defined inside a Class")                      \
  X(1049, syn_expected_let_set_get, u"Expected Let or Set or Get in property declaration") \
  X(1050, syn_expected_property, u"Expected 'Property'")                                \
  X(1052, syn_multiple_default, u"Cannot have multiple default property/method in a Class") \
  X(1053, syn_init_term_args, u"Class initialize or terminate do not have arguments")   \
  X(1054, syn_let_set_needs_arg, u"Property set or let must have at least one argument") \
  X(1055, syn_unexpected_next, u"Unexpected 'Next'")                                    \
  X(1057, syn_default_needs_public, u"'Default' must also be declared 'Public'") \
  X(1058, syn_default_only_get, u"'Default' can only be declared on Property Get")

enum class RuntimeError : std::int32_t {
#define TAP_VBS_ERROR_ENUM(number, name, text) name = number,
  TAP_VBS_RUNTIME_ERRORS(TAP_VBS_ERROR_ENUM)
#undef TAP_VBS_ERROR_ENUM
};

enum class SyntaxError : std::int32_t {
#define TAP_VBS_ERROR_ENUM(number, name, text) name = number,
  TAP_VBS_SYNTAX_ERRORS(TAP_VBS_ERROR_ENUM)
#undef TAP_VBS_ERROR_ENUM
};

inline constexpr char16_t runtime_error_source[] = u"Microsoft VBScript runtime error";
inline constexpr char16_t compilation_error_source[] = u"Microsoft VBScript compilation error";

// The English description of a run-time or compilation error number; empty
// if unknown.
std::u16string runtime_error_description(std::int32_t number);

// Maps an automation failure to the error number a script sees, as
// VBScript does: E_NOTIMPL -> 445, DISP_E_TYPEMISMATCH -> 13,
// STG_E_ACCESSDENIED -> 70, ..., 0x800A00nn -> nn; others stay as they are.
std::int32_t error_number_from_hresult(com::HRESULT hr);

// A run-time error raised inside the engine or by a built-in. Caught by the
// interpreter and turned into the Err object's state.
class ScriptError : public std::runtime_error {
 public:
  explicit ScriptError(RuntimeError e);
  ScriptError(std::int32_t number, std::u16string description, std::u16string source = {});

  std::int32_t number() const { return number_; }
  const std::u16string& description() const { return description_; }
  const std::u16string& source() const { return source_; }
  // Err.HelpFile and Err.HelpContext; empty and 0 unless Err.Raise set them.
  const std::u16string& help_file() const { return help_file_; }
  std::int32_t help_context() const { return help_context_; }
  void set_help(std::u16string file, std::int32_t context) {
    help_file_ = std::move(file);
    help_context_ = context;
  }
  // The error as a dispatch member reports it: numbers 1-65535 travel as
  // 0x800Annnn, others as they are.
  void to_excep(com::ExcepInfo& out) const;

  // Where the statement that raised it starts; 0 until the interpreter
  // fills it in on the way out.
  std::int32_t line() const { return line_; }
  std::int32_t column() const { return column_; }
  void set_position(std::int32_t line, std::int32_t column) {
    if (line_ == 0) { line_ = line; column_ = column; }
  }

 private:
  std::int32_t line_ = 0;
  std::int32_t column_ = 0;
  std::int32_t number_;
  std::u16string description_;
  std::u16string source_;
  std::u16string help_file_;
  std::int32_t help_context_ = 0;
};

// Ends a run regardless of On Error Resume Next: a time-out, or a host
// object asking to stop (WScript.Quit).
class ScriptAbort : public std::runtime_error {
 public:
  enum class Kind { timeout, quit };
  ScriptAbort(Kind kind, std::int32_t exit_code = 0)
      : std::runtime_error(kind == Kind::timeout ? "script timed out" : "script quit"),
        kind_(kind),
        exit_code_(exit_code) {}
  Kind kind() const { return kind_; }
  std::int32_t exit_code() const { return exit_code_; }

 private:
  Kind kind_;
  std::int32_t exit_code_;
};

// Throws the ScriptError that corresponds to a failed HRESULT.
void throw_if_failed(com::HRESULT hr);

}  // namespace tap::vbs
