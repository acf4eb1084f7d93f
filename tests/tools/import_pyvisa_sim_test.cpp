// srplay import: simulated-instrument definitions turned into recordings
// and played through the real driver. A round trip through PyVISA itself
// belongs with the pyvisa_tap backend, once it is here.
#include <gtest/gtest.h>

#include "import_support.h"

namespace srplay_test {
namespace {

using Answers = std::vector<std::string>;

std::string example(const std::string& name) { return std::string(TAP_SOURCE_DIR) + "/examples/" + name; }

const char* kSupplyGpib = "--address gpib,5";
const char* kSupplyLan = "--address tcpip,0,-1,0,192.168.1.50,inst0";
const char* kDmmUsb = "--address usb,0,-1,0,0x1F3A::0x6500::SN71003";

class ImportExample : public testing::Test {
 protected:
  void SetUp() override {
    Output o = srplay("import " + example("bench-supply-and-dmm.yaml") + " -o " + recording(), dir_);
    ASSERT_EQ(o.exit_code, 0) << o.err;
    ASSERT_EQ(o.err, "");
  }
  std::string recording() const { return dir_.file("example.xml"); }
  Answers ask(const char* open, const std::vector<std::string>& commands) {
    return answers(play(dir_, recording(), open, commands));
  }
  ScratchDir dir_;
};

TEST_F(ImportExample, MatchesTheCommittedRecording) {
  EXPECT_EQ(read_file(recording()), read_file(example("bench-supply-and-dmm.xml")));
}

TEST_F(ImportExample, EachResourceOpensItsDevice) {
  EXPECT_EQ(ask(kSupplyGpib, {"query *IDN?\\n"}), Answers{"TARVENA,DPS-2030,SN40512,1.07\n"});
  EXPECT_EQ(ask(kSupplyLan, {"query *IDN?\\n"}), Answers{"TARVENA,DPS-2030,SN40512,1.07\n"});
  EXPECT_EQ(ask(kDmmUsb, {"query *IDN?\\n", "query READ?\\n"}),
            (Answers{"TARVENA,DMM-6500,SN71003,2.3\n", "+1.23456789E+00\n"}));
}

TEST_F(ImportExample, DialogueWithoutAnswerLeavesNothingToRead) {
  EXPECT_EQ(ask(kSupplyGpib, {"query *CLS\\n", "query *OPC?\\n"}), (Answers{"<status 15>", "1\n"}));
}

TEST_F(ImportExample, SettersKeepValuesPerChannelAndGettersFormatThem) {
  EXPECT_EQ(ask(kSupplyGpib, {"query SOUR1:VOLT?\\n", "query SOUR1:VOLT 12.5\\n", "query SOUR1:VOLT?\\n",
                              "query SOUR2:VOLT?\\n", "query SOUR2:CURR 0.25\\n", "query SOUR2:CURR?\\n",
                              "query SOUR1:CURR?\\n", "query OUTP 1\\n", "query OUTP?\\n",
                              "query TRAC SER\\n", "query TRAC?\\n", "query VOLT:SLEW?\\n"}),
            (Answers{"0.000\n", "<status 15>", "12.500\n", "0.000\n", "<status 15>", "+0.2500\n", "+1.0000\n",
                     "<status 15>", "1\n", "<status 15>", "SER\n", "1.000000e+03\n"}));
}

TEST_F(ImportExample, SessionsKeepTheirOwnValues) {
  EXPECT_EQ(ask(kSupplyGpib, {"write SOUR1:VOLT 7\\n", "query SOUR1:VOLT?\\n"}), Answers{"7.000\n"});
  EXPECT_EQ(ask(kSupplyLan, {"query SOUR1:VOLT?\\n"}), Answers{"0.000\n"});
}

TEST_F(ImportExample, RefusedSettingsAnswerTheErrorAndQueueIt) {
  EXPECT_EQ(ask(kSupplyGpib,
                {"query SOUR1:VOLT 45\\n", "query SOUR1:VOLT?\\n", "query OUTP 2\\n", "query TRAC XYZ\\n",
                 "query SYST:ERR?\\n", "query SYST:ERR?\\n", "query SYST:ERR?\\n", "query SYST:ERR?\\n",
                 "query *ESR?\\n", "query *ESR?\\n"}),
            (Answers{"ERROR\n", "0.000\n", "ERROR\n", "ERROR\n", "-100,\"Command error\"\n",
                     "-100,\"Command error\"\n", "-100,\"Command error\"\n", "+0,\"No error\"\n", "32\n", "0\n"}));
}

TEST_F(ImportExample, SetterWithItsOwnErrorAnswerQueuesNothing) {
  EXPECT_EQ(ask(kSupplyGpib, {"query VOLT:SLEW 0.01\\n", "query VOLT:SLEW?\\n", "query VOLT:SLEW 25.5\\n",
                              "query VOLT:SLEW?\\n", "query SYST:ERR?\\n"}),
            (Answers{"SLEW ERROR\n", "1.000000e+03\n", "<status 15>", "2.550000e+01\n", "+0,\"No error\"\n"}));
}

TEST_F(ImportExample, UnknownCommandsAreCommandErrors) {
  EXPECT_EQ(ask(kSupplyGpib, {"query FOO?\\n", "query *idn?\\n", "query SYST:ERR?\\n"}),
            (Answers{"ERROR\n", "ERROR\n", "-100,\"Command error\"\n"}));
  // A plain `error:` text answers both refusals; an int field does not take 2.5.
  EXPECT_EQ(ask(kDmmUsb, {"query SAMP:COUN 2.5\\n", "query SAMP:COUN 0\\n", "query SAMP:COUN 20\\n",
                          "query SAMP:COUN?\\n", "query VOLT:RANG 5\\n", "query VOLT:RANG 100\\n",
                          "query VOLT:RANG?\\n"}),
            (Answers{"-113,Undefined header\n", "-113,Undefined header\n", "<status 15>", "20\n",
                     "-113,Undefined header\n", "<status 15>", "+1.00000000E+02\n"}));
}

// Channels chosen beforehand by the device's selected_channel property.
TEST(Import, ChannelsSelectedBeforehandActOnTheSelection) {
  ScratchDir dir;
  Output o = import_yaml(dir, "sel", R"(spec: "1.1"
devices:
  d:
    eom:
      ASRL INSTR:
        q: "\r\n"
        r: "\n"
    error: ERROR
    properties:
      selected_channel:
        default: 1
        getter:
          q: 'I?'
          r: '{}'
        setter:
          q: 'I {}'
    channels:
      ch:
        ids: [1, 2]
        can_select: False
        properties:
          frequency:
            default: 1.0
            getter:
              q: 'F?'
              r: '{:.3f}'
            setter:
              q: 'F {:.3f}'
            specs:
              type: float
              min: 1.0
              max: 10.0
resources:
  ASRL4::INSTR:
    device: d
)");
  ASSERT_EQ(o.exit_code, 0) << o.err;
  EXPECT_EQ(answers(play(dir, dir.file("sel.xml"), "--address com,4",
                         {"write F 2.5\\r\\n", "query F?\\r\\n", "write I 2\\r\\n", "query F?\\r\\n",
                          "write F 4\\r\\n", "write I 1\\r\\n", "query F?\\r\\n", "write I 2\\r\\n",
                          "query F?\\r\\n", "write I 3\\r\\n", "query F?\\r\\n", "query F 2\\r\\n", "query F?\\n"})),
            (Answers{"2.500\n", "1.000\n", "2.500\n", "4.000\n", "ERROR\n", "ERROR\n", "<status 15>"}));
}

// Dialogue texts as the simulator reads them: spaces cut from both ends,
// \n written as two characters, BYTES() directives, the later of two
// answers to one query, null_response; without an eom for the resource's
// type, line feeds (with a warning).
TEST(Import, DialoguesAreReadAsTheSimulatorReadsThem) {
  ScratchDir dir;
  Output o = import_yaml(dir, "texts", R"(spec: "1.1"
devices:
  d:
    error: ERROR
    dialogues:
      - q: " *IDN? "
        r: ' A\nB '
      - q: "BIN?"
        r: "xBYTES(00 ff 41)y"
      - q: "TWICE?"
        r: "first"
      - q: "TWICE?"
        r: "second"
      - q: "QUIET"
        r: null_response
resources:
  GPIB::2::INSTR:
    device: d
)");
  ASSERT_EQ(o.exit_code, 0) << o.err;
  EXPECT_NE(o.err.find(dir.file("texts.yaml") + ":17: warning: device d gives no eom for GPIB INSTR"),
            std::string::npos)
      << o.err;
  EXPECT_EQ(answers(play(dir, dir.file("texts.xml"), "--address gpib,2",
                         {"query *IDN?\\n", "query BIN?\\n", "query TWICE?\\n", "query QUIET\\n", "query *IDN? \\n"})),
            (Answers{"A\nB\n", std::string("x\0\xff" "Ay\n", 6), "second\n", "<status 15>", "ERROR\n"}));
}

// A resource's channel_ids replace the group's ids for that resource only.
TEST(Import, ChannelIdsOfAResourceReplaceTheGroups) {
  ScratchDir dir;
  Output o = import_yaml(dir, "ids", R"(spec: "1.1"
devices:
  d:
    eom:
      GPIB INSTR:
        q: "\n"
        r: "\n"
    error: ERROR
    channels:
      out:
        ids: [1, 2]
        properties:
          level:
            default: 5
            getter:
              q: "L{ch_id}?"
              r: "{:d}"
            setter:
              q: "L{ch_id} {:d}"
            specs:
              type: int
resources:
  GPIB::2::INSTR:
    device: d
  GPIB::3::INSTR:
    device: d
    channel_ids:
      out: [3]
)");
  ASSERT_EQ(o.exit_code, 0) << o.err;
  const std::vector<std::string> commands = {"query L1?\\n", "write L2 7\\n", "query L2?\\n", "write L3 9\\n",
                                             "query L3?\\n"};
  EXPECT_EQ(answers(play(dir, dir.file("ids.xml"), "--address gpib,2", commands)),
            (Answers{"5\n", "7\n", "ERROR\n"}));
  EXPECT_EQ(answers(play(dir, dir.file("ids.xml"), "--address gpib,3", commands)),
            (Answers{"ERROR\n", "ERROR\n", "9\n"}));
}

struct Reported {
  const char* yaml_line;  // the line of the construct
  int line;
  const char* words;      // part of the message
};

// Constructs a recording cannot express are reported at their lines; the
// recording is still written.
TEST(Import, UnsupportedConstructsAreReportedWithTheirLines) {
  ScratchDir dir;
  Output o = import_yaml(dir, "partly", R"(spec: "1.1"
devices:
  d:
    eom:
      GPIB INSTR:
        q: "\n"
        r: "\n"
    error:
      response:
        command_error: ERR
        query_error: QERR
    dialogues:
      - q: "*IDN?"
        r: "X,Y,Z,1"
      - q: "MEAS?"
        r: "{RANDOM(0, 1, 1):.3f}"
      - q: "A;B"
        r: "AB"
    properties:
      two:
        default: 1
        getter:
          q: "TWO?"
          r: "{0} {1}"
    connections:
      power:
        q: "READ1"
  unused:
    dialogues:
      - q: "X"
resources:
  GPIB0::9::INSTR:
    device: d
  GPIB0::9::INSTR::EXTRA:
    device: d
  GPIB0::10::INSTR:
    device: missing
  ASRL3::INSTR:
    device: device 1
    filename: default.yaml
    bundled: true
)");
  ASSERT_EQ(o.exit_code, 0) << o.err;
  const std::string file = dir.file("partly.yaml");
  for (const Reported& r : {Reported{"query_error", 11, "query_error"}, Reported{"RANDOM", 16, "RANDOM"},
                            Reported{"A;B", 17, "delimiter"}, Reported{"{0} {1}", 24, "other than its one value"},
                            Reported{"connections", 25, "not supported"}, Reported{"unused", 28, "bound to no resource"},
                            Reported{"::EXTRA", 34, "cannot be opened by name"},
                            Reported{"missing", 37, "no device missing"},
                            Reported{"bundled", 41, "bundled with the simulator"}}) {
    const std::string at = file + ":" + std::to_string(r.line) + ": warning: ";
    const auto found = o.err.find(at);
    EXPECT_NE(found, std::string::npos) << r.yaml_line << " not reported at line " << r.line << ":\n" << o.err;
    if (found != std::string::npos) {
      EXPECT_NE(o.err.substr(found, o.err.find('\n', found) - found).find(r.words), std::string::npos) << o.err;
    }
  }
  EXPECT_EQ(answers(play(dir, dir.file("partly.xml"), "--address gpib,9", {"query *IDN?\\n", "query MEAS?\\n"})),
            (Answers{"X,Y,Z,1\n", "ERR\n"}));
}

struct Refused {
  const char* name;
  const char* yaml;
  int line;
  const char* words;
};

// Definitions the simulator itself would refuse, or that leave nothing to
// write, stop the import with the line at fault and write nothing.
TEST(Import, DefinitionsThatCannotBeWrittenAreRefused) {
  const Refused cases[] = {
      {"version", "spec: \"2.0\"\ndevices: {}\n", 1, "not supported"},
      {"no spec", "devices: {}\nresources: {}\n", 1, "spec version"},
      {"default out of range",
       "spec: \"1.1\"\ndevices:\n  d:\n    properties:\n      v:\n        default: 50\n        specs:\n"
       "          type: int\n          max: 10\nresources:\n  GPIB::1::INSTR:\n    device: d\n",
       6, "breaks the specs"},
      {"type", "spec: \"1.1\"\ndevices:\n  d:\n    properties:\n      v:\n        default: 1\n        specs:\n"
               "          type: double\nresources:\n  GPIB::1::INSTR:\n    device: d\n",
       8, "is not int, float or str"},
      {"no resource", "spec: \"1.0\"\ndevices:\n  d:\n    dialogues:\n      - q: \"X\"\n", 0, "no device"},
      {"not yaml", "spec: \"1.1\"\ndevices: [\n", 3, "not a YAML file"},
  };
  for (const Refused& c : cases) {
    ScratchDir dir;
    Output o = import_yaml(dir, "bad", c.yaml);
    EXPECT_EQ(o.exit_code, 1) << c.name;
    const std::string at = c.line > 0 ? dir.file("bad.yaml") + ":" + std::to_string(c.line) + ": "
                                      : dir.file("bad.yaml") + ": ";
    EXPECT_NE(o.err.find(at), std::string::npos) << c.name << ":\n" << o.err;
    EXPECT_NE(o.err.find(c.words), std::string::npos) << c.name << ":\n" << o.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("bad.xml"))) << c.name;
  }
}

}  // namespace
}  // namespace srplay_test
