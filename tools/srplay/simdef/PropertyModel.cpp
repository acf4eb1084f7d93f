#include "simdef/PropertyModel.h"

#include <algorithm>
#include <cstdio>

#include "simdef/ImportDiagnostics.h"
#include "simdef/PythonValues.h"

namespace srplay::simdef {
namespace {

std::string number_text(double v, ValueType type) {
  char buf[40];
  if (type == ValueType::integer) std::snprintf(buf, sizeof buf, "%.0f", v);
  else std::snprintf(buf, sizeof buf, "%.17g", v);
  return buf;
}

}  // namespace

PropertyModel property_model(const Property& p, const std::string& file) {
  PropertyModel m;
  m.initial = p.default_value.text;
  if (!p.specs) return m;
  const Specs& s = *p.specs;
  m.has_specs = true;
  if (!s.type)
    throw import_error(file, s.line, "property " + p.name + ": specs give no `type` (int, float or str)");
  const std::string& t = s.type->text;
  if (t == "int") m.type = ValueType::integer;
  else if (t == "float") m.type = ValueType::number;
  else if (t == "str") m.type = ValueType::text;
  else
    throw import_error(file, s.type->line,
                       "property " + p.name + ": type '" + t + "' is not int, float or str");
  m.checks.type = m.type;

  auto number = [&](const Located& v, const std::string& what) {
    auto n = m.type == ValueType::integer ? python_int(v.text) : python_float(v.text);
    if (!n)
      throw import_error(file, v.line,
                         "property " + p.name + ": " + what + " \"" + v.text + "\" is not " +
                             (m.type == ValueType::integer ? "an int" : "a finite float") +
                             (m.type == ValueType::integer ? " (of at most 2^53)" : ""));
    return *n;
  };
  if (m.type == ValueType::text) {
    if (s.min) m.checks.min_text = s.min->text;
    if (s.max) m.checks.max_text = s.max->text;
    for (const Located& v : s.valid) m.checks.valid_texts.push_back(v.text);
  } else {
    if (s.min) m.checks.min = number(*s.min, "min");
    if (s.max) m.checks.max = number(*s.max, "max");
    for (const Located& v : s.valid) m.checks.valid_numbers.push_back(number(v, "valid value"));
  }

  const Located& d = p.default_value;
  const std::string refused = "property " + p.name + ": default \"" + d.text + "\" ";
  if (m.type == ValueType::text) {
    const auto& c = m.checks;
    const bool in_range = (!c.min_text || d.text >= *c.min_text) && (!c.max_text || d.text <= *c.max_text);
    const bool listed = c.valid_texts.empty() ||
                        std::find(c.valid_texts.begin(), c.valid_texts.end(), d.text) != c.valid_texts.end();
    if (!in_range || !listed) throw import_error(file, d.line, refused + "breaks the specs");
    return m;
  }
  const double v = number(d, "default");
  const auto& c = m.checks;
  const bool in_range = (!c.min || v >= *c.min) && (!c.max || v <= *c.max);
  const bool listed = c.valid_numbers.empty() ||
                      std::find(c.valid_numbers.begin(), c.valid_numbers.end(), v) != c.valid_numbers.end();
  if (!in_range || !listed) throw import_error(file, d.line, refused + "breaks the specs");
  m.initial = number_text(v, m.type);
  return m;
}

}  // namespace srplay::simdef
