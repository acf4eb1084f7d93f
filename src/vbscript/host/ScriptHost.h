#pragma once
// The engine as a host drives it (the worker, srplay, tests): reset, a
// time-out, adding module text, running a named procedure. Failures come
// back as values, never as exceptions.
//
// Pipeline: text -> tokens (lex/) -> syntax tree (parse/) -> closure tree
// (compile/, nodes in vm/) -> execution over com::Variant (vm/). Compiled
// modules are cached by their text, so reset + add of a text seen before
// only links and runs it.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/com/Dispatch.h"
#include "vbscript/compile/Program.h"

namespace tap::vbs {

class Runtime;

struct ScriptResult {
  std::int32_t number = 0;  // 0: success
  std::u16string description;
  std::u16string source;  // "Microsoft VBScript runtime error", ... or the raiser's
  std::int32_t line = 0;  // 1-based; 0 when not tied to a statement
  std::int32_t column = 0;
  com::Variant value;     // a Function's result
  bool quit = false;      // the script asked to stop (WScript.Quit)
  std::int32_t exit_code = 0;
  bool ok() const { return number == 0; }
};

class ScriptHost {
 public:
  ScriptHost();
  ~ScriptHost();
  ScriptHost(const ScriptHost&) = delete;
  ScriptHost& operator=(const ScriptHost&) = delete;

  // Drops all code, globals and named objects.
  void reset();
  // Milliseconds a host call may run; -1 for no limit.
  void set_timeout(std::int32_t ms);
  // Bytes the script's strings and arrays may hold (estimated); past it
  // the allocation fails with error 7. 256 MB unless set.
  void set_memory_limit(std::size_t bytes);
  std::size_t memory_used() const;
  // Makes a host object visible to scripts under `name`.
  void add_object(std::u16string_view name, com::Ref<com::IDispatch> object);
  // Parses the whole text (the first syntax error is reported with its
  // position), then runs its module-level code.
  ScriptResult add_code(std::u16string_view text);
  // Calls a global Sub or Function; error 35 if there is none.
  ScriptResult run(std::u16string_view name, std::span<com::Variant> args);

  static constexpr std::size_t cache_capacity = 64;

 private:
  template <typename Fn>
  ScriptResult guarded(Fn body);

  std::unique_ptr<Runtime> rt_;
  std::int32_t timeout_ms_ = -1;
  std::unordered_map<std::u16string, std::shared_ptr<const CompiledModule>> cache_;
};

}  // namespace tap::vbs
