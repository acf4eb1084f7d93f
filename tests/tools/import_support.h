#pragma once
// Imports definitions with srplay and plays the recordings through the real
// driver, collecting what each read answered.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "srplay_process.h"

namespace srplay_test {

struct ReadAnswer {
  int status = -1;
  std::string bytes;
};

inline std::string json_unescaped(const std::string& s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\' || i + 1 == s.size()) {
      out += s[i];
      continue;
    }
    const char c = s[++i];
    if (c == 'n') out += '\n';
    else if (c == 'r') out += '\r';
    else if (c == 't') out += '\t';
    else if (c == 'u') {
      out += static_cast<char>(std::stoi(s.substr(i + 1, 4), nullptr, 16));
      i += 4;
    } else out += c;
  }
  return out;
}

// Imports YAML text written to DIR/name.yaml into DIR/name.xml.
inline Output import_yaml(const ScratchDir& dir, const std::string& name, const std::string& yaml) {
  dir.write(name + ".yaml", yaml);
  return srplay("import " + dir.file(name + ".yaml") + " -o " + dir.file(name + ".xml"), dir);
}

// Plays commands (srplay run's, one a line) in one session opened with
// `open` (srplay run options) and gives the reads in order.
inline std::vector<ReadAnswer> play(const ScratchDir& dir, const std::string& recording,
                                    const std::string& open, const std::vector<std::string>& commands) {
  std::string text;
  for (const std::string& c : commands) text += c + "\n";
  const std::string input = dir.write("commands.txt", text);
  Output run = srplay("run " + recording + " " + open + " --json --show 100000 < " + input, dir);
  EXPECT_EQ(run.exit_code, 0) << run.err;
  static const std::regex read_line(
      R"re(\{"call":"read","status":(-?\d+)(?:,"count":\d+)?(?:,"stop_reason":-?\d+)?(?:,"bytes":"((?:[^"\\]|\\.)*)")?)re");
  std::vector<ReadAnswer> reads;
  for (std::sregex_iterator it(run.out.begin(), run.out.end(), read_line), end; it != end; ++it)
    reads.push_back({std::stoi((*it)[1]), json_unescaped((*it)[2])});
  return reads;
}

// The text of each answered read; "<status N>" for a read that failed.
inline std::vector<std::string> answers(const std::vector<ReadAnswer>& reads) {
  std::vector<std::string> out;
  for (const ReadAnswer& r : reads)
    out.push_back(r.status == 0 ? r.bytes : "<status " + std::to_string(r.status) + ">");
  return out;
}

}  // namespace srplay_test
