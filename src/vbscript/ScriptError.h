#pragma once
// VBScript's run-time errors: numbers and English descriptions in one table.
#include <cstdint>
#include <stdexcept>
#include <string>

#include "platform/com/HResult.h"

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
  X(91, object_variable_not_set, u"Object variable not set")                           \
  X(92, for_loop_not_initialized, u"For loop not initialized")                         \
  X(94, invalid_use_of_null, u"Invalid use of Null")                                   \
  X(424, object_required, u"Object required")                                          \
  X(429, cannot_create_object, u"ActiveX component can't create object")               \
  X(430, no_automation, u"Class doesn't support Automation")                           \
  X(438, no_such_property_or_method, u"Object doesn't support this property or method") \
  X(440, automation_error, u"Automation error")                                        \
  X(445, action_not_supported, u"Object doesn't support this action")                  \
  X(446, named_arguments_not_supported, u"Object doesn't support named arguments")     \
  X(447, locale_setting_not_supported, u"Object doesn't support current locale setting") \
  X(448, named_argument_not_found, u"Named argument not found")                        \
  X(449, argument_not_optional, u"Argument not optional")                              \
  X(450, wrong_number_of_arguments, u"Wrong number of arguments or invalid property assignment") \
  X(451, not_a_collection, u"Object not a collection")                                 \
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
  X(32811, element_not_found, u"Element not found")

enum class RuntimeError : std::int32_t {
#define TAP_VBS_ERROR_ENUM(number, name, text) name = number,
  TAP_VBS_RUNTIME_ERRORS(TAP_VBS_ERROR_ENUM)
#undef TAP_VBS_ERROR_ENUM
};

// The English description of a run-time error number; empty if unknown.
std::u16string runtime_error_description(std::int32_t number);

// Maps an automation failure to the error number a script sees:
// DISP_E_TYPEMISMATCH -> 13, DISP_E_OVERFLOW -> 6, DISP_E_DIVBYZERO -> 11,
// DISP_E_BADINDEX -> 9, E_OUTOFMEMORY -> 7, 0x800A00nn -> nn, ...
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

 private:
  std::int32_t number_;
  std::u16string description_;
  std::u16string source_;
};

// Throws the ScriptError that corresponds to a failed HRESULT.
void throw_if_failed(com::HRESULT hr);

}  // namespace tap::vbs
