#include "vbscript/vm/ExprNodes.h"

#include "vbscript/ScriptError.h"
#include "vbscript/objects/object_registry.h"
#include "vbscript/vm/ScriptObject.h"
#include "vbscript/vm/calls.h"

namespace tap::vbs {

using com::Variant;

void Expr::assign(Runtime&, Variant, bool) const { throw ScriptError(RuntimeError::illegal_assignment); }

Variant* NameRef::storage(Runtime& rt, bool for_write, GlobalSlot** slot) const {
  Frame& f = *rt.frame;
  GlobalSlot* g = nullptr;
  switch (kind) {
    case Kind::local: return &f.locals[local].deref();
    case Kind::field: return &f.me->fields[static_cast<std::size_t>(local)];
    case Kind::implicit:
      g = f.links[link];
      if (!g->declared && !g->proc) return &f.locals[local].deref();
      break;
    case Kind::global: g = f.links[link]; break;
  }
  *slot = g;
  if (g->proc) return nullptr;
  if (!g->declared) {
    if (option_explicit) throw ScriptError(RuntimeError::variable_undefined);
    if (for_write) g->declared = true;
  }
  return &g->value;
}

Variant VarNode::eval(Runtime& rt) const {
  GlobalSlot* g = nullptr;
  if (Variant* p = ref_.storage(rt, false, &g)) return *p;
  return call_procedure(rt, *g->proc, g->proc_links, nullptr, nullptr, {});
}

const Variant* VarNode::peek(Runtime& rt) const {
  GlobalSlot* g = nullptr;
  return ref_.storage(rt, false, &g);
}

Variant* VarNode::address(Runtime& rt, ArrayLock&) const {
  GlobalSlot* g = nullptr;
  return ref_.storage(rt, true, &g);
}

void VarNode::assign(Runtime& rt, Variant v, bool) const {
  GlobalSlot* g = nullptr;
  Variant* p = ref_.storage(rt, true, &g);
  if (!p || (g && g->constant)) throw ScriptError(RuntimeError::illegal_assignment);
  store(*p, std::move(v));
}

Variant VarCallNode::eval(Runtime& rt) const {
  GlobalSlot* g = nullptr;
  Variant* p = ref_.storage(rt, false, &g);
  ArgBuffer args(rt, args_);
  if (!p) return call_procedure(rt, *g->proc, g->proc_links, nullptr, nullptr, args.values());
  return index_value(rt, *p, args.values());
}

Variant* VarCallNode::address(Runtime& rt, ArrayLock& lock) const {
  GlobalSlot* g = nullptr;
  Variant* p = ref_.storage(rt, false, &g);
  if (!p || !p->is_array()) return nullptr;
  ArgBuffer args(rt, args_);
  Variant* e = element_address(*p, args.values());
  lock.hold(p->array());
  return e;
}

void VarCallNode::assign(Runtime& rt, Variant v, bool is_set) const {
  GlobalSlot* g = nullptr;
  Variant* p = ref_.storage(rt, true, &g);
  if (!p) throw ScriptError(RuntimeError::illegal_assignment);
  ArgBuffer args(rt, args_);
  // The subscripts may have run code that changed the variable; look again.
  p = ref_.storage(rt, true, &g);
  assign_indexed(rt, *p, args.values(), std::move(v), is_set);
}

namespace {

ScriptObject& me_of(Runtime& rt) { return *static_cast<ScriptObject*>(rt.frame->me_object); }

}  // namespace

Variant MeCallNode::eval(Runtime& rt) const {
  com::Ref<ScriptObject> me(&me_of(rt));
  ArgBuffer args(rt, args_);
  return me->get(rt, me->instance().cls.members[static_cast<std::size_t>(member_)], args.values());
}

void MeCallNode::assign(Runtime& rt, Variant v, bool is_set) const {
  com::Ref<ScriptObject> me(&me_of(rt));
  ArgBuffer args(rt, args_);
  me->put(rt, me->instance().cls.members[static_cast<std::size_t>(member_)], args.values(), std::move(v), is_set);
}

Variant MemberNode::eval(Runtime& rt) const {
  Variant obj = object_->eval(rt);
  ArgBuffer args(rt, args_);
  return invoke_get(rt, obj, name_, args.values(), allow_private_);
}

void MemberNode::assign(Runtime& rt, Variant v, bool is_set) const {
  Variant obj = object_->eval(rt);
  ArgBuffer args(rt, args_);
  invoke_put(rt, obj, name_, args.values(), std::move(v), is_set, allow_private_);
}

Variant IndexNode::eval(Runtime& rt) const {
  Variant base = base_->eval(rt);
  ArgBuffer args(rt, args_);
  return index_value(rt, base, args.values());
}

void IndexNode::assign(Runtime& rt, Variant v, bool is_set) const {
  Variant base = base_->eval(rt);
  ArgBuffer args(rt, args_);
  assign_indexed(rt, base, args.values(), std::move(v), is_set);
}

Variant BuiltinNode::run(Runtime& rt, bool as_statement) const {
  std::size_t n = args_.size();
  if (n < fn_->min_args || n > fn_->max_args) throw ScriptError(RuntimeError::wrong_number_of_arguments);
  if (!as_statement && fn_->use == BuiltinUse::statement_only) throw ScriptError(RuntimeError::type_mismatch);
  Variant small[4];
  std::vector<Variant> many;
  Variant* a = small;
  if (n > 4) {
    many.resize(n);
    a = many.data();
  }
  for (std::size_t i = 0; i < n; ++i) {
    if (!args_[i]) a[i] = Variant::missing();
    else a[i] = args_[i]->eval(rt);
  }
  Variant r = fn_->fn(rt.builtin_state(), std::span<Variant>(a, n));
  if (as_statement && fn_->use == BuiltinUse::value_only)
    throw ScriptError(RuntimeError::unsupported_automation_type);
  check_string(r);
  return r;
}

Variant NewNode::eval(Runtime& rt) const {
  GlobalSlot* g = rt.frame->links[link_];
  if (g->cls) return Variant(com::Ref<com::IDispatch>(ScriptObject::create(rt, *g->cls, g->cls_links).get()));
  com::Ref<com::IDispatch> obj = create_builtin_class(name_);
  if (!obj) throw ScriptError(RuntimeError::class_not_defined);
  return Variant(std::move(obj));
}

Variant MeNode::eval(Runtime& rt) const { return Variant(com::Ref<com::IDispatch>(rt.frame->me_object)); }

Variant NothingNode::eval(Runtime&) const { return Variant(com::Ref<com::IDispatch>()); }

Variant ErrNode::eval(Runtime& rt) const { return Variant(rt.err_object()); }

}  // namespace tap::vbs
