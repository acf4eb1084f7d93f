#pragma once
// A simulated-instrument definition file (YAML, spec 1.0 or 1.1) as read:
// every text exactly as the file gives it (all scalars are text there), with
// the line each item came from so that whatever cannot be played back is
// reported where the user wrote it.
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace srplay::simdef {

struct Located {
  std::string text;
  int line = 0;
};

// A q/r (and, for setters, e) triple; absent members are nullopt.
struct Exchange {
  int line = 0;
  Located query;
  std::optional<Located> response;
  std::optional<Located> error_response;  // a setter's `e`
};

struct Specs {
  int line = 0;
  std::optional<Located> type;  // "int", "float", "str"
  std::optional<Located> min;
  std::optional<Located> max;
  std::vector<Located> valid;
};

struct Property {
  std::string name;
  int line = 0;
  Located default_value;  // "" when absent
  std::optional<Exchange> getter;
  std::optional<Exchange> setter;
  std::optional<Specs> specs;
};

// The members that devices and channel groups share.
struct Component {
  std::vector<Exchange> dialogues;
  std::vector<Property> properties;
};

struct ChannelGroup : Component {
  std::string name;
  int line = 0;
  std::vector<Located> ids;
  bool can_select = true;
};

struct ErrorQueue {
  int line = 0;
  Located query;
  Located default_answer;
  std::map<std::string, Located> messages;  // error kind -> message
};

struct StatusRegister {
  int line = 0;
  Located query;
  std::map<std::string, Located> bits;  // error kind -> value
};

struct ErrorHandling {
  int line = 0;
  bool single_answer = false;  // `error: TEXT`: one answer for every kind
  // What a command that is not understood, or a setter value out of its
  // specs, answers; nullopt: nothing.
  std::optional<Located> command_error;
  std::optional<Located> query_error;
  std::vector<ErrorQueue> queues;
  std::vector<StatusRegister> registers;
};

struct Terminations {
  int line = 0;
  Located query;
  Located response;
};

struct Device : Component {
  std::string name;
  int line = 0;
  std::map<std::string, Terminations> eom;  // "GPIB INSTR" -> terminations
  ErrorHandling errors;
  std::vector<ChannelGroup> channels;
  Located delimiter{";", 0};
};

struct Resource {
  Located name;
  Located device;
  std::optional<Located> filename;  // the device comes from another file
  std::optional<Located> bundled;   // ... one of the simulator's own
  std::map<std::string, std::vector<Located>> channel_ids;  // per channel group
};

struct Definition {
  std::string path;
  Located spec;
  std::map<std::string, Device> devices;
  std::vector<Resource> resources;  // in file order
};

}  // namespace srplay::simdef
