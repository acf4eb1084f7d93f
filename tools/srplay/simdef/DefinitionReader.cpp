#include "simdef/DefinitionReader.h"

#include <yaml-cpp/yaml.h>

#include <initializer_list>

#include "file_problem.h"

namespace srplay::simdef {
namespace {

int line_of(const YAML::Node& node) { return node.Mark().is_null() ? 0 : node.Mark().line + 1; }

class Reader {
 public:
  Reader(std::string path, Diagnostics& d) : path_(std::move(path)), diagnostics_(d) {}

  Definition read() {
    const std::string problem = file_problem(path_);
    if (!problem.empty()) throw import_error(path_, 0, "cannot read the file: " + problem);
    YAML::Node root;
    try {
      root = YAML::LoadFile(path_);
    } catch (const YAML::Exception& e) {
      throw import_error(path_, e.mark.is_null() ? 0 : e.mark.line + 1, "not a YAML file: " + e.msg);
    }
    if (!root.IsMap()) throw import_error(path_, line_of(root), "the file is not a mapping of keys");
    Definition def;
    def.path = path_;
    check_keys(root, {"spec", "devices", "resources"}, "at the top level");
    if (!root["spec"]) throw import_error(path_, 1, "the file gives no spec version (spec: \"1.1\")");
    def.spec = text(root["spec"]);
    check_version(def.spec);
    if (YAML::Node devices = root["devices"]) {
      expect_map(devices, "devices");
      for (auto it = devices.begin(); it != devices.end(); ++it) {
        Device d = device(it->second);
        d.name = key(it->first);
        d.line = line_of(it->first);
        def.devices.emplace(d.name, std::move(d));
      }
    }
    if (YAML::Node resources = root["resources"]) {
      expect_map(resources, "resources");
      for (auto it = resources.begin(); it != resources.end(); ++it)
        def.resources.push_back(resource(it->first, it->second));
    }
    return def;
  }

 private:
  std::string path_;
  Diagnostics& diagnostics_;

  [[noreturn]] void fail(const YAML::Node& at, const std::string& what) const {
    throw import_error(path_, line_of(at), what);
  }

  void expect_map(const YAML::Node& n, const std::string& what) const {
    if (!n.IsMap()) fail(n, "`" + what + "` must be a mapping");
  }
  void expect_list(const YAML::Node& n, const std::string& what) const {
    if (!n.IsSequence()) fail(n, "`" + what + "` must be a list");
  }

  // Every scalar is text, as the definition's own loader reads it; an empty
  // value is the empty text.
  Located text(const YAML::Node& n) const {
    if (n.IsNull()) return {"", line_of(n)};
    if (!n.IsScalar()) fail(n, "expected a single value here");
    return {n.Scalar(), line_of(n)};
  }
  std::string key(const YAML::Node& n) const { return text(n).text; }

  void check_keys(const YAML::Node& map, std::initializer_list<const char*> known,
                  const std::string& where_text) {
    for (auto it = map.begin(); it != map.end(); ++it) {
      const std::string k = key(it->first);
      bool found = false;
      for (const char* name : known) found = found || k == name;
      if (!found)
        diagnostics_.warn(path_, line_of(it->first),
                          "`" + k + "` " + where_text + " is not supported; left out");
    }
  }

  void check_version(const Located& spec) const {
    const std::string& v = spec.text;
    const auto dot = v.find('.');
    auto digits = [](const std::string& s) {
      return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos;
    };
    if (dot == std::string::npos || !digits(v.substr(0, dot)) || !digits(v.substr(dot + 1)))
      throw import_error(path_, spec.line, "spec version \"" + v + "\" is not of the form X.Y");
    const int major = std::stoi(v.substr(0, dot));
    const int minor = std::stoi(v.substr(dot + 1));
    if (major != 1 || minor > 1)
      throw import_error(path_, spec.line,
                         "spec version \"" + v + "\" is not supported (1.0 and 1.1 are)");
  }

  Exchange exchange(const YAML::Node& n, const std::string& what, bool with_error) {
    expect_map(n, what);
    if (with_error) check_keys(n, {"q", "r", "e"}, "in " + what);
    else check_keys(n, {"q", "r"}, "in " + what);
    if (!n["q"]) fail(n, what + " has no `q`");
    Exchange x;
    x.line = line_of(n);
    x.query = text(n["q"]);
    if (n["r"]) x.response = text(n["r"]);
    if (with_error && n["e"]) x.error_response = text(n["e"]);
    return x;
  }

  Specs specs(const YAML::Node& n) {
    expect_map(n, "specs");
    check_keys(n, {"type", "min", "max", "valid"}, "in specs");
    Specs s;
    s.line = line_of(n);
    if (n["type"]) s.type = text(n["type"]);
    if (n["min"]) s.min = text(n["min"]);
    if (n["max"]) s.max = text(n["max"]);
    if (YAML::Node valid = n["valid"]) {
      expect_list(valid, "valid");
      for (const YAML::Node& v : valid) s.valid.push_back(text(v));
    }
    return s;
  }

  Property property(const YAML::Node& name, const YAML::Node& n) {
    Property p;
    p.name = key(name);
    p.line = line_of(name);
    expect_map(n, "property " + p.name);
    check_keys(n, {"default", "getter", "setter", "specs"}, "in property " + p.name);
    p.default_value = n["default"] ? text(n["default"]) : Located{"", p.line};
    if (n["getter"]) p.getter = exchange(n["getter"], "getter", false);
    if (n["setter"]) p.setter = exchange(n["setter"], "setter", true);
    if (n["specs"]) p.specs = specs(n["specs"]);
    return p;
  }

  void component(const YAML::Node& n, Component& c) {
    if (YAML::Node dialogues = n["dialogues"]) {
      expect_list(dialogues, "dialogues");
      for (const YAML::Node& d : dialogues) c.dialogues.push_back(exchange(d, "dialogue", false));
    }
    if (YAML::Node properties = n["properties"]) {
      expect_map(properties, "properties");
      for (auto it = properties.begin(); it != properties.end(); ++it)
        c.properties.push_back(property(it->first, it->second));
    }
  }

  ChannelGroup channel_group(const YAML::Node& name, const YAML::Node& n) {
    ChannelGroup g;
    g.name = key(name);
    g.line = line_of(name);
    expect_map(n, "channels " + g.name);
    check_keys(n, {"ids", "can_select", "dialogues", "properties"}, "in channels " + g.name);
    if (YAML::Node ids = n["ids"]) {
      expect_list(ids, "ids");
      for (const YAML::Node& id : ids) g.ids.push_back(text(id));
    }
    // Only the exact word False turns selection in the command off.
    if (n["can_select"]) g.can_select = text(n["can_select"]).text != "False";
    component(n, g);
    return g;
  }

  ErrorHandling errors(const YAML::Node& n) {
    ErrorHandling e;
    e.line = line_of(n);
    if (n.IsScalar() || n.IsNull()) {
      e.command_error = text(n);
      e.query_error = text(n);
      e.single_answer = true;
      return e;
    }
    expect_map(n, "error");
    check_keys(n, {"response", "status_register", "error_queue"}, "in error");
    if (YAML::Node response = n["response"]) {
      expect_map(response, "response");
      check_keys(response, {"command_error", "query_error"}, "in error response");
      if (response["command_error"]) e.command_error = text(response["command_error"]);
      if (response["query_error"]) e.query_error = text(response["query_error"]);
    }
    if (YAML::Node registers = n["status_register"]) {
      expect_list(registers, "status_register");
      for (const YAML::Node& r : registers) {
        expect_map(r, "status_register");
        if (!r["q"]) fail(r, "status register has no `q`");
        StatusRegister sr;
        sr.line = line_of(r);
        for (auto it = r.begin(); it != r.end(); ++it) {
          const std::string k = key(it->first);
          if (k == "q") sr.query = text(it->second);
          else sr.bits[k] = text(it->second);
        }
        e.registers.push_back(std::move(sr));
      }
    }
    if (YAML::Node queues = n["error_queue"]) {
      expect_list(queues, "error_queue");
      for (const YAML::Node& q : queues) {
        expect_map(q, "error_queue");
        if (!q["q"]) fail(q, "error queue has no `q`");
        if (!q["default"]) fail(q, "error queue has no `default` (the answer when it is empty)");
        ErrorQueue eq;
        eq.line = line_of(q);
        for (auto it = q.begin(); it != q.end(); ++it) {
          const std::string k = key(it->first);
          if (k == "q") eq.query = text(it->second);
          else if (k == "default") eq.default_answer = text(it->second);
          else if (k != "strict") eq.messages[k] = text(it->second);
        }
        e.queues.push_back(std::move(eq));
      }
    }
    return e;
  }

  Device device(const YAML::Node& n) {
    expect_map(n, "device");
    check_keys(n, {"eom", "error", "dialogues", "properties", "channels", "delimiter"},
               "in a device");
    Device d;
    if (YAML::Node eom = n["eom"]) {
      expect_map(eom, "eom");
      for (auto it = eom.begin(); it != eom.end(); ++it) {
        Exchange x = exchange(it->second, "eom", false);
        Terminations t;
        t.line = line_of(it->first);
        t.query = x.query;
        t.response = x.response.value_or(Located{"", t.line});
        d.eom[key(it->first)] = t;
      }
    }
    if (n["error"]) d.errors = errors(n["error"]);
    if (n["delimiter"]) d.delimiter = text(n["delimiter"]);
    component(n, d);
    if (YAML::Node channels = n["channels"]) {
      expect_map(channels, "channels");
      for (auto it = channels.begin(); it != channels.end(); ++it)
        d.channels.push_back(channel_group(it->first, it->second));
    }
    return d;
  }

  Resource resource(const YAML::Node& name, const YAML::Node& n) {
    Resource r;
    r.name = text(name);
    expect_map(n, "resource " + r.name.text);
    check_keys(n, {"device", "filename", "bundled", "channel_ids"}, "in a resource");
    if (!n["device"]) fail(name, "resource " + r.name.text + " names no `device`");
    r.device = text(n["device"]);
    if (n["filename"]) r.filename = text(n["filename"]);
    if (n["bundled"] && text(n["bundled"]).text != "false" && text(n["bundled"]).text != "False")
      r.bundled = text(n["bundled"]);
    if (YAML::Node ids = n["channel_ids"]) {
      expect_map(ids, "channel_ids");
      for (auto it = ids.begin(); it != ids.end(); ++it) {
        // A copy: the iterator hands out its node through a temporary.
        const YAML::Node given = it->second;
        expect_list(given, "channel_ids");
        auto& list = r.channel_ids[key(it->first)];
        for (const YAML::Node& id : given) list.push_back(text(id));
      }
    }
    return r;
  }
};

}  // namespace

Definition read_definition(const std::string& path, Diagnostics& diagnostics) {
  return Reader(path, diagnostics).read();
}

}  // namespace srplay::simdef
