#pragma once
// What the compiler produces for one module text: procedures, classes, the
// module-level code and the global names they use. Immutable once built,
// so one compiled module can be loaded again after a reset (the cache).
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "vbscript/compile/Node.h"
#include "vbscript/parse/Ast.h"

namespace tap::vbs {

struct ClassDef;

struct Procedure {
  std::u16string name;
  ast::ProcKind kind = ast::ProcKind::sub;
  std::vector<bool> by_val;               // one per parameter
  std::int32_t local_count = 0;           // parameters first
  std::int32_t result_slot = -1;          // Function / Property Get
  std::vector<std::u16string> local_names;  // lower case, by slot; for Execute/Eval
  const ClassDef* owner = nullptr;
  bool is_public = true;
  bool is_main = false;  // a module's top-level code
  std::int32_t line = 0, column = 0;
  Block body;

  std::size_t param_count() const { return by_val.size(); }
};

struct ClassMember {
  enum class Kind : std::uint8_t { field, method, property };
  std::u16string name;  // source spelling
  Kind kind = Kind::field;
  bool is_public = true;
  std::int32_t field = -1;
  const Procedure* method = nullptr;
  const Procedure* get = nullptr;
  const Procedure* let = nullptr;
  const Procedure* set = nullptr;
};

struct FieldInit {
  std::vector<std::int32_t> dims;  // "Dim a(3)" fields start as arrays
  bool is_array = false;
  com::Variant initial;            // a class's Const
};

struct ClassDef {
  std::u16string name;
  std::vector<ClassMember> members;  // DISPID = index + 1
  std::unordered_map<std::u16string, std::int32_t> by_name;  // lower case
  std::int32_t default_member = -1;
  std::vector<FieldInit> fields;
  const Procedure* initialize = nullptr;
  const Procedure* terminate = nullptr;
  std::vector<std::unique_ptr<Procedure>> procs;

  const ClassMember* find(std::u16string_view lower_name) const;
};

// A module-level name the module defines when it loads.
struct GlobalDecl {
  enum class Kind : std::uint8_t { variable, procedure, class_def };
  Kind kind = Kind::variable;
  std::int32_t link = 0;
  const Procedure* proc = nullptr;
  const ClassDef* cls = nullptr;
};

struct CompiledModule {
  std::vector<std::u16string> link_names;  // lower case
  std::vector<GlobalDecl> decls;
  std::unique_ptr<Procedure> main;  // module-level code
  ExprNode expression;              // Eval's text, compiled
  std::vector<std::unique_ptr<Procedure>> procs;
  std::vector<std::unique_ptr<ClassDef>> classes;
  bool option_explicit = false;
};

// Lower-cases ASCII and the letters case_fold knows, for name lookups.
std::u16string fold_name(std::u16string_view name);

}  // namespace tap::vbs
