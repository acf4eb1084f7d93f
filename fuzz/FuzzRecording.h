#pragma once
// A small playback file decoded from fuzz bytes: a stream or two with a few
// exact and scripted pairs, DoCommand entries and initial values. It keeps
// the stimuli and commands it wrote so that calls can hit them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzBytes.h"

namespace tap::fuzz {

// An address as the file names it and as the host passes it.
struct FuzzAddress {
  const char* intfaddr;     // in the file
  const char* region_kind;  // in the process region
  const char* resource;
  std::uint32_t primary;
  const char* bracket;
  const char* colon;
};

inline constexpr FuzzAddress kAddresses[] = {
    {"gpib", "gpib", "GPIB0::22::INSTR", 22, "", ""},
    {"tcpip", "tcpip", "TCPIP0::192.168.0.40::inst0::INSTR", 0, "192.168.0.40", "inst0"},
    {"com", "asrl", "ASRL1::INSTR", 1, "", ""},
    {"usb", "usb", "USB0::0x1F3A::0x7102::DAQ0071::INSTR", 0, "0x1F3A::0x7102::DAQ0071", ""},
};
inline constexpr unsigned kAddressCount = sizeof kAddresses / sizeof kAddresses[0];

class FuzzRecording {
 public:
  explicit FuzzRecording(FuzzBytes& in) {
    std::string body;
    const unsigned streams = 1 + in.below(2);
    for (unsigned s = 0; s < streams; ++s) body += stream(in);
    if (in.flag()) body += init_values(in);
    text_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<IORecordStreamFile xmlns=\"urn:Tarvena/Lantorix/StimulusResponseFile/1.0\" "
            "version=\"1.0\">\n" +
            body + "</IORecordStreamFile>\n";
  }

  const std::string& text() const { return text_; }
  const std::vector<std::string>& stimuli() const { return stimuli_; }
  struct Command {
    std::uint32_t code;
    std::string data;
  };
  const std::vector<Command>& commands() const { return commands_; }

 private:
  // Write scripts; the last takes its body from the input.
  static constexpr const char* kWriteScripts[] = {
      "",
      "PlaybackEngine.StoreValue \"k\", PlaybackEngine.WriteText",
      "PlaybackEngine.StoreValue PlaybackEngine.WriteRegExpMatches(1), Array(1, \"x\")",
      "PlaybackEngine.WriteReturnValue = 5\nPlaybackEngine.WriteActualWritten = 1",
      "Err.Raise 5",
      "PlaybackEngine.ResetValues True",
      "PlaybackEngine.ReadText = \"no\"",
      "Do\nLoop",
  };
  static constexpr const char* kReadScripts[] = {
      "",
      "PlaybackEngine.ReadText = \"OK\" & vbLf\nPlaybackEngine.ReadStopReason = 2\nPlaybackEngine.ReadReturnValue = 0",
      "PlaybackEngine.ReadText = String(300, \"x\")\nPlaybackEngine.ReadReturnValue = 0",
      "PlaybackEngine.ReadText = PlaybackEngine.GetValue(\"k\")\nPlaybackEngine.ReadReturnValue = 0",
      "PlaybackEngine.ReadText = PlaybackEngine.WriteText & Chr(0)\nPlaybackEngine.ReadReturnValue = 3",
      "PlaybackEngine.ReadReturnValue = 7\nErr.Raise 13",
      "PlaybackEngine.WriteReturnValue = 1",
      "Do\nLoop",
  };
  static constexpr unsigned kScriptCount = 8;

  static std::string hex(std::string_view bytes) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
      out.push_back(digits[c >> 4]);
      out.push_back(digits[c & 15]);
    }
    return out;
  }

  // Any bytes as attribute text of a well-formed UTF-8 file: characters
  // XML forbids become '.', bytes above 0x7F their Latin-1 character.
  static std::string attribute(std::string_view bytes) {
    std::string out;
    for (unsigned char c : bytes) {
      switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '"': out += "&quot;"; break;
        case '\n': out += "&#10;"; break;
        case '\r': out += "&#13;"; break;
        case '\t': out += "&#9;"; break;
        default:
          if (c < 0x20) {
            out.push_back('.');
          } else if (c < 0x80) {
            out.push_back(static_cast<char>(c));
          } else {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
          }
      }
    }
    return out;
  }

  static std::string num(long long v) { return "\"" + std::to_string(v) + "\""; }

  // Scripts that never end get a limit; a fuzzed body may loop too.
  std::string script(FuzzBytes& in, const char* const* table, std::string& timeout_attr) {
    const unsigned pick = in.below(kScriptCount + 1);
    std::string body = pick == kScriptCount ? in.text(48) : table[pick];
    const bool limited = pick >= kScriptCount - 1 || in.flag();
    timeout_attr = limited ? " scriptTimeout=" + num(1 + in.below(15)) : "";
    return body;
  }

  // Every read of the input is its own statement: the operands of a chain
  // of + are evaluated in an unspecified order, and a regression input
  // must decode the same way whichever compiler built the replay.
  std::string status(FuzzBytes& in) {
    const bool recorded_error = in.below(4) == 0;
    return num(recorded_error ? in.byte() : 0);
  }

  std::string response(FuzzBytes& in) {
    if (in.below(3) == 0) {
      std::string timeout;
      const std::string body = script(in, kReadScripts, timeout);
      return "<Response responseType=\"vbscript\" returnValue=\"0\" stopReason=\"0\"" + timeout +
             "><ExactString>" + hex(body) + "</ExactString></Response>\n";
    }
    const std::string bytes = in.text(24);
    const std::string rv = status(in);
    const std::string stop = num(in.below(4));
    const std::string wait = num(in.below(3));
    return "<Response responseType=\"exactString\" returnValue=" + rv + " stopReason=" + stop +
           " waitTime=" + wait + "><ExactString>" + hex(bytes) + "</ExactString></Response>\n";
  }

  std::string pair(FuzzBytes& in) {
    const unsigned kind = in.below(4);
    const std::string version = kind == 3 ? "1.6" : "1.5";
    std::string out = "<IOStimulusResponse version=\"" + version + "\">";
    const std::string rw_flags = num(in.below(4));
    const std::string flags = " readWriteFlags=" + rw_flags + " ignoreFlags=" + num(in.below(2));
    if (kind == 1) {
      std::string timeout;
      const std::string pattern = in.text(16);
      const std::string body = script(in, kWriteScripts, timeout);
      const std::string ignore_case = num(in.below(2));
      out += "<Stimulus stimulusType=\"vbscript\"" + flags + " ignoreCase=" + ignore_case + timeout +
             " patternString=\"" + attribute(pattern) + "\" scriptString=\"" + attribute(body) +
             "\"/>\n";
      stimuli_.push_back(pattern);
    } else {
      const std::string bytes = in.text(16);
      const std::string rv = status(in);
      const std::string actual = num(in.below(20));
      const std::string wait = num(in.below(3));
      out += "<Stimulus stimulusType=\"exactString\"" + flags + " returnValue=" + rv +
             " actualWritten=" + actual + " waitTime=" + wait + "><ExactString>" + hex(bytes) +
             "</ExactString></Stimulus>\n";
      stimuli_.push_back(bytes);
    }
    const unsigned responses = in.below(3);
    for (unsigned i = 0; i < responses; ++i) out += response(in);
    return out + "</IOStimulusResponse>\n";
  }

  std::string data_struct(FuzzBytes& in, std::string* data = nullptr) {
    const std::string bytes = in.text(8);
    if (data) *data = bytes;
    if (bytes.empty()) return "<DataStruct></DataStruct>";
    return "<DataStruct><DataParameter>" + hex(bytes) + "</DataParameter></DataStruct>";
  }

  std::string docommand(FuzzBytes& in) {
    Command command{8193u + in.below(4), {}};
    const char* type = in.below(8) ? "exactMatch" : "fuzzy";
    const std::string cmd_flags = num(in.below(4));
    const std::string ignore = num(in.below(2));
    std::string out = std::string("<DoCommand doCmdType=\"") + type + "\" version=\"1.5\" command=" +
                      num(command.code) + " doCmdFlags=" + cmd_flags + " ignoreFlags=" + ignore + ">";
    out += data_struct(in, &command.data);
    const unsigned responses = in.below(3);
    for (unsigned i = 0; i < responses; ++i) {
      const std::string rv = status(in);
      const std::string wait = num(in.below(3));
      out += "<DoCommandResponse returnValue=" + rv + " waitTime=" + wait + ">";
      out += data_struct(in) + "</DoCommandResponse>";
    }
    commands_.push_back(std::move(command));
    return out + "</DoCommand>\n";
  }

  std::string stream(FuzzBytes& in) {
    const FuzzAddress& a = kAddresses[in.below(kAddressCount)];
    const bool refuses = in.below(8) == 0;
    const std::string rv = num(refuses ? in.byte() : 0);
    std::string out = "<IORecordStream returnValue=" + rv + "><InstrumentAddress intfaddr=\"" +
                      a.intfaddr + "\" prim=" + num(a.primary) + " sec=\"-1\" devprot=\"0\" bracket=\"" +
                      a.bracket + "\" colon=\"" + a.colon + "\"/>\n";
    const unsigned pairs = in.below(4);
    for (unsigned i = 0; i < pairs; ++i) out += pair(in);
    const unsigned commands = in.below(3);
    for (unsigned i = 0; i < commands; ++i) out += docommand(in);
    return out + "</IORecordStream>\n";
  }

  std::string init_values(FuzzBytes& in) {
    std::string key = in.text(4);
    if (key.empty()) key = "k";
    const std::string text = in.text(8);
    const std::string bytes = in.text(4);
    return "<ArrayInitValues><ArrayPair arrayKey=\"" + attribute(key) + "\"><StringArrayValue>" +
           attribute(text) + "</StringArrayValue></ArrayPair><ArrayPair arrayKey=\"b\"><BinaryArrayValue>" +
           hex(bytes) + "</BinaryArrayValue></ArrayPair></ArrayInitValues>\n";
  }

  std::string text_;
  std::vector<std::string> stimuli_;
  std::vector<Command> commands_;
};

}  // namespace tap::fuzz
