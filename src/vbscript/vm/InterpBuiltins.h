#pragma once
// The functions that need the interpreter itself rather than their
// arguments alone: Eval, Execute, ExecuteGlobal, GetRef, CreateObject,
// GetObject, MsgBox, InputBox and the ScriptEngine family.
#include <cstdint>
#include <string_view>

#include "vbscript/compile/Node.h"

namespace tap::vbs {

// X(name, lower-case name, min args, max args)
#define TAP_VBS_INTERP_BUILTINS(X)                                        \
  X(eval, "eval", 1, 1)                                                   \
  X(execute, "execute", 1, 1)                                             \
  X(execute_global, "executeglobal", 1, 1)                                \
  X(get_ref, "getref", 1, 1)                                              \
  X(create_object, "createobject", 1, 2)                                  \
  X(get_object, "getobject", 0, 2)                                        \
  X(msg_box, "msgbox", 1, 5)                                              \
  X(input_box, "inputbox", 1, 7)                                          \
  X(script_engine, "scriptengine", 0, 0)                                  \
  X(script_engine_major, "scriptenginemajorversion", 0, 0)                \
  X(script_engine_minor, "scriptengineminorversion", 0, 0)                \
  X(script_engine_build, "scriptenginebuildversion", 0, 0)

enum class InterpBuiltin : std::uint8_t {
#define TAP_VBS_INTERP_ENUM(name, text, lo, hi) name,
  TAP_VBS_INTERP_BUILTINS(TAP_VBS_INTERP_ENUM)
#undef TAP_VBS_INTERP_ENUM
};

// True and sets *out when lower_name is one of them.
bool find_interp_builtin(std::u16string_view lower_name, InterpBuiltin* out);

class InterpBuiltinNode final : public Expr {
 public:
  InterpBuiltinNode(std::int32_t l, std::int32_t c, InterpBuiltin which, ExprList args)
      : Expr(l, c), which_(which), args_(std::move(args)) {}
  com::Variant eval(Runtime& rt) const override;

 private:
  InterpBuiltin which_;
  ExprList args_;
};

}  // namespace tap::vbs
