#include "model/ExactStringStimulus.h"
#include "model/VBScriptStimulus.h"
#include "model/bad_version.h"
#include "playfile/ElementReader.h"
#include "playfile/element_parsers.h"
#include "playfile/file_format.h"
#include "platform/os/code_page.h"

namespace tap {

namespace {

std::string local_name(const xml::Element& e) { return os::wide_to_ansi(e.local_name()); }

std::string type_word_rule(const char* attribute, const std::string& word) {
  return "its " + std::string(attribute) + " \"" + word +
         "\" is neither \"exactString\" nor \"vbscript\" (the case counts)";
}

}  // namespace

// IOStimulusResponse := @version @name? Stimulus Response*
SRPair parse_pair(const xml::Element& element, std::vector<Refusal>& refusals) {
  SRPair pair;
  ElementReader attrs(element);
  Refusal refusal;
  refusal.entry = "IOStimulusResponse";
  refusal.entry_name = attrs.text("name").value_or(std::string());
  refusal.entry_line = element.line();
  // The element being parsed when a rule breaks; a copy, as the child
  // elements' views go out of scope when a parse throws.
  xml::Element at = element;
  try {
    double version = attrs.required_version();
    pair.set_version(version);
    if (version > file_format::kEngineFileVersion)
      throw bad_version("its version " + attrs.required_text("version") + " is newer than 1.5");
    if (!refusal.entry_name.empty()) pair.set_name(refusal.entry_name);
    if (xml::Element stimulus = element.first_child(u"Stimulus")) {
      at = stimulus;
      pair.set_stimulus(parse_stimulus(stimulus));
    }
    std::vector<xml::Element> responses = element.children(u"Response");
    pair.reserve_responses(responses.size());
    for (const xml::Element& response : responses) {
      at = response;
      pair.add_response(parse_response(response));
      if (pair.responses().back().responseKind() == SRPair::Response::kNone) {
        Refusal r = refusal;
        r.effect = Refusal::Effect::reads_fail;
        r.element = "Response";
        r.line = response.line();
        r.rule = "its vbscript response has no ExactString holding the script";
        refusals.push_back(std::move(r));
      }
    }
    return pair;
  } catch (const bad_version& e) {
    refusal.rule = e.reason();
  } catch (const conversion_error& e) {
    refusal.rule = e.rule();
  } catch (const std::runtime_error& e) {
    refusal.rule = e.what();
  }
  // The pair keeps what it had built and never matches; the load goes on.
  pair.set_unusable(true);
  refusal.element = local_name(at);
  refusal.line = at.line();
  refusals.push_back(std::move(refusal));
  return pair;
}

// Stimulus := @stimulusType="exactString" @readWriteFlags @returnValue @actualWritten
//             @waitTime? @ignoreFlags? ExactString?
//           | @stimulusType="vbscript" @readWriteFlags @ignoreFlags? @ignoreCase?
//             @scriptTimeout? @patternString? @scriptString?
std::unique_ptr<Stimulus> parse_stimulus(const xml::Element& element) {
  ElementReader attrs(element);
  std::string type = attrs.required_text("stimulusType");
  if (type == file_format::kExactString) {
    ExactStringStimulus::Fields f;
    f.waitTime = attrs.optional_i4("waitTime", 0);
    f.returnValue = attrs.required_i4("returnValue");
    f.actualWritten = static_cast<std::uint32_t>(attrs.required_i4("actualWritten"));
    f.readWriteFlags = static_cast<std::uint32_t>(attrs.required_i4("readWriteFlags"));
    f.ignoreFlags = attrs.boolean("ignoreFlags", true);
    if (xml::Element bytes = element.first_child(u"ExactString"))
      f.bytes = ElementReader::bytes(bytes);
    return std::make_unique<ExactStringStimulus>(std::move(f));
  }
  if (type == file_format::kVBScript) {
    VBScriptStimulus::Fields f;
    f.readWriteFlags = static_cast<std::uint32_t>(attrs.required_i4("readWriteFlags"));
    f.ignoreFlags = attrs.boolean("ignoreFlags", true);
    f.ignoreCase = attrs.boolean("ignoreCase", false);
    f.scriptTimeout = attrs.optional_i4("scriptTimeout", -1);
    f.patternString = attrs.text("patternString").value_or(std::string());
    std::optional<std::string> body = attrs.text("scriptString");
    f.script = VBScriptStimulus::wrap_script(body ? &*body : nullptr);
    return std::make_unique<VBScriptStimulus>(std::move(f));
  }
  throw bad_version(type_word_rule("stimulusType", type));
}

// Response := @responseType="exactString" @returnValue @stopReason @waitTime? ExactString
//           | @responseType="vbscript" @scriptTimeout? ExactString(script body)
SRPair::Response parse_response(const xml::Element& element) {
  ElementReader attrs(element);
  std::string type = attrs.required_text("responseType");
  xml::Element body = element.first_child(u"ExactString");
  if (type == file_format::kExactString) {
    std::int32_t wait = attrs.optional_i4("waitTime", 0);
    std::int32_t return_value = attrs.required_i4("returnValue");
    std::int32_t stop_reason = attrs.required_i4("stopReason");
    // A failed read carries no bytes, whatever the file holds.
    std::string bytes = return_value == 0 && body ? ElementReader::bytes(body) : std::string();
    return SRPair::Response::exact(std::move(type), wait, return_value, stop_reason,
                                   std::move(bytes));
  }
  if (type == file_format::kVBScript) {
    if (!body) return SRPair::Response::unknown(std::move(type));
    std::string script = "Sub ExecuteRead(ByVal PlaybackEngine)\n" + ElementReader::bytes(body) +
                         "\nEnd Sub";
    return SRPair::Response::scripted(std::move(type), std::move(script),
                                      attrs.optional_i4("scriptTimeout", -1));
  }
  throw bad_version(type_word_rule("responseType", type));
}

}  // namespace tap
