#include "vbscript/host/ScriptHost.h"

#include <new>

#include "vbscript/ScriptError.h"
#include "vbscript/compile/Compiler.h"
#include "vbscript/compile/Node.h"
#include "vbscript/vm/Runtime.h"

namespace tap::vbs {

ScriptHost::ScriptHost() : rt_(std::make_unique<Runtime>()) {}
ScriptHost::~ScriptHost() = default;

void ScriptHost::reset() {
  std::int32_t timeout = timeout_ms_;
  std::size_t memory_limit = rt_->limits().memory_limit();
  try {
    RunLimits::Activation active(rt_->limits());
    rt_->reset();
  } catch (...) {
    // A failing Class_Terminate must not stop the reset; start afresh.
    rt_ = std::make_unique<Runtime>();
    rt_->set_timeout(timeout);
    rt_->limits().set_memory_limit(memory_limit);
  }
}

void ScriptHost::set_timeout(std::int32_t ms) {
  timeout_ms_ = ms;
  rt_->set_timeout(ms);
}

void ScriptHost::set_memory_limit(std::size_t bytes) { rt_->limits().set_memory_limit(bytes); }

std::size_t ScriptHost::memory_used() const { return rt_->limits().memory_used(); }

void ScriptHost::add_object(std::u16string_view name, com::Ref<com::IDispatch> object) {
  rt_->add_named_object(name, std::move(object));
}

template <typename Fn>
ScriptResult ScriptHost::guarded(Fn body) {
  ScriptResult r;
  auto fail = [&](std::int32_t number, std::u16string description, std::u16string source, std::int32_t line,
                  std::int32_t column) {
    r.number = number;
    r.description = std::move(description);
    r.source = source.empty() ? std::u16string(runtime_error_source) : std::move(source);
    r.line = line;
    r.column = column;
  };
  try {
    RunLimits::Activation active(rt_->limits());
    rt_->begin_run();
    body(r);
  } catch (const ScriptError& e) {
    const Stmt* at = rt_->current;
    if (e.line() == 0 && at) fail(e.number(), e.description(), e.source(), at->line, at->column);
    else fail(e.number(), e.description(), e.source(), e.line(), e.column());
  } catch (const ScriptAbort& a) {
    if (a.kind() == ScriptAbort::Kind::quit) {
      r.quit = true;
      r.exit_code = a.exit_code();
    } else {
      auto n = static_cast<std::int32_t>(RuntimeError::script_timeout);
      const Stmt* at = rt_->current;
      fail(n, runtime_error_description(n), {}, at ? at->line : 0, at ? at->column : 0);
    }
  } catch (const std::bad_alloc&) {
    auto n = static_cast<std::int32_t>(RuntimeError::out_of_memory);
    const Stmt* at = rt_->current;
    fail(n, runtime_error_description(n), {}, at ? at->line : 0, at ? at->column : 0);
  }
  return r;
}

ScriptResult ScriptHost::add_code(std::u16string_view text) {
  std::u16string key(text);
  std::shared_ptr<const CompiledModule> module;
  if (auto it = cache_.find(key); it != cache_.end()) {
    module = it->second;
  } else {
    CompileResult cr = compile_module(text);
    if (!cr) {
      ScriptResult r;
      r.number = cr.error;
      r.description = runtime_error_description(cr.error);
      r.source = compilation_error_source;
      r.line = cr.line;
      r.column = cr.column;
      return r;
    }
    if (cache_.size() >= cache_capacity) cache_.clear();
    module = cr.module;
    cache_.emplace(std::move(key), module);
  }
  return guarded([&](ScriptResult&) { rt_->load(module); });
}

ScriptResult ScriptHost::run(std::u16string_view name, std::span<com::Variant> args) {
  return guarded([&](ScriptResult& r) { r.value = rt_->call_global(name, args); });
}

}  // namespace tap::vbs
