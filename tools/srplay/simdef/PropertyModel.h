#pragma once
// A property's value type, checks and initial value, worked out from its
// specs and default as the simulator does when it loads the definition.
#include <string>

#include "simdef/ScriptPieces.h"
#include "simdef/SimDefinition.h"

namespace srplay::simdef {

struct PropertyModel {
  bool has_specs = false;
  ValueType type = ValueType::text;  // without specs values keep the type they were read with
  ValueChecks checks;
  std::string initial;  // the value store's initial text
};

// Throws import_error where the simulator would refuse the definition: specs
// without a type or with an unknown one, limits or valid values that are not
// of the type, a default that is not of the type or breaks the specs.
PropertyModel property_model(const Property& property, const std::string& file);

}  // namespace srplay::simdef
