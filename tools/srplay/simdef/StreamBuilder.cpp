#include "simdef/StreamBuilder.h"

#include <algorithm>
#include <map>
#include <optional>

#include "simdef/PropertyModel.h"
#include "simdef/PythonFormat.h"
#include "simdef/ScriptPieces.h"
#include "simdef/SimText.h"
#include "simdef/VbsText.h"

namespace srplay::simdef {
namespace {

std::string upper(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

std::string replace_all(std::string text, const std::string& from, const std::string& to) {
  for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

// Beyond this a getter's script would spend its time padding.
constexpr int kLongestField = 1000;

// A channel group as this resource sees it.
struct Channels {
  const ChannelGroup& group;
  std::vector<Located> ids;
};

class Builder {
 public:
  Builder(const StreamSource& src, Diagnostics& d) : src_(src), dev_(src.device), diagnostics_(d) {}

  BuiltStream build() {
    const auto& a = src_.address;
    TextStream& s = out_.stream;
    s.line = src_.resource.name.line;
    s.intfaddr = tap::host::intfaddr_word(a);
    s.prim = static_cast<std::int32_t>(a.primary);
    s.sec = static_cast<std::int32_t>(a.secondary);
    s.devprot = static_cast<std::int32_t>(a.device_protocol);
    s.bracket = a.bracket;
    s.colon = a.colon;
    s.comments.push_back(src_.resource.name.text + ": device " + dev_.name);
    choose_terminations();
    plan_errors();

    dialogues(dev_.dialogues, "");
    for (const Property& p : dev_.properties) getter(p, key(p.name), "", nullptr);
    registers();
    queues();
    for (const Property& p : dev_.properties) setter(p, nullptr);
    for (const ChannelGroup& g : dev_.channels) channel_group(g);
    not_understood();
    return std::move(out_);
  }

 private:
  const StreamSource& src_;
  const Device& dev_;
  Diagnostics& diagnostics_;
  BuiltStream out_;
  std::string query_eom_ = "\n";
  std::string response_eom_ = "\n";
  CommandErrorPlan command_error_;

  void warn(int line, const std::string& message) { diagnostics_.warn(src_.file, line, message); }

  std::string key(const std::string& name) const { return src_.key_prefix + "/" + name; }

  void choose_terminations() {
    const std::string wanted = upper(src_.address.kind) + " " + upper(src_.address.resource_class);
    for (const auto& [type_class, t] : dev_.eom) {
      const auto space = type_class.find(' ');
      if (space != std::string::npos && upper(type_class.substr(0, space)) == wanted.substr(0, wanted.find(' ')) &&
          type_class.substr(space + 1) == wanted.substr(wanted.find(' ') + 1)) {
        query_eom_ = message_bytes(strip_spaces(t.query.text));
        response_eom_ = message_bytes(strip_spaces(t.response.text));
        return;
      }
    }
    diagnostics_.warn(src_.resource_file, src_.resource.name.line,
                      "device " + dev_.name + " gives no eom for " + wanted +
                          "; line feed ends queries and responses, as in the simulator");
  }

  std::optional<std::string> answer_bytes(const std::optional<Located>& r) const {
    if (!r) return std::nullopt;
    const std::string text = strip_spaces(r->text);
    if (is_null_response(text)) return std::nullopt;
    return message_bytes(text) + response_eom_;
  }

  void plan_errors() {
    const ErrorHandling& e = dev_.errors;
    command_error_.answer = answer_bytes(e.command_error);
    if (e.query_error && !e.single_answer)
      warn(e.query_error->line,
           "query_error (a read with nothing to read) is not produced: such a read gets the "
           "driver's default answer, status 15");
    for (std::size_t i = 0; i < e.queues.size(); ++i) {
      const auto m = e.queues[i].messages.find("command_error");
      if (m != e.queues[i].messages.end())
        command_error_.queue_messages.emplace_back(key("queue" + std::to_string(i)),
                                                   message_bytes(m->second.text));
    }
    // An error kind sets the bit of the last register that names it.
    std::optional<std::size_t> last;
    for (std::size_t i = 0; i < e.registers.size(); ++i) {
      for (const auto& [kind, bits] : e.registers[i].bits)
        if (kind != "command_error")
          warn(bits.line, "error kind " + kind + " is never raised here; left out");
      if (e.registers[i].bits.count("command_error")) last = i;
    }
    if (last) {
      const Located& bits = e.registers[*last].bits.at("command_error");
      try {
        command_error_.register_bits.emplace_back(key("register" + std::to_string(*last)),
                                                  std::stol(bits.text));
      } catch (const std::exception&) {
        throw import_error(src_.file, bits.line, "register bits \"" + bits.text + "\" are not a number");
      }
    }
  }

  void exact_pair(const std::string& name, int line, const std::string& query,
                  const std::optional<std::string>& answer) {
    TextPair p;
    p.line = line;
    p.name = name;
    p.write.line = line;
    p.write.bytes = query + query_eom_;
    if (answer) {
      TextResponse r;
      r.line = line;
      r.bytes = *answer;
      p.responses.push_back(r);
    }
    out_.stream.entries.emplace_back(std::move(p));
  }

  void scripted_pair(const std::string& name, int line, const std::string& pattern,
                     const std::string& script) {
    TextPair p;
    p.line = line;
    p.name = name;
    p.write.line = line;
    p.write.scripted = true;
    p.write.pattern = pattern;
    p.write.script = script;
    TextResponse r;
    r.line = line;
    r.scripted = true;
    r.script = answer_read_script();
    p.responses.push_back(r);
    out_.stream.entries.emplace_back(std::move(p));
  }

  std::string exact_pattern(const std::string& query) const {
    return "^" + regex_literal(query + query_eom_) + "$";
  }

  void check_delimiter(const Located& q) {
    const std::string& d = dev_.delimiter.text;
    if (!d.empty() && q.text.find(d) != std::string::npos)
      warn(q.line, "\"" + q.text + "\" holds the delimiter \"" + d +
                       "\": the simulator splits such a message and never answers it whole; the "
                       "recording answers it whole");
  }

  // Statements that leave the selected channel's id in `sel` and whether it
  // is one of the group's in `selok`.
  std::string selection_statements(const Channels& c) {
    std::string s = "sel = PlaybackEngine.GetValue(" + vbs_bytes(key("selected_channel")) +
                    ")\nselok = False\nIf VarType(sel) = 8 Then selok = (False";
    for (const Located& id : c.ids) s += " Or sel = " + vbs_bytes(id.text);
    return s + ")\n";
  }

  std::string unselected_statements() {
    return "If Not selok Then\n" + command_error_statements(command_error_) + "Exit Sub\nEnd If\n";
  }

  // `channel` is the id written into the queries, "" outside channel groups;
  // `selected` the group when the channel is chosen beforehand.
  void dialogues(const std::vector<Exchange>& list, const std::string& channel,
                 const Channels* selected = nullptr) {
    std::vector<std::pair<const Exchange*, std::string>> kept;  // the last answer per query wins
    std::map<std::string, std::size_t> index;
    for (const Exchange& x : list) {
      std::string q = strip_spaces(x.query.text);
      if (!channel.empty()) q = replace_all(q, "{ch_id}", channel);
      auto query = expand_bytes_directives(message_bytes(q));
      if (!query) {
        warn(x.query.line, "malformed BYTES() directive; dialogue left out");
        continue;
      }
      if (x.response && x.response->text.find("RANDOM(") != std::string::npos) {
        warn(x.response->line, "the RANDOM directive is not supported; dialogue left out");
        continue;
      }
      check_delimiter(x.query);
      auto [it, fresh] = index.emplace(*query, kept.size());
      if (fresh) kept.emplace_back(&x, *query);
      else kept[it->second].first = &x;
    }
    for (const auto& [x, query] : kept) {
      std::optional<std::string> answer;
      if (x->response) {
        const std::string text = strip_spaces(x->response->text);
        auto bytes = expand_bytes_directives(message_bytes(text));
        if (!bytes) warn(x->response->line, "malformed BYTES() directive; answered as written");
        if (!is_null_response(text)) answer = bytes.value_or(message_bytes(text)) + response_eom_;
      }
      const std::string name = "dialogue " + x->query.text + (channel.empty() ? "" : " of channel " + channel);
      if (!selected) {
        exact_pair(name, x->line, query, answer);
        continue;
      }
      scripted_pair(name, x->line, exact_pattern(query),
                    write_script_start() + selection_statements(*selected) + unselected_statements() +
                        answer_statement(answer));
    }
  }

  // The property's getter; `channel` as for dialogues, `selected` when the
  // value's key depends on the selected channel.
  void getter(const Property& p, const std::string& value_key, const std::string& channel,
              const Channels* selected) {
    if (!p.getter) return;
    const Exchange& g = *p.getter;
    if (!g.response) {
      warn(g.line, "getter of " + p.name + " has no `r`; left out");
      return;
    }
    const std::string r = strip_spaces(g.response->text);
    if (r.find("RANDOM(") != std::string::npos) {
      warn(g.response->line, "the RANDOM directive is not supported; getter of " + p.name + " left out");
      return;
    }
    FormatString format;
    try {
      format = parse_format_string(r);
    } catch (const format_error& e) {
      warn(g.response->line, "getter of " + p.name + ": " + e.what() + "; left out");
      return;
    }
    int automatic = 0;
    for (const FormatField& f : format.fields) {
      automatic += f.name.empty();
      if ((!f.name.empty() && f.name != "0") || automatic > 1) {
        warn(g.response->line, "getter of " + p.name + " formats fields other than its one value; left out");
        return;
      }
      if (f.spec.width > kLongestField || f.spec.precision > kLongestField) {
        warn(g.response->line, "getter of " + p.name + ": widths and precisions above " +
                                   std::to_string(kLongestField) + " are not supported; left out");
        return;
      }
      if (!f.conversion.empty())
        warn(g.response->line, "conversion !" + f.conversion + " is not supported; the value is formatted as is");
    }
    std::string q = strip_spaces(g.query.text);
    if (!channel.empty()) q = replace_all(q, "{ch_id}", channel);
    check_delimiter(g.query);
    const PropertyModel model = property_model(p, src_.file);
    std::string script = write_script_start();
    std::string value_key_expr = vbs_bytes(value_key);
    if (selected) {
      script += selection_statements(*selected) + unselected_statements();
      value_key_expr += " & \"@\" & sel";
    }
    script += "fv0 = PlaybackEngine.GetValue(" + value_key_expr + ")\n" +
              typed_value_statements("fv0", model.type) + format_statements(format, "fv0") +
              "PlaybackEngine.StoreValue " +
              vbs_bytes(kAnswerKey) + ", s & " + vbs_bytes(response_eom_) + "\n";
    scripted_pair("get " + p.name + (channel.empty() ? "" : " of channel " + channel), g.line,
                  exact_pattern(message_bytes(q)), script);
  }

  void registers() {
    const auto& regs = dev_.errors.registers;
    for (std::size_t i = 0; i < regs.size(); ++i) {
      const std::string k = vbs_bytes(key("register" + std::to_string(i)));
      const std::string q = message_bytes(strip_spaces(regs[i].query.text));
      scripted_pair("status register " + regs[i].query.text, regs[i].line, exact_pattern(q),
                    write_script_start() + "er = PlaybackEngine.GetValue(" + k +
                        ")\nIf IsNull(er) Then er = 0\nPlaybackEngine.StoreValue " + k +
                        ", 0\nPlaybackEngine.StoreValue " + vbs_bytes(kAnswerKey) +
                        ", CStr(CLng(er)) & " + vbs_bytes(response_eom_) + "\n");
    }
  }

  void queues() {
    const auto& qs = dev_.errors.queues;
    for (std::size_t i = 0; i < qs.size(); ++i) {
      for (const auto& [kind, message] : qs[i].messages)
        if (kind != "command_error")
          warn(message.line, "error kind " + kind + " is never raised here; left out");
      const std::string k = vbs_bytes(key("queue" + std::to_string(i)));
      const std::string q = message_bytes(strip_spaces(qs[i].query.text));
      scripted_pair("error queue " + qs[i].query.text, qs[i].line, exact_pattern(q),
                    write_script_start() + "eq = PlaybackEngine.GetValue(" + k +
                        ")\nIf IsNull(eq) Then eq = \"\"\nn = InStr(eq, Chr(1))\nIf n = 0 Then\n  a = " +
                        vbs_bytes(message_bytes(qs[i].default_answer.text)) +
                        "\nElse\n  a = Left(eq, n - 1)\n  PlaybackEngine.StoreValue " + k +
                        ", Mid(eq, n + 1)\nEnd If\nPlaybackEngine.StoreValue " + vbs_bytes(kAnswerKey) +
                        ", a & " + vbs_bytes(response_eom_) + "\n");
    }
  }

  // Setters of the device and of its channel groups; a group given when the
  // property belongs to one.
  void setter(const Property& p, const Channels* group) {
    if (!p.setter) return;
    const Exchange& x = *p.setter;
    FormatString format;
    try {
      format = parse_format_string(strip_spaces(x.query.text));
    } catch (const format_error& e) {
      warn(x.query.line, "setter of " + p.name + ": " + e.what() + "; left out");
      return;
    }
    const PropertyModel model = property_model(p, src_.file);
    const bool by_command = group && group->group.can_select;
    std::string pattern = "^";
    int groups = 0;
    int value_group = 0;
    int channel_group = 0;
    std::optional<ValueReader> reader;
    for (std::size_t i = 0; i < format.fields.size(); ++i) {
      const FormatField& f = format.fields[i];
      pattern += regex_literal(format.literals[i]);
      if (f.name == "_") {
        pattern += "(?:" + value_reader(f.spec).pattern + ")";
      } else if (f.name == "ch_id" && by_command) {
        std::string ids;
        for (const Located& id : group->ids) ids += (ids.empty() ? "" : "|") + regex_literal(id.text);
        pattern += "(" + ids + ")";
        channel_group = ++groups;
      } else if ((f.name.empty() || f.name == "0") && !reader) {
        try {
          reader = value_reader(f.spec);
        } catch (const format_error& e) {
          warn(x.query.line, "setter of " + p.name + ": " + e.what() + "; left out");
          return;
        }
        pattern += "(" + reader->pattern + ")";
        value_group = ++groups;
      } else {
        warn(x.query.line, "setter of " + p.name + " reads fields other than one value" +
                               (by_command ? " and {ch_id}" : "") + "; left out");
        return;
      }
    }
    if (!reader) {
      warn(x.query.line, "setter of " + p.name + " reads no value; left out");
      return;
    }
    pattern += regex_literal(format.literals.back()) + regex_literal(query_eom_) + "$";
    check_delimiter(x.query);

    ValueChecks checks = model.checks;
    if (!model.has_specs)
      checks.type = reader->kind == ValueReader::integer  ? ValueType::integer
                    : reader->kind == ValueReader::number ? ValueType::number
                                                          : ValueType::text;
    if (reader->kind == ValueReader::number && checks.type == ValueType::text)
      warn(x.query.line, "setter of " + p.name +
                             ": a float stored as str keeps the text written, not Python's str()");

    std::string script = write_script_start();
    std::string value_key = vbs_bytes(key(group ? group->group.name + "/" + p.name : p.name));
    if (group && !by_command) {
      script += selection_statements(*group) + unselected_statements();
      value_key += " & \"@\" & sel";
    } else if (channel_group) {
      value_key += " & \"@\" & PlaybackEngine.WriteRegExpMatches(" + std::to_string(channel_group) + ")";
    } else if (group) {
      // Without {ch_id} the simulator sets the channel it looked at last.
      value_key += " & \"@\" & " + vbs_bytes(group->ids.empty() ? "" : group->ids.back().text);
    }
    script += setter_value_statements(value_group, *reader, checks);
    script += "If ok Then\n" + store_value_statement(value_key, checks.type) +
              answer_statement(answer_bytes(x.response)) + "Else\n";
    if (x.error_response) script += answer_statement(answer_bytes(x.error_response));
    else script += command_error_statements(command_error_);
    script += "End If\n";
    scripted_pair("set " + p.name, x.line, pattern, script);

    const std::string init_key = key(group ? group->group.name + "/" + p.name : p.name);
    if (!group) out_.values.push_back({p.line, init_key, model.initial, false});
  }

  void channel_group(const ChannelGroup& g) {
    Channels c{g, g.ids};
    if (auto it = src_.resource.channel_ids.find(g.name); it != src_.resource.channel_ids.end())
      c.ids = it->second;
    for (const Property& p : g.properties) {
      const PropertyModel model = property_model(p, src_.file);
      for (const Located& id : c.ids)
        out_.values.push_back({p.line, key(g.name + "/" + p.name) + "@" + id.text, model.initial, false});
    }
    if (!g.can_select) {
      const bool has_selection = std::any_of(dev_.properties.begin(), dev_.properties.end(),
                                             [](const Property& p) { return p.name == "selected_channel"; });
      if (!has_selection) {
        warn(g.line, "channels " + g.name +
                         " are chosen beforehand but the device has no selected_channel property; left out");
        return;
      }
      dialogues(g.dialogues, "", &c);
      for (const Property& p : g.properties) getter(p, key(g.name + "/" + p.name), "", &c);
    } else {
      for (const Located& id : c.ids) {
        dialogues(g.dialogues, id.text);
        for (const Property& p : g.properties)
          getter(p, key(g.name + "/" + p.name) + "@" + id.text, id.text, nullptr);
      }
    }
    for (const Property& p : g.properties) setter(p, &c);
  }

  void not_understood() {
    scripted_pair("not understood", dev_.line, "^[\\s\\S]*" + regex_literal(query_eom_) + "$",
                  write_script_start() + command_error_statements(command_error_));
    // Properties without a setter still need their initial value for getters.
    for (const Property& p : dev_.properties)
      if (!p.setter) out_.values.push_back({p.line, key(p.name), property_model(p, src_.file).initial, false});
  }
};

}  // namespace

BuiltStream build_stream(const StreamSource& source, Diagnostics& diagnostics) {
  return Builder(source, diagnostics).build();
}

}  // namespace srplay::simdef
