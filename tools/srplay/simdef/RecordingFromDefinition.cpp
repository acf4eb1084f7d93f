#include "simdef/RecordingFromDefinition.h"

#include <filesystem>
#include <map>
#include <set>

#include "simdef/DefinitionReader.h"
#include "simdef/StreamBuilder.h"

namespace srplay::simdef {

ConversationText recording_from_definition(const std::string& path, Diagnostics& diagnostics) {
  const Definition def = read_definition(path, diagnostics);
  if (def.resources.empty())
    throw import_error(path, 0, "the file binds no device to a resource (`resources`)");

  std::map<std::string, Definition> others;  // devices named from other files
  std::set<std::string> used;
  std::set<std::string> value_keys;
  std::map<std::string, const Resource*> by_address;
  ConversationText out;
  for (const Resource& r : def.resources) {
    std::string why;
    auto address = tap::host::parse_resource_name(r.name.text, &why);
    if (!address) {
      diagnostics.warn(path, r.name.line, "resource " + r.name.text + " cannot be opened by name: " + why + "; left out");
      continue;
    }
    if (r.bundled) {
      diagnostics.warn(path, r.bundled->line,
                       "devices bundled with the simulator are not available here (copy the device "
                       "into this file); resource " + r.name.text + " left out");
      continue;
    }
    const Definition* from = &def;
    std::string prefix = r.device.text;
    if (r.filename) {
      const auto other = (std::filesystem::path(path).parent_path() / r.filename->text).string();
      if (!others.count(other)) {
        try {
          others.emplace(other, read_definition(other, diagnostics));
        } catch (const import_error& e) {
          diagnostics.warn(path, r.filename->line,
                           where(e.file(), e.line()) + e.what() + "; resource " + r.name.text + " left out");
          continue;
        }
      }
      from = &others.at(other);
      prefix = r.filename->text + ":" + prefix;
    }
    const auto device = from->devices.find(r.device.text);
    if (device == from->devices.end()) {
      diagnostics.warn(path, r.device.line, "no device " + r.device.text + "; resource " + r.name.text + " left out");
      continue;
    }
    if (from == &def) used.insert(r.device.text);
    // What the driver tells opens apart by: the region's kind and class and
    // the open's values (not the board).
    const auto& a = *address;
    const std::string address_key = a.kind + "|" + a.resource_class + "|" + std::to_string(a.primary) + "|" +
                                    std::to_string(a.secondary) + "|" + std::to_string(a.device_protocol) +
                                    "|" + a.bracket + "|" + a.colon;
    if (auto [it, fresh] = by_address.emplace(address_key, &r); !fresh)
      diagnostics.warn(path, r.name.line,
                       "resource " + r.name.text + " opens at the same address as " + it->second->name.text +
                           " (line " + std::to_string(it->second->name.line) +
                           "): successive opens take the two streams in turn");
    BuiltStream built = build_stream({device->second, from->path, prefix, r, path, *address}, diagnostics);
    out.streams.push_back(std::move(built.stream));
    for (TextValue& v : built.values)
      if (value_keys.insert(v.key).second) out.values.push_back(std::move(v));
  }
  for (const auto& [name, d] : def.devices)
    if (!used.count(name)) diagnostics.warn(path, d.line, "device " + name + " is bound to no resource; left out");
  if (out.streams.empty()) throw import_error(path, 0, "no resource could be written");
  return out;
}

}  // namespace srplay::simdef
