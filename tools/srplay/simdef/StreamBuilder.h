#pragma once
// One record stream from one resource of a definition: the device's
// dialogues as exact pairs, its properties, error queues and status
// registers as scripted pairs over the session's value store, and a last
// pair that answers what the device does not understand.
#include <string>
#include <vector>

#include "ConversationText.h"
#include "host/ResourceName.h"
#include "simdef/ImportDiagnostics.h"
#include "simdef/SimDefinition.h"

namespace srplay::simdef {

struct StreamSource {
  const Device& device;
  std::string file;        // where the device is defined
  std::string key_prefix;  // the device's keys in the value store
  const Resource& resource;
  std::string resource_file;  // where the resource is named
  tap::host::ResourceAddress address;
};

struct BuiltStream {
  TextStream stream;
  std::vector<TextValue> values;  // the value store's initial values for this device
};

BuiltStream build_stream(const StreamSource& source, Diagnostics& diagnostics);

}  // namespace srplay::simdef
