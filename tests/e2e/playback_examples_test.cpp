// The recordings in examples/ play back as their descriptions say; what
// playback_srplay_test already asks of them through srplay is not repeated.
#include <cstring>
#include <fstream>

#include "e2e/playback_fixture.h"

namespace tap::e2e {
namespace {

std::string example(const char* name) { return std::string(TAP_SOURCE_DIR) + "/examples/" + name; }

// The write and query lines of a conversation file, their escapes \n, \r,
// \t and backslash undone; comments and other commands are left out.
std::vector<std::pair<std::string, std::string>> conversation(const char* name) {
  std::vector<std::pair<std::string, std::string>> lines;
  std::ifstream in(example(name));
  for (std::string line; std::getline(in, line);) {
    std::size_t space = line.find(' ');
    std::string verb = line.substr(0, space);
    if (verb != "write" && verb != "query") continue;
    std::string text;
    for (std::size_t i = space + 1; i < line.size(); ++i) {
      if (line[i] != '\\' || i + 1 == line.size()) {
        text += line[i];
        continue;
      }
      char c = line[++i];
      text += c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c;
    }
    lines.emplace_back(verb, text);
  }
  return lines;
}

TEST_F(PlaybackTest, BenchMultimeterAnswersItsSession) {
  region().set_playback_path(example("bench-multimeter.xml"));
  ASSERT_EQ(open(gpib(22)), 0);
  EXPECT_EQ(write("CONF:VOLT:DC 10,0.0001\n").status, 0);
  EXPECT_EQ(query("READ?\n"), "+4.98731200E+00\n");
  EXPECT_EQ(query("READ?\n"), "+4.98729800E+00\n");
  // The data dump arrives in 16-byte pieces, each but the last with stop reason 1.
  ASSERT_EQ(write("FETC?\n").status, 0);
  std::string dump;
  int pieces = 0;
  for (Result r = read(16, 0);; r = read(16, 0)) {
    ASSERT_EQ(r.status, 0);
    dump += r.bytes;
    ++pieces;
    if (r.stop != 1) {
      EXPECT_EQ(r.stop, 2);
      break;
    }
    EXPECT_EQ(r.actual, 16u);
  }
  EXPECT_EQ(pieces, static_cast<int>((dump.size() + 15) / 16));
  EXPECT_EQ(dump.substr(0, 16), "+4.98731200E+00,");
  EXPECT_EQ(dump.back(), '\n');
}

// The demo conversation: settings read back, measurements following the
// output, the load and the current limit, the error queue, *RST.
TEST_F(PlaybackTest, BenchPowerSupplyConversationGetsItsAnswers) {
  region().set_playback_path(example("bench-power-supply.xml"));
  ASSERT_EQ(open(gpib(5)), 0);
  std::vector<std::string> answers;
  for (const auto& [verb, text] : conversation("bench-power-supply.conv")) {
    if (verb == "query") {
      answers.push_back(query(text));
    } else {
      Result w = write(text);
      EXPECT_EQ(w.status, 0) << text;
      EXPECT_EQ(w.actual, text.size()) << text;
    }
  }
  EXPECT_EQ(answers, (std::vector<std::string>{
                         "TARVENA,TPS-3303,SN20117,2.04\n",
                         "0.000\n", "1.0000\n",                         // after *RST
                         "12.000\n", "0.000\n",                         // VOLT 12, output off
                         "1\n", "12.000\n", "0.5000\n",                 // on: 12 V / 24 ohms
                         "0.2500\n", "6.000\n",                         // CURR 0.25: limited
                         "12.000\n", "-222,\"Data out of range\"\n",  // VOLT 45 refused
                         "0,\"No error\"\n",
                         "0.0000\n",                                    // output off
                         "0.000\n", "1.0000\n", "0\n"}));               // *RST
}

TEST_F(PlaybackTest, BenchPowerSupplyTakesLongFormsAnyCaseAndQueuesEachError) {
  region().set_playback_path(example("bench-power-supply.xml"));
  ASSERT_EQ(open(gpib(5)), 0);
  EXPECT_EQ(write("voltage 2.5\n").status, 0);
  EXPECT_EQ(query("Volt?\n"), "2.500\n");
  EXPECT_EQ(write("CURR 3.5\n").status, 0);
  EXPECT_EQ(write("VOLT -1\n").status, 0);
  EXPECT_EQ(write("CURRENT .75\n").status, 0);
  EXPECT_EQ(query("CURR?\n"), "0.7500\n");
  EXPECT_EQ(query("VOLT?\n"), "2.500\n");
  const std::string out_of_range = "-222,\"Data out of range\"\n";
  EXPECT_EQ(query("SYSTEM:ERROR?\n"), out_of_range);
  EXPECT_EQ(query("syst:err?\n"), out_of_range);
  EXPECT_EQ(query("SYST:ERR?\n"), "0,\"No error\"\n");
  EXPECT_EQ(write("OUTP MAYBE\n").status, 15);
}

TEST_F(PlaybackTest, OscilloscopeDeliversItsMegabyteBlock) {
  region().set_interface("tcpip", "instr");
  region().set_playback_path(example("lan-oscilloscope.xml"));
  host::OpenArgs args;
  args.address = "TCPIP0::192.168.0.40::inst0::INSTR";
  args.primary = 0;
  args.bracket = "192.168.0.40";
  args.colon = "inst0";
  ASSERT_EQ(open(args), 0);
  ASSERT_EQ(write("CURV?\n").status, 0);
  std::string block;
  Result r;
  do {
    r = read(65536, 0);
    ASSERT_EQ(r.status, 0);
    block += r.bytes;
  } while (r.stop == 1);
  ASSERT_EQ(block.size(), 2u + 7u + 1000000u + 1u);
  EXPECT_EQ(block.substr(0, 9), "#71000000");
  EXPECT_EQ(block.back(), '\n');
}

TEST_F(PlaybackTest, DataAcquisitionModuleAnswersItsDoCommands) {
  region().set_interface("usb", "instr");
  region().set_playback_path(example("usb-daq-docommand.xml"));
  host::OpenArgs args;
  args.address = "USB0::0x1F3A::0x7102::DAQ0071::INSTR";
  args.primary = 0;
  args.bracket = "0x1F3A::0x7102::DAQ0071";
  ASSERT_EQ(open(args), 0);
  std::string config("\x01\x00\x10\x00", 4);
  EXPECT_EQ(docommand(0x2001, config, 4), 0);
  std::string status(4, '\0');
  std::vector<int> polls;
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(docommand(0x2003, status, 4), 0);
    polls.push_back(static_cast<unsigned char>(status[0]));
  }
  EXPECT_EQ(polls, (std::vector<int>{1, 1, 3}));
  std::string samples("\x04\x00", 2);
  samples.resize(10, '\0');
  ASSERT_EQ(docommand(0x2004, samples, 10), 0);
  std::int16_t first = 0;
  std::memcpy(&first, samples.data() + 2, 2);
  EXPECT_EQ(first, 1021);
}

// Written from the user's guide alone: a serial instrument, recorded
// readings that step per query, a set point kept in the value store with a
// range check, an initial value given as bytes, and a log read in pieces.
TEST_F(PlaybackTest, TemperatureControllerOnASerialPortFollowsItsSetPoint) {
  region().set_interface("asrl", "instr");
  region().set_playback_path(example("temperature-controller.xml"));
  host::OpenArgs args;
  args.address = "ASRL3::INSTR";
  args.primary = 3;
  ASSERT_EQ(open(args), 0);
  EXPECT_EQ(query("*IDN?\r\n"), "TARVENA,TTC-210,SN31007,1.12\r\n");
  EXPECT_EQ(query("UNIT?\r\n"), "C\r\n");
  EXPECT_EQ(query("SP?\r\n"), "25.0\r\n");
  EXPECT_EQ(write("SP 45\r\n").status, 0);
  EXPECT_EQ(query("SP?\r\n"), "45.0\r\n");
  std::vector<std::string> readings;
  for (int i = 0; i < 4; ++i) readings.push_back(query("PV?\r\n"));
  EXPECT_EQ(readings, (std::vector<std::string>{"23.4\r\n", "31.9\r\n", "44.7\r\n", "23.4\r\n"}));
  EXPECT_EQ(write("sp 200\r\n").status, 0);
  EXPECT_EQ(query("SP?\r\n"), "45.0\r\n");
  EXPECT_EQ(query("ERR?\r\n"), "3\r\n");
  EXPECT_EQ(query("ERR?\r\n"), "0\r\n");

  ASSERT_EQ(write("LOG?\r\n").status, 0);
  std::vector<std::int32_t> stops;
  std::string log;
  for (Result r = read(8);; r = read(8)) {
    ASSERT_EQ(r.status, 0);
    log += r.bytes;
    stops.push_back(r.stop);
    if (r.stop != 1) break;
  }
  EXPECT_EQ(log, "t=0 23.4;t=60 31.9;t=120 44.7;t=180 45.0\r\n");
  EXPECT_EQ(stops, (std::vector<std::int32_t>{1, 1, 1, 1, 1, 4}));
  EXPECT_EQ(read(8).status, 15);
}

}  // namespace
}  // namespace tap::e2e
