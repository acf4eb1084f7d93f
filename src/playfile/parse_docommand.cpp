#include "playfile/ElementReader.h"
#include "playfile/element_parsers.h"
#include "playfile/file_format.h"

namespace tap {

// DoCommand := @version @name? @doCmdType="exactMatch" @command @doCmdFlags @ignoreFlags?
//              DataStruct DoCommandResponse+
// An entry above the engine's version or of another type stays unusable; a
// value that does not convert fails the whole load (conversion_error).
DoCommandSR parse_docommand(const xml::Element& element, std::vector<Refusal>& refusals) {
  DoCommandSR entry;
  ElementReader attrs(element);
  auto refuse = [&](std::string rule) {
    Refusal r;
    r.entry = r.element = "DoCommand";
    r.entry_name = attrs.text("name").value_or(std::string());
    r.entry_line = r.line = element.line();
    r.rule = std::move(rule);
    refusals.push_back(std::move(r));
    return entry;
  };
  entry.version = attrs.required_version();
  if (entry.version > file_format::kEngineFileVersion)
    return refuse("its version " + attrs.required_text("version") + " is newer than 1.5");
  if (auto name = attrs.text("name")) entry.name = std::move(*name);
  entry.doCmdType = attrs.required_text("doCmdType");
  if (entry.doCmdType != file_format::kExactMatch)
    return refuse("its doCmdType \"" + entry.doCmdType +
                  "\" is not \"exactMatch\" (the case counts)");
  entry.matchKind = 1;
  entry.command = static_cast<std::uint32_t>(attrs.required_i4("command"));
  entry.doCmdFlags = static_cast<std::uint32_t>(attrs.required_i4("doCmdFlags"));
  if (xml::Element data = element.first_child(u"DataStruct"))
    entry.data = ElementReader::data_block(data);
  entry.ignoreFlags = attrs.boolean("ignoreFlags", true);
  std::vector<xml::Element> responses = element.children(u"DoCommandResponse");
  entry.responses.reserve(responses.size());
  for (const xml::Element& response : responses)
    entry.responses.push_back(parse_docommand_response(response));
  if (entry.responses.empty()) refuse("it has no DoCommandResponse to answer with");
  entry.unusable = false;
  return entry;
}

// DoCommandResponse := @returnValue @waitTime? DataStruct?
// The data is read from a DataStruct child, as for the call itself.
DoCommandSR::DoCommandResponse parse_docommand_response(const xml::Element& element) {
  DoCommandSR::DoCommandResponse response;
  try {
    ElementReader attrs(element);
    response.returnValue = attrs.required_i4("returnValue");
    response.waitTime = attrs.optional_i4("waitTime", 0);
    if (xml::Element data = element.first_child(u"DataStruct"))
      response.data = ElementReader::data_block(data);
  } catch (const std::runtime_error&) {
    // Kept as far as it was read; the load goes on.
  }
  return response;
}

}  // namespace tap
