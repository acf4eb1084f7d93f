#include "vbscript/vm/InterpBuiltins.h"

#include "platform/com/conversions.h"
#include "platform/ui/MessageBox.h"
#include "vbscript/ScriptError.h"
#include "vbscript/compile/Compiler.h"
#include "vbscript/objects/object_registry.h"
#include "vbscript/vm/ProcRef.h"
#include "vbscript/vm/Runtime.h"
#include "vbscript/vm/calls.h"

namespace tap::vbs {

using com::Variant;

namespace {

struct Entry {
  std::u16string_view name;
  InterpBuiltin which;
  std::uint8_t min_args, max_args;
};

constexpr Entry entries[] = {
#define TAP_VBS_INTERP_ENTRY(name, text, lo, hi) {u"" text, InterpBuiltin::name, lo, hi},
    TAP_VBS_INTERP_BUILTINS(TAP_VBS_INTERP_ENTRY)
#undef TAP_VBS_INTERP_ENTRY
};

const Entry& entry(InterpBuiltin which) { return entries[static_cast<std::size_t>(which)]; }

std::u16string text_of(const Variant& v) {
  if (v.is_null()) throw ScriptError(RuntimeError::invalid_use_of_null);
  com::BStr s;
  throw_if_failed(com::to_bstr(v.is_object() ? default_value(v) : v, &s));
  return s.str();
}

enum class Mode { expression, local, global };

// Code compiled at run time takes about this much memory per character of
// its text while it compiles (tokens, syntax tree, closure tree, the text
// kept as the cache key), and somewhat less once compiled.
constexpr std::size_t compiled_bytes_per_char = 96;

Variant run_dynamic(Runtime& rt, const std::u16string& text, Mode mode) {
  Frame* caller = rt.frame;
  const Procedure* scope = mode == Mode::global ? nullptr : caller->proc;
  if (scope && scope->is_main) scope = nullptr;
  std::u16string key;
  key.push_back(static_cast<char16_t>(u'0' + static_cast<int>(mode)));
  auto addr = reinterpret_cast<std::uintptr_t>(scope);
  for (int i = 0; i < 4; ++i) key.push_back(static_cast<char16_t>((addr >> (16 * i)) & 0xFFFF));
  key += text;
  std::shared_ptr<LoadedModule> lm = rt.find_dynamic(key);
  if (!lm) {
    // Code compiled at run time counts against the script's memory.
    com::MeterCharge charge(text.size() * compiled_bytes_per_char);
    DynamicScope ds;
    ds.proc = scope;
    ds.is_global = [&rt](std::u16string_view n) {
      GlobalSlot* g = rt.find_global(n);
      return g && (g->declared || g->proc || g->cls);
    };
    CompileResult cr = compile_dynamic(text, ds, mode == Mode::expression);
    if (!cr) throw ScriptError(cr.error, runtime_error_description(cr.error), compilation_error_source);
    lm = rt.add_dynamic(key, cr.module);
    lm->charge = std::move(charge);
  }
  const CompiledModule& m = *lm->module;
  if (!scope) {
    if (mode != Mode::expression) {
      call_procedure(rt, *m.main, lm->links.data(), nullptr, nullptr, {});
      return {};
    }
    std::vector<Variant> locals(static_cast<std::size_t>(m.main->local_count));
    Frame f;
    f.locals = locals.data();
    f.links = lm->links.data();
    f.proc = m.main.get();
    f.resume_next = caller->resume_next;
    FrameScope fs(rt, &f);
    return m.expression->eval(rt);
  }
  // Inside a procedure the code shares the caller's locals and Me.
  Frame f = *caller;
  f.links = lm->links.data();
  FrameScope fs(rt, &f);
  if (mode == Mode::expression) return m.expression->eval(rt);
  m.main->body.run(rt);
  return {};
}

}  // namespace

bool find_interp_builtin(std::u16string_view lower_name, InterpBuiltin* out) {
  for (const Entry& e : entries)
    if (e.name == lower_name) {
      *out = e.which;
      return true;
    }
  return false;
}

Variant InterpBuiltinNode::eval(Runtime& rt) const {
  const Entry& e = entry(which_);
  if (args_.size() < e.min_args || args_.size() > e.max_args)
    throw ScriptError(RuntimeError::wrong_number_of_arguments);
  std::vector<Variant> a;
  a.reserve(args_.size());
  for (const ExprNode& x : args_) a.push_back(x ? x->eval(rt) : Variant::missing());
  auto given = [&](std::size_t i) { return i < a.size() && !a[i].is_missing(); };
  switch (which_) {
    case InterpBuiltin::eval: return run_dynamic(rt, text_of(a[0]), Mode::expression);
    case InterpBuiltin::execute: run_dynamic(rt, text_of(a[0]), Mode::local); return {};
    case InterpBuiltin::execute_global: run_dynamic(rt, text_of(a[0]), Mode::global); return {};
    case InterpBuiltin::get_ref: {
      GlobalSlot* g = rt.find_global(fold_name(text_of(a[0])));
      if (!g || !g->proc) throw ScriptError(RuntimeError::invalid_procedure_call);
      return Variant(com::Ref<com::IDispatch>(new ProcRef(rt, *g)));
    }
    case InterpBuiltin::create_object: {
      com::Ref<com::IDispatch> obj = create_object_by_progid(text_of(a[0]));
      if (!obj) throw ScriptError(RuntimeError::cannot_create_object);
      return Variant(std::move(obj));
    }
    case InterpBuiltin::get_object: throw ScriptError(RuntimeError::cannot_create_object);
    case InterpBuiltin::msg_box: {
      std::int32_t flags = 0;
      if (given(1)) throw_if_failed(com::to_i4(a[1], &flags));
      std::u16string title = given(2) ? text_of(a[2]) : std::u16string(u"VBScript");
      return Variant(static_cast<std::int32_t>(ui::message_box(title, text_of(a[0]), flags)));
    }
    case InterpBuiltin::input_box: return Variant(std::u16string());
    case InterpBuiltin::script_engine: return Variant(u"VBScript");
    case InterpBuiltin::script_engine_major: return Variant(std::int32_t{5});
    case InterpBuiltin::script_engine_minor: return Variant(std::int32_t{8});
    case InterpBuiltin::script_engine_build: return Variant(std::int32_t{16384});
  }
  return {};
}

}  // namespace tap::vbs
