#pragma once
// Instances of script classes, seen by the COM layer as IDispatch objects so
// that they pass to host objects, TypeName and For Each like any other.
#include <memory>
#include <vector>

#include "platform/com/Dispatch.h"
#include "platform/com/MemoryMeter.h"
#include "vbscript/compile/Program.h"

namespace tap::vbs {

class Runtime;
struct GlobalSlot;

// The instance's state, apart from the IDispatch shell, so Class_Terminate
// can run with a fresh Me after the last reference to the shell is gone.
class Instance {
 public:
  Instance(Runtime& rt, const ClassDef& cls, GlobalSlot* const* links);
  ~Instance();
  Instance(const Instance&) = delete;
  Instance& operator=(const Instance&) = delete;

  const ClassDef& cls;  // only while *alive: a reset unloads the class
  std::u16string class_name;
  GlobalSlot* const* links;
  std::vector<com::Variant> fields;
  Runtime* runtime;
  std::shared_ptr<bool> alive;  // false once the runtime is reset
  bool terminated = false;
  com::MeterCharge charge;  // the instance and its fields
};

class ScriptObject final : public com::IDispatch {
 public:
  explicit ScriptObject(std::shared_ptr<Instance> instance) : inst_(std::move(instance)) {}
  ~ScriptObject() override;

  // Creates the instance and runs Class_Initialize.
  static com::Ref<ScriptObject> create(Runtime& rt, const ClassDef& cls, GlobalSlot* const* links);

  com::HRESULT GetIDsOfNames(std::u16string_view name, com::DISPID* id) override;
  com::HRESULT Invoke(com::DISPID id, com::InvokeFlags flags, std::span<com::Variant> args,
                      com::Variant* result, com::ExcepInfo* excep) override;
  std::u16string type_name() const override { return inst_->class_name; }

  Instance& instance() const { return *inst_; }

  // Member access from script code; `outside` hides Private members.
  // Throws ScriptError; `name` is only used in messages.
  com::Variant get(Runtime& rt, const ClassMember& m, std::span<com::Variant> args);
  void put(Runtime& rt, const ClassMember& m, std::span<com::Variant> args, com::Variant value,
           bool is_set);

 private:
  std::shared_ptr<Instance> inst_;
};

}  // namespace tap::vbs
