#pragma once
// The state one engine runs in: globals, loaded modules, the Err object's
// state, the call depth, the deadline and the memory budget. One thread at
// a time uses a Runtime.
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/com/Dispatch.h"
#include "vbscript/builtins/Builtin.h"
#include "vbscript/compile/Program.h"
#include "vbscript/vm/RunLimits.h"

namespace tap::vbs {

class Instance;

struct GlobalSlot {
  std::u16string name;
  com::Variant value;
  const Procedure* proc = nullptr;
  GlobalSlot* const* proc_links = nullptr;  // the links of proc's module
  const ClassDef* cls = nullptr;
  GlobalSlot* const* cls_links = nullptr;
  bool declared = false;
  bool constant = false;
};

struct Frame {
  com::Variant* locals = nullptr;
  GlobalSlot* const* links = nullptr;
  Instance* me = nullptr;
  com::IDispatch* me_object = nullptr;
  const Procedure* proc = nullptr;
  bool resume_next = false;
};

struct LoadedModule {
  std::shared_ptr<const CompiledModule> module;
  std::vector<GlobalSlot*> links;
  com::MeterCharge charge;  // code compiled by the script (Eval, Execute)
};

struct ErrState {
  std::int32_t number = 0;
  std::u16string description;
  std::u16string source;
  std::u16string help_file;
  std::int32_t help_context = 0;
  void clear() { *this = ErrState(); }
};

class Runtime {
 public:
  Runtime();
  ~Runtime();
  Runtime(const Runtime&) = delete;
  Runtime& operator=(const Runtime&) = delete;

  // Drops all code, globals and objects.
  void reset();
  // -1: no limit. Takes effect for runs that start afterwards.
  void set_timeout(std::int32_t ms) { limits_.set_timeout(ms); }
  RunLimits& limits() { return limits_; }
  // Starts the clock for one host call (add code, run a procedure) and
  // takes the stack bound from the thread it runs on. The caller holds a
  // RunLimits::Activation for the call.
  void begin_run();

  // Links a compiled module's names and runs its module-level code.
  void load(std::shared_ptr<const CompiledModule> module);
  // Links without running: its procedures and classes become globals.
  std::shared_ptr<LoadedModule> link(std::shared_ptr<const CompiledModule> module);
  // Linked code of Eval and Execute, by scope and text. Callers hold the
  // pointer while the code runs: the cache may drop entries meanwhile.
  std::shared_ptr<LoadedModule> find_dynamic(const std::u16string& key);
  std::shared_ptr<LoadedModule> add_dynamic(const std::u16string& key, std::shared_ptr<const CompiledModule> module);
  // Calls a global procedure by name; error 35 if there is none.
  com::Variant call_global(std::u16string_view name, std::span<com::Variant> args);
  // A host object scripts see as a global (WScript).
  void add_named_object(std::u16string_view name, com::Ref<com::IDispatch> object);

  GlobalSlot* global(std::u16string_view lower_name);  // created if missing
  GlobalSlot* find_global(std::u16string_view lower_name) const;

  ErrState& err() { return *err_; }
  const std::shared_ptr<ErrState>& err_state() const { return err_; }
  com::Ref<com::IDispatch> err_object();
  BuiltinState& builtin_state() { return builtin_state_; }
  const std::shared_ptr<bool>& alive() const { return alive_; }

  // Called on loop back-edges and calls; throws the time-out abort.
  void tick() { limits_.tick(); }

  // Entered for every procedure call: bounds recursion by depth and by
  // the native stack left to the thread, raising error 28 past either.
  void enter_call();
  void leave_call() { --depth_; }

  Frame* frame = nullptr;
  // The statement running now, innermost call first: errors take their
  // line from it without every level catching and rethrowing.
  const Stmt* current = nullptr;

 private:

  std::unordered_map<std::u16string, std::unique_ptr<GlobalSlot>> globals_;
  std::vector<std::shared_ptr<LoadedModule>> modules_;
  std::unordered_map<std::u16string, std::shared_ptr<LoadedModule>> dynamic_;
  std::shared_ptr<ErrState> err_;
  com::Ref<com::IDispatch> err_object_;
  BuiltinState builtin_state_;
  std::shared_ptr<bool> alive_;
  RunLimits limits_;
  std::int32_t depth_ = 0;
  const char* stack_limit_ = nullptr;  // calls below this address fail
};

// Sets rt.frame for a scope and restores the previous one.
class FrameScope {
 public:
  FrameScope(Runtime& rt, Frame* f) : rt_(rt), saved_(rt.frame) { rt.frame = f; }
  ~FrameScope() { rt_.frame = saved_; }
  FrameScope(const FrameScope&) = delete;
  FrameScope& operator=(const FrameScope&) = delete;

 private:
  Runtime& rt_;
  Frame* saved_;
};

}  // namespace tap::vbs
