#include "vbscript/vm/StmtNodes.h"

#include <new>

#include "platform/com/Dispatch.h"
#include "platform/com/SafeArray.h"
#include "platform/com/conversions.h"
#include "vbscript/ScriptError.h"
#include "vbscript/vm/OpNodes.h"
#include "vbscript/vm/Runtime.h"
#include "vbscript/vm/calls.h"

namespace tap::vbs {

using com::Variant;

namespace {

// Records an error for On Error Resume Next, or passes it on when the
// statement that raised it turned error handling off.
void record_error(Runtime& rt, const ScriptError& e) {
  ErrState& es = rt.err();
  es.number = e.number();
  es.description = e.description();
  es.source = e.source().empty() ? std::u16string(runtime_error_source) : e.source();
  es.help_file = e.help_file();
  es.help_context = e.help_context();
}

// Under On Error Resume Next a failed test resumes with the statement after
// it: the body of the If arm, Case or top-tested loop it guards, or
// whatever follows a bottom-tested loop. `on_error` is that outcome.
bool test_or_resume(Runtime& rt, const ExprNode& test, bool on_error) {
  if (!rt.frame->resume_next) return truth(test->eval(rt));
  try {
    return truth(test->eval(rt));
  } catch (ScriptError& e) {
    if (!rt.frame->resume_next) throw;
    record_error(rt, e);
  } catch (const std::bad_alloc&) {
    if (!rt.frame->resume_next) throw;
    record_error(rt, ScriptError(RuntimeError::out_of_memory));
  }
  return on_error;
}

}  // namespace

Flow Block::run(Runtime& rt) const {
  for (const StmtNode& s : stmts) {
    rt.current = s.get();
    if (!rt.frame->resume_next) {
      Flow f = s->exec(rt);
      if (f != Flow::normal) return f;
      continue;
    }
    try {
      Flow f = s->exec(rt);
      if (f != Flow::normal) return f;
    } catch (ScriptError& e) {
      if (!rt.frame->resume_next) throw;
      record_error(rt, e);
    } catch (const std::bad_alloc&) {
      if (!rt.frame->resume_next) throw;
      record_error(rt, ScriptError(RuntimeError::out_of_memory));
    }
  }
  return Flow::normal;
}

Flow AssignNode::exec(Runtime& rt) const {
  target_->assign(rt, assignable(value_->eval(rt), is_set_), is_set_);
  return Flow::normal;
}

Flow ConstNode::exec(Runtime& rt) const {
  Variant v = assignable(value_->eval(rt), false);
  if (link_ < 0) {
    target_->assign(rt, std::move(v), false);
    return Flow::normal;
  }
  GlobalSlot* g = rt.frame->links[link_];
  store(g->value, std::move(v));
  g->declared = true;
  g->constant = true;
  return Flow::normal;
}

Flow CallNode::exec(Runtime& rt) const {
  Variant result = call_->eval_as_statement(rt);
  discard(result);
  return Flow::normal;
}

Flow DimArrayNode::exec(Runtime& rt) const {
  std::vector<com::ArrayBound> bounds;
  std::uint64_t total = 1;
  for (const ExprNode& b : bounds_) {
    std::int32_t upper = to_index(b->eval(rt));
    if (upper < -1) throw ScriptError(RuntimeError::subscript_out_of_range);
    bounds.push_back({0, upper + 1});
    total *= static_cast<std::uint64_t>(upper + 1);
    if (total > max_array_elements) throw ScriptError(RuntimeError::out_of_memory);
  }
  ArrayLock lock;
  Variant* p = target_->address(rt, lock);
  if (!p) throw ScriptError(RuntimeError::type_mismatch);
  if (!redim_) {
    if (p->is_array()) return Flow::normal;  // Dim runs once per variable
    store(*p, Variant(std::make_shared<com::SafeArray>(std::move(bounds), !bounds_.empty())));
    return Flow::normal;
  }
  if (p->is_array() && p->array()) {
    com::SafeArray& sa = *p->array();
    if (sa.fixed() || sa.locked()) throw ScriptError(RuntimeError::array_fixed_or_locked);
    if (preserve_ && sa.dimensions() > 0) {
      throw_if_failed(sa.redim(std::move(bounds), true));
      return Flow::normal;
    }
  }
  store(*p, Variant(std::make_shared<com::SafeArray>(std::move(bounds), false)));
  return Flow::normal;
}

Flow EraseNode::exec(Runtime& rt) const {
  ArrayLock lock;
  Variant* p = target_->address(rt, lock);
  if (!p || !p->is_array() || !p->array()) throw ScriptError(RuntimeError::type_mismatch);
  com::SafeArray& sa = *p->array();
  if (sa.locked()) throw ScriptError(RuntimeError::array_fixed_or_locked);
  if (sa.fixed()) {
    std::vector<Variant> old(sa.size());
    sa.data().swap(old);
    sa.data().resize(old.size());
    return Flow::normal;
  }
  store(*p, Variant(std::make_shared<com::SafeArray>(std::vector<com::ArrayBound>{}, false)));
  return Flow::normal;
}

Flow IfNode::exec(Runtime& rt) const {
  for (const auto& [cond, body] : arms)
    if (test_or_resume(rt, cond, true)) return body.run(rt);
  return otherwise.run(rt);
}

Flow SelectNode::exec(Runtime& rt) const {
  Variant subject;
  try {
    subject = subject_->eval(rt);
  } catch (ScriptError& e) {
    if (!rt.frame->resume_next) throw;
    // The next statement is the first Case's body.
    record_error(rt, e);
    return cases.empty() ? Flow::normal : cases.front().body.run(rt);
  }
  for (const Case& c : cases) {
    if (c.values.empty()) return c.body.run(rt);
    for (const ExprNode& v : c.values) {
      bool match;
      if (!rt.frame->resume_next) {
        match = values_equal(subject, v->eval(rt));
      } else {
        try {
          match = values_equal(subject, v->eval(rt));
        } catch (ScriptError& e) {
          if (!rt.frame->resume_next) throw;
          record_error(rt, e);
          match = true;
        }
      }
      if (match) return c.body.run(rt);
    }
  }
  return Flow::normal;
}

namespace {

bool small_int(const Variant& v, std::int64_t& out) {
  if (v.vt() == com::VT_I2) { out = v.i2(); return true; }
  if (v.vt() == com::VT_I4) { out = v.i4(); return true; }
  return false;
}

// The bounds of a For loop are numbers: "For i = 1 To "3"" counts to 3.
Variant loop_number(const Variant& v0) {
  Variant v = v0.is_object() ? default_value(v0) : v0.deref();
  switch (v.vt()) {
    case com::VT_I2: case com::VT_I4: case com::VT_R4: case com::VT_R8: case com::VT_CY: case com::VT_UI1:
    case com::VT_DATE:
      return v;
    case com::VT_EMPTY: return Variant(std::int16_t{0});
    case com::VT_NULL: throw ScriptError(RuntimeError::invalid_use_of_null);
    case com::VT_BOOL: return Variant(static_cast<std::int16_t>(v.boolean() ? -1 : 0));
    default: break;
  }
  Variant out;
  throw_if_failed(com::change_type(out, v, com::VT_R8));
  return out;
}

Variant counter_value(std::int64_t v, bool integer) {
  if (integer && v >= -32768 && v <= 32767) return Variant(static_cast<std::int16_t>(v));
  if (v >= INT32_MIN && v <= INT32_MAX) return Variant(static_cast<std::int32_t>(v));
  return Variant(static_cast<double>(v));
}

}  // namespace

Flow ForNode::exec(Runtime& rt) const {
  Variant from = from_->eval(rt);
  Variant to = to_->eval(rt);
  Variant step = step_ ? step_->eval(rt) : Variant(std::int16_t{1});
  from = loop_number(from);
  to = loop_number(to);
  step = loop_number(step);
  std::int64_t f, t, s;
  ArrayLock lock;
  Variant* var = (small_int(from, f) && small_int(to, t) && small_int(step, s)) ? var_->address(rt, lock) : nullptr;
  if (!var) {
    var_->assign(rt, from, false);
    return generic(rt, std::move(to), std::move(step));
  }
  bool step_i2 = step.vt() == com::VT_I2;
  store(*var, from);
  std::int64_t cur = f;
  while (true) {
    if (s >= 0 ? cur > t : cur < t) return Flow::normal;
    Flow fl = body.run(rt);
    if (fl == Flow::exit_for) return Flow::normal;
    if (fl != Flow::normal) return fl;
    rt.tick();
    if (!small_int(*var, cur)) {
      var_->assign(rt, apply_binary(ast::Op::add, *var, step), false);
      return generic(rt, std::move(to), std::move(step));
    }
    bool i2 = var->vt() == com::VT_I2 && step_i2;
    cur += s;
    *var = counter_value(cur, i2);
  }
}

Flow ForNode::generic(Runtime& rt, Variant to, Variant step) const {
  bool down = truth(apply_binary(ast::Op::lt, step, Variant(std::int16_t{0})));
  while (true) {
    Variant cur = var_->eval(rt);
    if (truth(apply_binary(down ? ast::Op::lt : ast::Op::gt, cur, to))) return Flow::normal;
    Flow fl = body.run(rt);
    if (fl == Flow::exit_for) return Flow::normal;
    if (fl != Flow::normal) return fl;
    rt.tick();
    var_->assign(rt, apply_binary(ast::Op::add, var_->eval(rt), step), false);
  }
}

Flow ForEachNode::exec(Runtime& rt) const {
  Variant coll = collection_->eval(rt);
  auto visit = [&](const Variant& item) {
    var_->assign(rt, item.is_array() ? assignable(item, false) : item, item.is_object());
    Flow fl = body.run(rt);
    rt.tick();
    return fl;
  };
  if (coll.is_array() && coll.array()) {
    std::shared_ptr<com::SafeArray> arr = coll.array();
    ArrayLock lock;
    lock.hold(arr);
    for (std::size_t i = 0; i < arr->data().size(); ++i) {
      Variant item = arr->data()[i];
      Flow fl = visit(item);
      if (fl == Flow::exit_for) return Flow::normal;
      if (fl != Flow::normal) return fl;
    }
    return Flow::normal;
  }
  if (!coll.is_object()) throw ScriptError(RuntimeError::not_a_collection);
  if (!coll.dispatch()) throw ScriptError(RuntimeError::object_variable_not_set);
  Variant en;
  com::ExcepInfo ex;
  com::HRESULT hr = coll.dispatch()->Invoke(com::DISPID_NEWENUM, com::DISPATCH_METHOD | com::DISPATCH_PROPERTYGET,
                                           {}, &en, &ex);
  if (hr == com::DISP_E_EXCEPTION) raise_invoke_error(hr, ex);
  if (com::failed(hr) || !en.is_object()) throw ScriptError(RuntimeError::not_a_collection);
  com::Ref<com::IDispatch> holder = en.dispatch();
  auto* it = dynamic_cast<com::IEnumVARIANT*>(holder.get());
  if (!it) throw ScriptError(RuntimeError::not_a_collection);
  while (true) {
    Variant item;
    // A failing enumerator is an error of the walk, not its end.
    hr = it->Next(&item);
    throw_if_failed(hr);
    if (hr != com::S_OK) return Flow::normal;
    Flow fl = visit(item);
    if (fl == Flow::exit_for) return Flow::normal;
    if (fl != Flow::normal) return fl;
  }
}

bool DoNode::keep_going(Runtime& rt) const {
  // A failed test at the top enters the body; at the bottom it leaves.
  bool resumed = !test_at_end_;
  bool t = test_or_resume(rt, cond_, until_ ? !resumed : resumed);
  return until_ ? !t : t;
}

Flow DoNode::exec(Runtime& rt) const {
  while (true) {
    if (!test_at_end_ && cond_ && !keep_going(rt)) return Flow::normal;
    Flow fl = body.run(rt);
    if (fl == Flow::exit_do) return Flow::normal;
    if (fl != Flow::normal) return fl;
    rt.tick();
    if (test_at_end_ && cond_ && !keep_going(rt)) return Flow::normal;
  }
}

Flow WithNode::exec(Runtime& rt) const {
  Variant obj = object_->eval(rt);
  if (!obj.is_object()) throw ScriptError(RuntimeError::object_required);
  Variant* slot = &rt.frame->locals[slot_];
  struct Clear {
    Variant* slot;
    ~Clear() { store(*slot, Variant()); }
  } clear{slot};
  *slot = std::move(obj);
  return body.run(rt);
}

Flow ExitNode::exec(Runtime&) const { return flow_; }

Flow OnErrorNode::exec(Runtime& rt) const {
  rt.frame->resume_next = resume_next_;
  rt.frame->used_resume_next |= resume_next_;
  rt.err().clear();
  return Flow::normal;
}

}  // namespace tap::vbs
