#pragma once
// Static member tables that stand in for a type library: each names a
// member, its DISPID, the ways it may be invoked and its parameter types, so
// that an automation object is a short table plus its handlers:
//
//   const DispatchTable<Counter>& Counter::dispatch_table() {
//     static const DispatchTable<Counter> table(u"Counter", {
//         {u"Value", 0, DISPATCH_PROPERTYGET, &Counter::get_value},
//         {u"Value", 0, DISPATCH_PROPERTYPUT, &Counter::put_value, {VT_I4}},
//         {u"Add", 1, DISPATCH_METHOD, &Counter::add, {VT_I4, optional(VT_I4)}},
//     });
//     return table;
//   }
//
// and Counter derives from DispatchObject<Counter>.
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/com/Dispatch.h"

namespace tap::com {

struct ParamSpec {
  VARTYPE type = VT_VARIANT;  // VT_VARIANT: passed as given, VT_BYREF included
  bool optional = false;      // only trailing parameters
  constexpr ParamSpec(VARTYPE t = VT_VARIANT, bool opt = false) : type(t), optional(opt) {}
};
constexpr ParamSpec optional(VARTYPE type) { return ParamSpec(type, true); }

// What a member's handler receives.
struct DispatchCall {
  InvokeFlags flags;
  // One per declared parameter, in source order, converted to its declared
  // type. An omitted optional parameter is Variant::missing(). For a put,
  // the assigned value is the last one.
  std::span<Variant> args;
  Variant& result;
  ExcepInfo* excep;  // may be null

  // Fails the call with an error the caller reports with its description:
  // fills excep and returns DISP_E_EXCEPTION.
  HRESULT raise(HRESULT scode, std::u16string description, std::u16string source = {}) const;
};

struct MemberInfo {
  std::u16string_view name;
  DISPID id;
  InvokeFlags kinds;
  std::vector<ParamSpec> params;
};

// The untyped part of a table: lookup and argument checking.
class DispatchTableBase {
 public:
  std::u16string_view type_name() const { return type_name_; }
  // DISP_E_UNKNOWNNAME when no member has that name (ASCII case ignored).
  HRESULT find_name(std::u16string_view name, DISPID* id) const;
  // The member to run for id and flags: a put looks for a put, a putref for
  // a putref and else a put, a method or get for either. npos and
  // DISP_E_MEMBERNOTFOUND in *hr when there is none.
  std::size_t find(DISPID id, InvokeFlags flags, HRESULT* hr) const;
  // Checks the count (DISP_E_BADPARAMCOUNT, DISP_E_PARAMNOTOPTIONAL) and
  // converts args into out (DISP_E_TYPEMISMATCH, DISP_E_OVERFLOW).
  HRESULT prepare(std::size_t member, std::span<Variant> args, std::vector<Variant>& out) const;

  static constexpr std::size_t npos = static_cast<std::size_t>(-1);

 protected:
  explicit DispatchTableBase(std::u16string_view type_name) : type_name_(type_name) {}
  std::vector<MemberInfo> members_;

 private:
  std::u16string_view type_name_;
};

template <typename T>
class DispatchTable : public DispatchTableBase {
 public:
  using Handler = HRESULT (T::*)(DispatchCall&);
  struct Member {
    std::u16string_view name;
    DISPID id;
    InvokeFlags kinds;
    Handler handler;
    std::vector<ParamSpec> params = {};
  };

  // type_name and the member names must outlive the table (literals do).
  DispatchTable(std::u16string_view type_name, std::initializer_list<Member> members) : DispatchTableBase(type_name) {
    for (const Member& m : members) {
      members_.push_back({m.name, m.id, m.kinds, m.params});
      handlers_.push_back(m.handler);
    }
  }

  HRESULT invoke(T& self, DISPID id, InvokeFlags flags, std::span<Variant> args, Variant* result, ExcepInfo* excep) const {
    HRESULT hr;
    std::size_t m = find(id, flags, &hr);
    if (m == npos) return hr;
    std::vector<Variant> converted;
    if (failed(hr = prepare(m, args, converted))) return hr;
    Variant scratch;
    DispatchCall call{flags, converted.empty() ? args : std::span<Variant>(converted), result ? *result : scratch, excep};
    return (self.*handlers_[m])(call);
  }

 private:
  std::vector<Handler> handlers_;
};

// IDispatch served from T::dispatch_table() (a static DispatchTable<T>).
template <typename T>
class DispatchObject : public IDispatch {
 public:
  HRESULT GetIDsOfNames(std::u16string_view name, DISPID* id) override { return T::dispatch_table().find_name(name, id); }
  HRESULT Invoke(DISPID id, InvokeFlags flags, std::span<Variant> args, Variant* result, ExcepInfo* excep) override {
    return T::dispatch_table().invoke(static_cast<T&>(*this), id, flags, args, result, excep);
  }
  std::u16string type_name() const override { return std::u16string(T::dispatch_table().type_name()); }
};

}  // namespace tap::com
