#pragma once
// Builds playback files as text for tests, and writes them to temporary
// files that are removed again.
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace tap::recording {

inline std::string hex(std::string_view bytes) {
  static constexpr char digits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (unsigned char c : bytes) {
    out.push_back(digits[c >> 4]);
    out.push_back(digits[c & 15]);
  }
  return out;
}

inline std::string file(const std::string& body) {
  return "<?xml version=\"1.0\"?>\n"
         "<IORecordStreamFile xmlns=\"urn:Tarvena/Lantorix/StimulusResponseFile/1.0\" "
         "version=\"1.0\">\n" +
         body + "</IORecordStreamFile>\n";
}

inline std::string address(const std::string& intf, const std::string& prim,
                           const std::string& sec = "-1", const std::string& devprot = "0",
                           const std::string& bracket = "", const std::string& colon = "") {
  return "<InstrumentAddress intfaddr=\"" + intf + "\" prim=\"" + prim + "\" sec=\"" + sec +
         "\" devprot=\"" + devprot + "\" bracket=\"" + bracket + "\" colon=\"" + colon + "\"/>\n";
}

inline std::string stream(const std::string& address_xml, const std::string& body,
                          const std::string& return_value = "0") {
  return "<IORecordStream returnValue=\"" + return_value + "\">" + address_xml + body +
         "</IORecordStream>\n";
}

inline std::string response(std::string_view bytes, int wait = 0, int stop = 2, int rv = 0) {
  return "<Response responseType=\"exactString\" returnValue=\"" + std::to_string(rv) +
         "\" stopReason=\"" + std::to_string(stop) + "\" waitTime=\"" + std::to_string(wait) +
         "\"><ExactString>" + hex(bytes) + "</ExactString></Response>\n";
}

// An exact-string pair; `stimulus_attrs` replaces the default attributes
// after stimulusType (returnValue, actualWritten, readWriteFlags, waitTime).
inline std::string pair(std::string_view stimulus, const std::vector<std::string>& responses,
                        int wait = 0, const std::string& version = "1.5",
                        const std::string& stimulus_attrs = "") {
  std::string attrs = stimulus_attrs.empty()
                          ? "returnValue=\"0\" actualWritten=\"" +
                                std::to_string(stimulus.size()) +
                                "\" readWriteFlags=\"0\" waitTime=\"" + std::to_string(wait) + "\""
                          : stimulus_attrs;
  std::string out = "<IOStimulusResponse version=\"" + version +
                    "\"><Stimulus stimulusType=\"exactString\" " + attrs + "><ExactString>" +
                    hex(stimulus) + "</ExactString></Stimulus>\n";
  for (const std::string& r : responses) out += r;
  return out + "</IOStimulusResponse>\n";
}

inline std::string docommand(const std::string& command, std::string_view data,
                             const std::vector<std::string>& responses,
                             const std::string& extra_attrs = "",
                             const std::string& version = "1.5",
                             const std::string& type = "exactMatch") {
  std::string out = "<DoCommand doCmdType=\"" + type + "\" version=\"" + version +
                    "\" command=\"" + command + "\" doCmdFlags=\"0\" " + extra_attrs +
                    "><DataStruct>";
  if (!data.empty()) out += "<DataParameter>" + hex(data) + "</DataParameter>";
  out += "</DataStruct>";
  for (const std::string& r : responses) out += r;
  return out + "</DoCommand>\n";
}

inline std::string docommand_response(std::string_view data, int wait = 0, int rv = 0,
                                      bool with_wait = true) {
  std::string out = "<DoCommandResponse returnValue=\"" + std::to_string(rv) + "\"";
  if (with_wait) out += " waitTime=\"" + std::to_string(wait) + "\"";
  out += ">";
  if (!data.empty())
    out += "<DataStruct><DataParameter>" + hex(data) + "</DataParameter></DataStruct>";
  return out + "</DoCommandResponse>\n";
}

// Text for a double-quoted attribute. Line feeds and tabs are written as
// character references, which attribute normalisation leaves alone, so a
// script body keeps its lines.
inline std::string attribute_text(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\n': out += "&#10;"; break;
      case '\r': out += "&#13;"; break;
      case '\t': out += "&#9;"; break;
      default: out.push_back(c);
    }
  }
  return out;
}

// A "vbscript" response: the body of ExecuteRead, bin.hex encoded.
// `extra_attrs` adds attributes such as scriptTimeout.
inline std::string script_response(std::string_view body, const std::string& extra_attrs = "") {
  return "<Response responseType=\"vbscript\" returnValue=\"0\" stopReason=\"0\" " +
         extra_attrs + "><ExactString>" + hex(body) + "</ExactString></Response>\n";
}

// A pair whose "vbscript" stimulus matches `pattern` and runs `script` as
// the body of ExecuteWrite. `extra_attrs` adds stimulus attributes
// (ignoreCase, ignoreFlags, scriptTimeout); readWriteFlags is 0 unless
// given there.
inline std::string script_pair(std::string_view pattern, std::string_view script,
                               const std::vector<std::string>& responses = {},
                               const std::string& extra_attrs = "") {
  std::string attrs = extra_attrs;
  if (attrs.find("readWriteFlags=") == std::string::npos) attrs += " readWriteFlags=\"0\"";
  std::string out = "<IOStimulusResponse version=\"1.5\"><Stimulus stimulusType=\"vbscript\" " +
                    attrs + " patternString=\"" + attribute_text(pattern) + "\" scriptString=\"" +
                    attribute_text(script) + "\"/>\n";
  for (const std::string& r : responses) out += r;
  return out + "</IOStimulusResponse>\n";
}

// Initial values of the value store; `pairs` from string_value and
// binary_value.
inline std::string init_values(const std::vector<std::string>& pairs) {
  std::string out = "<ArrayInitValues>";
  for (const std::string& p : pairs) out += p;
  return out + "</ArrayInitValues>\n";
}

// `text` goes into the file as it stands (UTF-8, escaped for XML).
inline std::string string_value(const std::string& key, std::string_view text) {
  return "<ArrayPair arrayKey=\"" + attribute_text(key) + "\"><StringArrayValue>" +
         attribute_text(text) + "</StringArrayValue></ArrayPair>";
}

inline std::string binary_value(const std::string& key, std::string_view bytes) {
  return "<ArrayPair arrayKey=\"" + attribute_text(key) + "\"><BinaryArrayValue>" + hex(bytes) +
         "</BinaryArrayValue></ArrayPair>";
}

// A file that lives as long as this object.
class TempFile {
 public:
  explicit TempFile(std::string_view content) {
    static std::atomic<int> counter{0};
    path_ = "/tmp/taplayback_test_" + std::to_string(getpid()) + "_" +
            std::to_string(counter++) + ".xml";
    std::ofstream(path_, std::ios::binary).write(content.data(),
                                                 static_cast<std::streamsize>(content.size()));
  }
  ~TempFile() { std::remove(path_.c_str()); }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace tap::recording
