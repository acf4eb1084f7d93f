#pragma once
#include <memory>
#include <vector>

#include "model/DoCommandSR.h"
#include "model/SRPair.h"
#include "platform/xml/XmlDocument.h"
#include "playfile/LoadResult.h"

namespace tap {

// One parse per element of a record stream; each returns the built object.
// Faults inside a pair make that pair unusable and stay inside its parse;
// faults in a DoCommand entry (but not in one of its responses) fail the
// load. What makes an entry unusable is added to `refusals`.
SRPair parse_pair(const xml::Element& io_stimulus_response, std::vector<Refusal>& refusals);
std::unique_ptr<Stimulus> parse_stimulus(const xml::Element& stimulus);
SRPair::Response parse_response(const xml::Element& response);
DoCommandSR parse_docommand(const xml::Element& docommand, std::vector<Refusal>& refusals);
DoCommandSR::DoCommandResponse parse_docommand_response(const xml::Element& response);

}  // namespace tap
