#include "check_command.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "RecordingSummary.h"
#include "model/bad_version.h"
#include "platform/os/code_page.h"
#include "playfile/ElementReader.h"
#include "playfile/PlaybackDocument.h"
#include "playfile/conversion_error.h"
#include "playfile/element_parsers.h"
#include "playfile/file_format.h"
#include "playfile/number_text.h"

namespace srplay {
namespace {

using tap::ElementReader;

std::string attribute_text(const xml::Element& e, const char* name) {
  return ElementReader(e).text(name).value_or("");
}

std::optional<std::string> version_problem(const xml::Element& e) {
  std::optional<std::string> text = ElementReader(e).text("version");
  if (!text) return "it has no version";
  std::optional<double> v = tap::parse_version(*text);
  if (!v) return "its version \"" + *text + "\" is not a number";
  if (*v > tap::file_format::kEngineFileVersion) return "its version " + *text + " is newer than 1.5";
  return std::nullopt;
}

// Runs one of the loader's parses and says why it refused, if it did.
template <typename Parse>
std::optional<std::string> refusal(const xml::Element& e, const char* type_attribute, Parse parse) {
  try {
    parse(e);
    return std::nullopt;
  } catch (const tap::bad_version&) {
    return "its " + std::string(type_attribute) + " \"" + attribute_text(e, type_attribute) +
           "\" is neither \"exactString\" nor \"vbscript\" (the case counts)";
  } catch (const tap::conversion_error& c) {
    return "its " + c.value_name() + " is missing or not a 32-bit integer";
  } catch (const std::exception& x) {
    return x.what();
  }
}

std::optional<std::string> pair_problem(const xml::Element& pair) {
  if (auto p = version_problem(pair)) return p;
  if (xml::Element s = pair.first_child(u"Stimulus"))
    if (auto p = refusal(s, "stimulusType", [](const xml::Element& e) { tap::parse_stimulus(e); }))
      return "the Stimulus (line " + std::to_string(s.line()) + "): " + *p;
  for (const xml::Element& r : pair.children(u"Response"))
    if (auto p = refusal(r, "responseType", [](const xml::Element& e) { tap::parse_response(e); }))
      return "a Response (line " + std::to_string(r.line()) + "): " + *p;
  return std::nullopt;
}

std::optional<std::string> docommand_problem(const xml::Element& entry) {
  if (auto p = version_problem(entry)) return p;
  std::string type = attribute_text(entry, "doCmdType");
  if (type != tap::file_format::kExactMatch)
    return "its doCmdType \"" + type + "\" is not \"exactMatch\" (the case counts)";
  return std::nullopt;
}

int run_check(const std::string& path) {
  tap::PlaybackDocument document;
  xml::ParseResult result = document.load(path);
  if (!result) {
    std::printf("%s:%d:%d: refused: %s\n", path.c_str(), result.line, result.column,
                result.message.c_str());
    return 1;
  }
  int rc = 0;
  std::size_t index = 0;
  for (const xml::Element& stream : document.root().children(u"IORecordStream")) {
    xml::Node first = stream.first_child_node();
    std::string address = "(no InstrumentAddress first)";
    if (first && first.is_element()) {
      xml::Element a = first.as_element();
      address = attribute_text(a, "intfaddr") + " prim " + attribute_text(a, "prim") + " sec " +
                attribute_text(a, "sec") + " devprot " + attribute_text(a, "devprot") +
                " bracket \"" + attribute_text(a, "bracket") + "\" colon \"" +
                attribute_text(a, "colon") + "\"";
    } else {
      rc = 1;
    }
    std::printf("%s:%d: stream %zu: %s\n", path.c_str(), stream.line(), index++, address.c_str());
    for (const xml::Element& pair : stream.children(u"IOStimulusResponse"))
      if (auto p = pair_problem(pair))
        std::printf("%s:%d: pair \"%s\" will never match: %s\n", path.c_str(), pair.line(),
                    attribute_text(pair, "name").c_str(), p->c_str());
    for (const xml::Element& entry : stream.children(u"DoCommand")) {
      try {
        tap::parse_docommand(entry);
      } catch (const tap::conversion_error& c) {
        std::printf("%s:%d: opening this stream fails: the DoCommand's %s is missing or not a "
                    "32-bit integer (above 2147483647?)\n",
                    path.c_str(), entry.line(), c.value_name().c_str());
        rc = 1;
        continue;
      }
      if (auto p = docommand_problem(entry))
        std::printf("%s:%d: DoCommand \"%s\" will never match: %s\n", path.c_str(), entry.line(),
                    attribute_text(entry, "name").c_str(), p->c_str());
    }
  }
  std::printf("%s: %s\n", path.c_str(), rc == 0 ? "the driver loads this file" : "the driver refuses some opens");
  return rc;
}

}  // namespace

void add_check_command(CLI::App& app, int& rc) {
  auto* cmd = app.add_subcommand("check", "validate a recording as the driver does and explain refusals");
  auto path = std::make_shared<std::string>();
  cmd->add_option("FILE", *path, "the playback file")->required();
  cmd->callback([path, &rc] { rc = run_check(*path); });
}

}  // namespace srplay
