#pragma once
// Recordings written for the benchmarks, and the host they are played
// through: the real driver, loaded by the host stand-in.
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "host/DriverHost.h"
#include "host/ProcessRegion.h"

namespace bench {

using tap::host::DriverHost;
using tap::host::OpenArgs;
using tap::host::ProcessRegion;

inline ProcessRegion& region() {
  static ProcessRegion r;
  return r;
}

inline const DriverHost& driver() {
  static DriverHost d(TAP_DRIVER_PATH);
  return d;
}

inline std::string hex(const std::string& bytes) {
  static constexpr char digits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (unsigned char c : bytes) {
    out.push_back(digits[c >> 4]);
    out.push_back(digits[c & 15]);
  }
  return out;
}

// A pair as compact as a recording can be written.
inline std::string pair_xml(const std::string& stimulus, const std::string& response, int write_wait) {
  return "<IOStimulusResponse version=\"1.5\"><Stimulus stimulusType=\"exactString\" "
         "returnValue=\"0\" readWriteFlags=\"0\" actualWritten=\"" +
         std::to_string(stimulus.size()) + "\" waitTime=\"" + std::to_string(write_wait) +
         "\"><ExactString>" + hex(stimulus) +
         "</ExactString></Stimulus><Response responseType=\"exactString\" returnValue=\"0\" "
         "stopReason=\"2\" waitTime=\"0\"><ExactString>" +
         hex(response) + "</ExactString></Response></IOStimulusResponse>\n";
}

// A pair as a recorder saves it: indented, named, every attribute written
// and each block typed where it stands.
inline std::string recorded_pair_xml(int i) {
  const std::string stimulus = ":MEAS" + std::to_string(i) + "?\n";
  const std::string response = "+1.23456789" + std::to_string(i % 10) + "E+00\n";
  return "  <IOStimulusResponse name=\"pair" + std::to_string(i) +
         "\" version=\"1.5\">\n"
         "   <Stimulus stimulusType=\"exactString\" waitTime=\"0\" returnValue=\"0\" readWriteFlags=\"0\" "
         "ignoreFlags=\"1\" actualWritten=\"" +
         std::to_string(stimulus.size()) +
         "\">\n"
         "    <ExactString dt:dt=\"bin.hex\">" +
         hex(stimulus) +
         "</ExactString>\n"
         "   </Stimulus>\n"
         "   <Response responseType=\"exactString\" waitTime=\"1\" returnValue=\"0\" stopReason=\"4\">\n"
         "    <ExactString dt:dt=\"bin.hex\">" +
         hex(response) +
         "</ExactString>\n"
         "   </Response>\n"
         "  </IOStimulusResponse>\n";
}

// A file that lives as long as this object.
struct RecordingFile {
  std::string path;
  ~RecordingFile() { std::remove(path.c_str()); }
};

// One stream at GPIB 22, the address OpenArgs opens.
inline std::unique_ptr<RecordingFile> write_recording(const std::string& name, const std::string& body) {
  auto f = std::make_unique<RecordingFile>();
  f->path = "/tmp/bench_" + std::to_string(getpid()) + "_" + name + ".xml";
  std::ofstream out(f->path, std::ios::binary);
  out << "<?xml version=\"1.0\"?>\n<IORecordStreamFile "
         "xmlns=\"urn:Tarvena/Lantorix/StimulusResponseFile/1.0\" "
         "xmlns:dt=\"urn:schemas-microsoft-com:datatypes\" version=\"1.0\">\n"
         " <IORecordStream returnValue=\"0\">\n  <InstrumentAddress intfaddr=\"gpib\" prim=\"22\" "
         "sec=\"-1\" devprot=\"0\" bracket=\"\" colon=\"\"/>\n"
      << body << " </IORecordStream>\n</IORecordStreamFile>\n";
  return f;
}

// Queries "Q<i>?\n" answered "+<i>.0E+00\n".
inline std::unique_ptr<RecordingFile> query_recording(int pairs) {
  std::string body;
  for (int i = 0; i < pairs; ++i)
    body += pair_xml("Q" + std::to_string(i) + "?\n", "+" + std::to_string(i) + ".0E+00\n", 0);
  return write_recording("q" + std::to_string(pairs), body);
}

// The 10,000-pair recording of the measurements: about 5 MB.
inline std::unique_ptr<RecordingFile> recorded_session(int pairs = 10000) {
  std::string body;
  for (int i = 0; i < pairs; ++i) body += recorded_pair_xml(i);
  return write_recording("recorded" + std::to_string(pairs), body);
}

inline VarnelSession open_session(const std::string& path) {
  region().set_playback_path(path);
  region().set_next_stream_index(0);
  VarnelSession s = nullptr;
  if (driver().open(OpenArgs{}, &s) != 0) return nullptr;
  return s;
}

}  // namespace bench
