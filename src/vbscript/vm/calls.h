#pragma once
// Calling procedures and objects, indexing arrays, and the small value
// rules every node shares (default members, truth, subscripts).
#include <span>
#include <string_view>

#include "platform/com/Dispatch.h"
#include "vbscript/compile/Node.h"
#include "vbscript/vm/Runtime.h"

namespace tap::vbs {

// Arguments evaluated for a call: variables and array elements go as
// VT_BYREF references (the callee decides ByRef or ByVal), other
// expressions as values. Small argument lists stay on the stack.
class ArgBuffer {
 public:
  ArgBuffer(Runtime& rt, const ExprList& exprs);
  ArgBuffer(const ArgBuffer&) = delete;
  ArgBuffer& operator=(const ArgBuffer&) = delete;
  std::span<com::Variant> values() { return {data_, size_}; }
  // For a property put: the value goes last.
  void append(com::Variant v);

 private:
  static constexpr std::size_t inline_count = 6;
  com::Variant inline_[inline_count + 1];
  ArrayLock inline_locks_[inline_count];
  std::unique_ptr<com::Variant[]> heap_;
  std::unique_ptr<ArrayLock[]> heap_locks_;
  com::Variant* data_;
  std::size_t size_ = 0;
  std::size_t capacity_;
};

// Runs a procedure; error 450 when the argument count differs.
com::Variant call_procedure(Runtime& rt, const Procedure& p, GlobalSlot* const* links, Instance* me,
                            com::IDispatch* me_object, std::span<com::Variant> args);

// obj.name(args) for reading or calling, and for assigning.
com::Variant invoke_get(Runtime& rt, const com::Variant& object, std::u16string_view name,
                        std::span<com::Variant> args, bool allow_private = false);
void invoke_put(Runtime& rt, const com::Variant& object, std::u16string_view name,
                std::span<com::Variant> args, com::Variant value, bool is_set,
                bool allow_private = false);
com::Variant invoke_dispid(com::IDispatch* object, com::DISPID id, com::InvokeFlags flags,
                           std::span<com::Variant> args);

// v(args): an array element or the object's default member; error 13 for
// anything else.
com::Variant index_value(Runtime& rt, const com::Variant& v, std::span<com::Variant> args);
// Storage of an array element; error 9 when out of range.
com::Variant* element_address(const com::Variant& array, std::span<com::Variant> args);
// v(args) = value: array element store or default member put.
void assign_indexed(Runtime& rt, com::Variant& target, std::span<com::Variant> args, com::Variant value,
                    bool is_set);

// The value of an object's default member (for "x = obj" and operators);
// other values come back dereferenced.
com::Variant default_value(const com::Variant& v);
// Checks the right side of an assignment: Set needs an object, a plain
// assignment takes an object's default value.
com::Variant assignable(com::Variant v, bool is_set);
// A copy with value semantics: arrays are copied, element by element.
com::Variant copy_value(const com::Variant& v);
// Empties a variable; arrays of arrays are released level by level rather
// than by recursive destructors, so deep nesting cannot exhaust the stack.
void discard(com::Variant& v);
// Stores without letting a Class_Terminate triggered by the old value run
// while the slot is half written.
inline void store(com::Variant& slot, com::Variant v) {
  if (!slot.is_object() && !slot.is_array()) {
    slot = std::move(v);
    return;
  }
  com::Variant old = std::move(slot);
  slot = std::move(v);
  if (old.is_array()) discard(old);
}

// Conditions of If/While: Null counts as False.
bool truth(const com::Variant& v);
std::int32_t to_index(const com::Variant& v);

// Throws the ScriptError for a failed Invoke.
[[noreturn]] void raise_invoke_error(com::HRESULT hr, const com::ExcepInfo& ex);

// Size limits: past them strings and arrays raise error 7.
inline constexpr std::size_t max_string_length = std::size_t{1} << 26;
inline constexpr std::size_t max_array_elements = std::size_t{1} << 23;
void check_string(const com::Variant& v);

}  // namespace tap::vbs
