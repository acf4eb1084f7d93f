#include "vbscript/vm/Runtime.h"

#include "vbscript/vm/stack_bound.h"
#include "vbscript/ScriptError.h"
#include "vbscript/vm/ErrObject.h"
#include "vbscript/vm/calls.h"

namespace tap::vbs {

using com::Variant;

namespace {

constexpr std::int32_t max_call_depth = 3000;

}  // namespace

Runtime::Runtime()
    : err_(std::make_shared<ErrState>()), err_object_(new ErrObject(err_)), alive_(std::make_shared<bool>(true)) {}

Runtime::~Runtime() {
  *alive_ = false;
  for (auto& [name, slot] : globals_) discard(slot->value);
}

com::Ref<com::IDispatch> Runtime::err_object() { return err_object_; }

void Runtime::reset() {
  begin_run();
  // Objects still referenced by globals get their Class_Terminate while
  // the code is loaded; values are moved out first because a terminate
  // may assign globals.
  std::vector<Variant> values;
  for (auto& [name, slot] : globals_) values.push_back(std::move(slot->value));
  try {
    for (Variant& v : values) discard(v);
    values.clear();
  } catch (...) {
  }
  *alive_ = false;
  alive_ = std::make_shared<bool>(true);
  globals_.clear();
  dynamic_.clear();
  modules_.clear();
  err_->clear();
  builtin_state_ = BuiltinState{};
}

void Runtime::begin_run() {
  if (depth_ > 0) return;
  current = nullptr;
  stack_limit_ = call_stack_limit(static_cast<const char*>(__builtin_frame_address(0)));
  limits_.start();
}

void Runtime::enter_call() {
  tick();
  const char* here = static_cast<const char*>(__builtin_frame_address(0));
  if (++depth_ > max_call_depth || here < stack_limit_) {
    --depth_;
    throw ScriptError(RuntimeError::out_of_stack_space);
  }
}

GlobalSlot* Runtime::global(std::u16string_view lower_name) {
  auto it = globals_.find(std::u16string(lower_name));
  if (it != globals_.end()) return it->second.get();
  auto slot = std::make_unique<GlobalSlot>();
  slot->name = std::u16string(lower_name);
  GlobalSlot* p = slot.get();
  globals_.emplace(std::u16string(lower_name), std::move(slot));
  return p;
}

GlobalSlot* Runtime::find_global(std::u16string_view lower_name) const {
  auto it = globals_.find(std::u16string(lower_name));
  return it == globals_.end() ? nullptr : it->second.get();
}

void Runtime::add_named_object(std::u16string_view name, com::Ref<com::IDispatch> object) {
  GlobalSlot* g = global(fold_name(name));
  g->declared = true;
  g->constant = true;
  g->value = Variant(std::move(object));
}

void Runtime::load(std::shared_ptr<const CompiledModule> module) {
  std::shared_ptr<LoadedModule> m = link(module);
  modules_.push_back(m);
  call_procedure(*this, *module->main, m->links.data(), nullptr, nullptr, {});
}

std::shared_ptr<LoadedModule> Runtime::find_dynamic(const std::u16string& key) {
  auto it = dynamic_.find(key);
  return it == dynamic_.end() ? nullptr : it->second;
}

std::shared_ptr<LoadedModule> Runtime::add_dynamic(const std::u16string& key,
                                                   std::shared_ptr<const CompiledModule> module) {
  // Bounded: a script evaluating ever-new texts must not grow without end.
  if (dynamic_.size() >= 256) dynamic_.clear();
  std::shared_ptr<LoadedModule> m = link(std::move(module));
  // Code that defined procedures or classes stays loaded for good.
  for (const GlobalDecl& d : m->module->decls)
    if (d.kind != GlobalDecl::Kind::variable) {
      modules_.push_back(m);
      break;
    }
  dynamic_[key] = m;
  return m;
}

std::shared_ptr<LoadedModule> Runtime::link(std::shared_ptr<const CompiledModule> module) {
  auto loaded = std::make_shared<LoadedModule>();
  loaded->module = module;
  loaded->links.reserve(module->link_names.size());
  for (const std::u16string& n : module->link_names) loaded->links.push_back(global(n));
  GlobalSlot* const* links = loaded->links.data();
  for (const GlobalDecl& d : module->decls) {
    GlobalSlot* g = loaded->links[static_cast<std::size_t>(d.link)];
    g->declared = true;
    switch (d.kind) {
      case GlobalDecl::Kind::variable: break;
      case GlobalDecl::Kind::procedure:
        g->proc = d.proc;
        g->proc_links = links;
        break;
      case GlobalDecl::Kind::class_def:
        g->cls = d.cls;
        g->cls_links = links;
        break;
    }
  }
  return loaded;
}

Variant Runtime::call_global(std::u16string_view name, std::span<Variant> args) {
  GlobalSlot* g = find_global(fold_name(name));
  if (!g || !g->proc) throw ScriptError(RuntimeError::sub_or_function_not_defined);
  return call_procedure(*this, *g->proc, g->proc_links, nullptr, nullptr, args);
}

}  // namespace tap::vbs
