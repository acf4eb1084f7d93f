#include "vbscript/vm/calls.h"

#include <cmath>

#include "platform/com/SafeArray.h"
#include "platform/com/conversions.h"
#include "vbscript/ScriptError.h"
#include "vbscript/vm/ScriptObject.h"

namespace tap::vbs {

using com::Variant;

ArgBuffer::ArgBuffer(Runtime& rt, const ExprList& exprs) : data_(inline_), capacity_(inline_count + 1) {
  ArrayLock* locks = inline_locks_;
  if (exprs.size() + 1 > capacity_) {
    capacity_ = exprs.size() + 1;
    heap_ = std::make_unique<Variant[]>(capacity_);
    heap_locks_ = std::make_unique<ArrayLock[]>(capacity_);
    data_ = heap_.get();
    locks = heap_locks_.get();
  }
  for (const ExprNode& e : exprs) {
    Variant& slot = data_[size_];
    if (!e) {
      slot = Variant::missing();
    } else if (Variant* p = e->address(rt, locks[size_])) {
      slot = Variant::by_ref(p);
    } else {
      slot = e->eval(rt);
    }
    ++size_;
  }
}

void ArgBuffer::append(Variant v) { data_[size_++] = std::move(v); }

namespace {

// Locals of one call; small frames need no allocation.
class Locals {
 public:
  explicit Locals(std::size_t n) : data_(n <= inline_count ? inline_ : nullptr), size_(n) {
    if (!data_) {
      heap_ = std::make_unique<Variant[]>(n);
      data_ = heap_.get();
    }
  }
  ~Locals() {
    for (std::size_t i = 0; i < size_; ++i)
      if (data_[i].is_array()) discard(data_[i]);
  }
  Locals(const Locals&) = delete;
  Locals& operator=(const Locals&) = delete;
  Variant* data() { return data_; }

 private:
  static constexpr std::size_t inline_count = 8;
  Variant inline_[inline_count];
  std::unique_ptr<Variant[]> heap_;
  Variant* data_;
  std::size_t size_;
};

struct CallDepth {
  explicit CallDepth(Runtime& rt) : rt(rt) { rt.enter_call(); }
  ~CallDepth() { rt.leave_call(); }
  Runtime& rt;
};

}  // namespace

Variant call_procedure(Runtime& rt, const Procedure& p, GlobalSlot* const* links, Instance* me,
                       com::IDispatch* me_object, std::span<Variant> args) {
  if (args.size() != p.param_count()) throw ScriptError(RuntimeError::wrong_number_of_arguments);
  CallDepth depth(rt);
  Locals locals(static_cast<std::size_t>(p.local_count));
  Variant* l = locals.data();
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (!p.by_val[i] && args[i].is_byref()) l[i] = args[i];
    else l[i] = copy_value(args[i]);
  }
  Frame f;
  f.locals = l;
  f.links = links;
  f.me = me;
  f.me_object = me_object;
  f.proc = &p;
  FrameScope scope(rt, &f);
  const Stmt* caller_statement = rt.current;
  p.body.run(rt);
  // Err keeps what the procedure left in it: only On Error Resume Next and
  // Err.Clear reset it, not leaving a procedure.
  rt.current = caller_statement;
  if (p.result_slot >= 0) return std::move(l[p.result_slot]);
  return {};
}

void raise_invoke_error(com::HRESULT hr, const com::ExcepInfo& ex) {
  if (hr == com::DISP_E_EXCEPTION) {
    std::int32_t n = error_number_from_hresult(ex.scode);
    std::u16string text = ex.description.empty() ? runtime_error_description(n) : ex.description;
    if (text.empty()) text = u"Unknown runtime error";
    ScriptError e(n, std::move(text), ex.source);
    e.set_help(ex.help_file, ex.help_context);
    throw e;
  }
  throw_if_failed(hr);
  throw ScriptError(RuntimeError::internal_error);
}

Variant invoke_dispid(com::IDispatch* object, com::DISPID id, com::InvokeFlags flags,
                      std::span<Variant> args) {
  Variant result;
  com::ExcepInfo ex;
  com::HRESULT hr = object->Invoke(id, flags, args, &result, &ex);
  if (com::failed(hr)) raise_invoke_error(hr, ex);
  return result;
}

namespace {

com::IDispatch* object_of(const Variant& v) {
  const Variant& d = v.deref();
  if (!d.is_object()) throw ScriptError(RuntimeError::object_required);
  com::IDispatch* obj = d.dispatch().get();
  if (!obj) throw ScriptError(RuntimeError::object_variable_not_set);
  return obj;
}

const ClassMember* script_member(ScriptObject* so, std::u16string_view name, bool allow_private) {
  // An instance whose engine was reset has no class left to run.
  if (!*so->instance().alive) throw ScriptError(RuntimeError::object_required);
  const ClassMember* m = so->instance().cls.find(fold_name(name));
  if (!m || (!m->is_public && !allow_private)) throw ScriptError(RuntimeError::no_such_property_or_method);
  return m;
}

com::DISPID dispid_of(com::IDispatch* obj, std::u16string_view name) {
  com::DISPID id = 0;
  if (com::failed(obj->GetIDsOfNames(name, &id))) throw ScriptError(RuntimeError::no_such_property_or_method);
  return id;
}

}  // namespace

Variant invoke_get(Runtime& rt, const Variant& object, std::u16string_view name, std::span<Variant> args,
                   bool allow_private) {
  com::IDispatch* obj = object_of(object);
  com::Ref<com::IDispatch> keep(obj);
  if (auto* so = dynamic_cast<ScriptObject*>(obj))
    return so->get(rt, *script_member(so, name, allow_private), args);
  com::DISPID id = dispid_of(obj, name);
  Variant result;
  com::ExcepInfo ex;
  com::HRESULT hr = obj->Invoke(id, com::DISPATCH_METHOD | com::DISPATCH_PROPERTYGET, args, &result, &ex);
  if (hr == com::DISP_E_BADPARAMCOUNT && !args.empty()) {
    // obj.Items(0): a property without parameters, then its value indexed.
    Variant whole = invoke_dispid(obj, id, com::DISPATCH_METHOD | com::DISPATCH_PROPERTYGET, {});
    return index_value(rt, whole, args);
  }
  if (com::failed(hr)) raise_invoke_error(hr, ex);
  return result;
}

void invoke_put(Runtime& rt, const Variant& object, std::u16string_view name, std::span<Variant> args,
                Variant value, bool is_set, bool allow_private) {
  com::IDispatch* obj = object_of(object);
  com::Ref<com::IDispatch> keep(obj);
  if (auto* so = dynamic_cast<ScriptObject*>(obj)) {
    so->put(rt, *script_member(so, name, allow_private), args, std::move(value), is_set);
    return;
  }
  std::vector<Variant> all(args.begin(), args.end());
  all.push_back(std::move(value));
  invoke_dispid(obj, dispid_of(obj, name), is_set ? com::DISPATCH_PROPERTYPUTREF : com::DISPATCH_PROPERTYPUT,
                all);
}

std::int32_t to_index(const Variant& v) {
  std::int32_t i = 0;
  com::HRESULT hr = com::to_i4(v.deref(), &i);
  if (com::failed(hr)) {
    if (v.deref().is_null()) throw ScriptError(RuntimeError::invalid_use_of_null);
    throw_if_failed(hr);
  }
  return i;
}

Variant* element_address(const Variant& array, std::span<Variant> args) {
  const Variant& a = array.deref();
  if (!a.is_array() || !a.array()) throw ScriptError(RuntimeError::type_mismatch);
  com::SafeArray& sa = *a.array();
  if (args.size() != sa.dimensions()) throw ScriptError(RuntimeError::subscript_out_of_range);
  std::int32_t idx[8];
  std::vector<std::int32_t> many;
  std::int32_t* ip = idx;
  if (args.size() > 8) {
    many.resize(args.size());
    ip = many.data();
  }
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i].deref().is_missing()) throw ScriptError(RuntimeError::subscript_out_of_range);
    ip[i] = to_index(args[i]);
  }
  Variant* out = nullptr;
  if (com::failed(sa.element(std::span<const std::int32_t>(ip, args.size()), &out)) || !out)
    throw ScriptError(RuntimeError::subscript_out_of_range);
  return out;
}

Variant index_value(Runtime&, const Variant& v, std::span<Variant> args) {
  const Variant& d = v.deref();
  if (d.is_array()) return element_address(d, args)->deref();
  if (d.is_object()) {
    if (!d.dispatch()) throw ScriptError(RuntimeError::object_variable_not_set);
    com::Ref<com::IDispatch> keep = d.dispatch();
    return invoke_dispid(keep.get(), com::DISPID_VALUE, com::DISPATCH_METHOD | com::DISPATCH_PROPERTYGET,
                         args);
  }
  throw ScriptError(RuntimeError::type_mismatch);
}

void assign_indexed(Runtime&, Variant& target, std::span<Variant> args, Variant value, bool is_set) {
  Variant& d = target.deref();
  if (d.is_array()) {
    store(*element_address(d, args), std::move(value));
    return;
  }
  if (d.is_object()) {
    if (!d.dispatch()) throw ScriptError(RuntimeError::object_variable_not_set);
    com::Ref<com::IDispatch> keep = d.dispatch();
    std::vector<Variant> all(args.begin(), args.end());
    all.push_back(std::move(value));
    invoke_dispid(keep.get(), com::DISPID_VALUE, is_set ? com::DISPATCH_PROPERTYPUTREF : com::DISPATCH_PROPERTYPUT,
                  all);
    return;
  }
  throw ScriptError(RuntimeError::type_mismatch);
}

Variant default_value(const Variant& v) {
  const Variant& d = v.deref();
  if (!d.is_object()) return d;
  if (!d.dispatch()) throw ScriptError(RuntimeError::object_variable_not_set);
  com::Ref<com::IDispatch> keep = d.dispatch();
  Variant r = invoke_dispid(keep.get(), com::DISPID_VALUE, com::DISPATCH_PROPERTYGET, {});
  if (r.deref().is_object()) return default_value(r);
  return r;
}

namespace {

Variant copy_nested(const Variant& v0, int depth) {
  const Variant& v = v0.deref();
  // Arrays are values: a second holder gets its own copy. An array nobody
  // else holds (a function's fresh result) is taken as is.
  if (!v.is_array() || !v.array() || (depth == 0 && v.array().use_count() <= 1)) return v;
  const com::SafeArray& src = *v.array();
  RunLimits::poll(1 + src.data().size() / 16);
  auto copy = std::make_shared<com::SafeArray>(src.bounds(), false);
  for (std::size_t i = 0; i < src.data().size(); ++i) {
    const Variant& e = src.data()[i];
    if (e.is_array() && depth > 1000) throw ScriptError(RuntimeError::out_of_stack_space);
    copy->data()[i] = e.is_array() ? copy_nested(e, depth + 1) : e;
  }
  return Variant(std::move(copy));
}

}  // namespace

Variant copy_value(const Variant& v) { return copy_nested(v, 0); }

Variant assignable(Variant v, bool is_set) {
  if (v.is_byref()) v = Variant(v.deref());
  if (v.is_array()) return copy_value(v);
  if (is_set) {
    if (!v.is_object()) throw ScriptError(RuntimeError::object_required);
    return v;
  }
  if (v.is_object()) return default_value(v);
  return v;
}

void discard(Variant& v) {
  if (!v.is_array() || !v.array() || v.array().use_count() != 1) {
    v = Variant();
    return;
  }
  std::vector<std::shared_ptr<com::SafeArray>> work;
  work.push_back(v.array());
  v = Variant();
  while (!work.empty()) {
    std::shared_ptr<com::SafeArray> a = std::move(work.back());
    work.pop_back();
    if (a.use_count() != 1) continue;
    for (Variant& e : a->data())
      if (e.is_array() && e.array() && e.array().use_count() == 1) {
        work.push_back(e.array());
        e = Variant();
      }
  }
}

bool truth(const Variant& v) {
  const Variant& d = v.deref();
  switch (d.vt()) {
    case com::VT_BOOL: return d.boolean();
    case com::VT_I2: return d.i2() != 0;
    case com::VT_I4: return d.i4() != 0;
    case com::VT_NULL: return false;
    case com::VT_EMPTY: return false;
    default: break;
  }
  Variant x = d.is_object() ? default_value(d) : d;
  if (x.is_null()) return false;
  bool b = false;
  throw_if_failed(com::to_bool(x, &b));
  return b;
}

void check_string(const Variant& v) {
  if (v.vt() == com::VT_BSTR && v.bstr().size() > max_string_length)
    throw ScriptError(RuntimeError::out_of_memory);
}

}  // namespace tap::vbs
