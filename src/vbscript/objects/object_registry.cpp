#include "vbscript/objects/object_registry.h"

#include <initializer_list>

#include "vbscript/objects/Dictionary.h"
#include "vbscript/objects/RegExp.h"

namespace tap::vbs {

namespace {

using Factory = com::Ref<com::IDispatch> (*)();

struct Creatable {
  std::u16string_view name;
  Factory create;
};

template <typename T>
com::Ref<com::IDispatch> make() {
  return com::Ref<com::IDispatch>(new T());
}

// One line per creatable object; names match case-insensitively. Any other
// ProgID fails with 429. README.md lists these.
constexpr std::initializer_list<Creatable> kProgIds = {
    {u"Scripting.Dictionary", make<Dictionary>},
    {u"VBScript.RegExp", make<RegExp>},
};

// Classes `New` creates without a Class statement of the script's own.
constexpr std::initializer_list<Creatable> kBuiltinClasses = {
    {u"RegExp", make<RegExp>},
};

com::Ref<com::IDispatch> create_from(std::initializer_list<Creatable> table, std::u16string_view name) {
  for (const Creatable& c : table)
    if (com::names_equal(c.name, name)) return c.create();
  return nullptr;
}

}  // namespace

com::Ref<com::IDispatch> create_object_by_progid(std::u16string_view progid) {
  return create_from(kProgIds, progid);
}

com::Ref<com::IDispatch> create_builtin_class(std::u16string_view class_name) {
  return create_from(kBuiltinClasses, class_name);
}

}  // namespace tap::vbs
