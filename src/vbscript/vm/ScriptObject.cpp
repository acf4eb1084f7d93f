#include "vbscript/vm/ScriptObject.h"

#include <optional>

#include "platform/com/SafeArray.h"
#include "vbscript/ScriptError.h"
#include "vbscript/vm/Runtime.h"
#include "vbscript/vm/calls.h"

namespace tap::vbs {

using com::Variant;

namespace {

// Releasing a long chain of objects (a linked list built by a script) would
// recurse once per link; past a small depth the fields are parked and
// released by the outermost destructor in a loop instead. The parking
// list exists only while that loop runs: thread-local objects with
// destructors are not safe at thread exit under every Windows toolchain.
thread_local int destroy_depth = 0;
thread_local std::vector<std::vector<Variant>>* parked = nullptr;

}  // namespace

Instance::Instance(Runtime& rt, const ClassDef& c, GlobalSlot* const* l)
    : cls(c), class_name(c.name), links(l), runtime(&rt), alive(rt.alive()) {
  charge.grow(sizeof(Instance) + sizeof(ScriptObject) + 64 + c.fields.size() * sizeof(Variant));
  fields.resize(c.fields.size());
  for (std::size_t i = 0; i < c.fields.size(); ++i) {
    const FieldInit& f = c.fields[i];
    fields[i] = f.initial;
    if (!f.is_array || f.dims.empty()) continue;
    std::vector<com::ArrayBound> bounds;
    for (std::int32_t d : f.dims) bounds.push_back({0, d + 1});
    fields[i] = Variant(std::make_shared<com::SafeArray>(std::move(bounds), true));
  }
}

Instance::~Instance() {
  if (destroy_depth > 16) {
    if (!parked) parked = new std::vector<std::vector<Variant>>;
    parked->push_back(std::move(fields));
    return;
  }
  ++destroy_depth;
  for (Variant& f : fields) discard(f);
  fields.clear();
  if (destroy_depth == 1 && parked) {
    while (!parked->empty()) {
      std::vector<Variant> v = std::move(parked->back());
      parked->pop_back();
      for (Variant& f : v) discard(f);
      v.clear();
    }
    delete parked;
    parked = nullptr;
  }
  --destroy_depth;
}

ScriptObject::~ScriptObject() {
  Instance& inst = *inst_;
  if (!*inst.alive || inst.terminated || !inst.cls.terminate) return;
  inst.terminated = true;
  // A run that timed out unwinds without running more script code: a
  // terminator could otherwise swallow the abort and carry on.
  if (inst.runtime->limits().aborting()) return;
  // Class_Terminate gets a new shell as Me; if the script keeps it, the
  // instance lives on in that shell.
  com::Ref<ScriptObject> me(new ScriptObject(inst_));
  const Stmt* running = inst.runtime->current;
  try {
    call_procedure(*inst.runtime, *inst.cls.terminate, inst.links, &inst, me.get(), {});
  } catch (...) {
    // Errors in Class_Terminate are not reported, as in VBScript.
  }
  inst.runtime->current = running;
}

com::Ref<ScriptObject> ScriptObject::create(Runtime& rt, const ClassDef& cls, GlobalSlot* const* links) {
  com::Ref<ScriptObject> obj(new ScriptObject(std::make_shared<Instance>(rt, cls, links)));
  if (cls.initialize) call_procedure(rt, *cls.initialize, links, obj->inst_.get(), obj.get(), {});
  return obj;
}

com::HRESULT ScriptObject::GetIDsOfNames(std::u16string_view name, com::DISPID* id) {
  if (!*inst_->alive) return com::E_UNEXPECTED;
  const ClassMember* m = inst_->cls.find(fold_name(name));
  if (!m || !m->is_public) return com::DISP_E_UNKNOWNNAME;
  *id = static_cast<com::DISPID>(m - inst_->cls.members.data()) + 1;
  return com::S_OK;
}

Variant ScriptObject::get(Runtime& rt, const ClassMember& m, std::span<Variant> args) {
  Instance& inst = *inst_;
  switch (m.kind) {
    case ClassMember::Kind::field: {
      Variant& f = inst.fields[static_cast<std::size_t>(m.field)];
      if (args.empty()) return f;
      return index_value(rt, f, args);
    }
    case ClassMember::Kind::method:
    case ClassMember::Kind::property: {
      const Procedure* p = m.kind == ClassMember::Kind::method ? m.method : m.get;
      if (!p) throw ScriptError(RuntimeError::no_such_property_or_method);
      // c.List(2) where List takes no parameters indexes what it returns.
      if (p->param_count() == 0 && !args.empty())
        return index_value(rt, call_procedure(rt, *p, inst.links, &inst, this, {}), args);
      return call_procedure(rt, *p, inst.links, &inst, this, args);
    }
  }
  return {};
}

void ScriptObject::put(Runtime& rt, const ClassMember& m, std::span<Variant> args, Variant value, bool is_set) {
  Instance& inst = *inst_;
  switch (m.kind) {
    case ClassMember::Kind::field: {
      Variant& f = inst.fields[static_cast<std::size_t>(m.field)];
      if (args.empty()) store(f, std::move(value));
      else assign_indexed(rt, f, args, std::move(value), is_set);
      return;
    }
    case ClassMember::Kind::method:
      throw ScriptError(RuntimeError::illegal_assignment);
    case ClassMember::Kind::property: {
      const Procedure* p = is_set ? m.set : m.let;
      if (!p) p = is_set ? m.let : m.set;
      if (!p) throw ScriptError(RuntimeError::illegal_assignment);
      std::vector<Variant> all(args.begin(), args.end());
      all.push_back(std::move(value));
      call_procedure(rt, *p, inst.links, &inst, this, all);
      return;
    }
  }
}

com::HRESULT ScriptObject::Invoke(com::DISPID id, com::InvokeFlags flags, std::span<Variant> args, Variant* result,
                                  com::ExcepInfo* excep) {
  Instance& inst = *inst_;
  if (!*inst.alive) return com::E_UNEXPECTED;
  const ClassMember* m = nullptr;
  if (id == com::DISPID_VALUE) {
    if (inst.cls.default_member < 0) return com::DISP_E_MEMBERNOTFOUND;
    m = &inst.cls.members[static_cast<std::size_t>(inst.cls.default_member)];
  } else if (id >= 1 && static_cast<std::size_t>(id) <= inst.cls.members.size()) {
    m = &inst.cls.members[static_cast<std::size_t>(id - 1)];
  }
  if (!m || !m->is_public) return com::DISP_E_MEMBERNOTFOUND;
  bool outermost = !inst.runtime->frame;
  std::optional<RunLimits::Activation> active;
  try {
    // Called by a host between runs: give the call a fresh time budget.
    if (outermost) {
      active.emplace(inst.runtime->limits());
      inst.runtime->begin_run();
    }
    if (flags & (com::DISPATCH_PROPERTYPUT | com::DISPATCH_PROPERTYPUTREF)) {
      if (args.empty()) return com::DISP_E_BADPARAMCOUNT;
      Variant value = args.back().deref();
      put(*inst.runtime, *m, args.first(args.size() - 1), std::move(value),
          (flags & com::DISPATCH_PROPERTYPUTREF) != 0);
      return com::S_OK;
    }
    Variant r = get(*inst.runtime, *m, args);
    if (result) *result = std::move(r);
    return com::S_OK;
  } catch (const ScriptError& e) {
    if (excep) e.to_excep(*excep);
    return com::DISP_E_EXCEPTION;
  } catch (const ScriptAbort& a) {
    // Inside a run the abort ends the whole run; a host's own call gets
    // it as a failure instead of an exception crossing the interface.
    if (!outermost) throw;
    if (excep) {
      excep->scode = static_cast<com::HRESULT>(RuntimeError::script_timeout);
      excep->description = runtime_error_description(excep->scode);
    }
    return com::DISP_E_EXCEPTION;
  }
}

}  // namespace tap::vbs
