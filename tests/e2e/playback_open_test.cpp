// Opening a session: how the file is found through the region, validated,
// and how the session's stream is chosen.
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <share.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cstring>
#include <fstream>

#include "e2e/playback_fixture.h"
#include "support/case_name.h"
#include "taplayback/region.h"

namespace tap::e2e {
namespace {

namespace rec = recording;

const std::string kIdn = "*IDN?\n";

std::string answering(const std::string& text) { return rec::pair(kIdn, {rec::response(text)}); }

std::string valid_file(const std::string& return_value = "0") {
  return rec::file(rec::stream(rec::address("gpib", "22"), answering("ONE\n"), return_value));
}

struct OpenCase {
  const char* name;
  std::string content;
  std::int32_t status;
};

class PlaybackOpen : public PlaybackTest, public testing::WithParamInterface<OpenCase> {};

TEST_P(PlaybackOpen, GivesItsOpenStatus) {
  EXPECT_EQ(open_recording(GetParam().content), GetParam().status);
  EXPECT_EQ(session_ == nullptr, GetParam().status != 0);
}

std::string with_docommand(const std::string& command) {
  return rec::file(rec::stream(rec::address("gpib", "22"),
                               rec::docommand(command, "", {rec::docommand_response("")})));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlaybackOpen,
    testing::Values(
        OpenCase{"valid", valid_file(), 0},
        OpenCase{"stream_return_value_is_the_status", valid_file("5"), 5},
        OpenCase{"empty_file", "", 24},
        OpenCase{"not_xml", "GPIB0::22 *IDN? -> ACME\n", 24},
        OpenCase{"truncated", valid_file().substr(0, valid_file().size() / 2), 24},
        OpenCase{"prefixed_root",
                 "<r:IORecordStreamFile xmlns:r=\"urn:Tarvena/Lantorix/StimulusResponseFile/1.0\" "
                 "version=\"1\"><r:IORecordStream returnValue=\"0\">"
                 "<r:InstrumentAddress intfaddr=\"gpib\" prim=\"22\" sec=\"-1\" devprot=\"0\" "
                 "bracket=\"\" colon=\"\"/></r:IORecordStream></r:IORecordStreamFile>",
                 24},
        OpenCase{"other_namespace",
                 "<IORecordStreamFile xmlns=\"urn:other\" version=\"1\"/>", 24},
        OpenCase{"schema_violation_stream_without_return_value",
                 rec::file("<IORecordStream>" + rec::address("gpib", "22") + "</IORecordStream>"),
                 24},
        OpenCase{"comment_before_the_address",
                 rec::file(rec::stream("<!-- bench 3 -->" + rec::address("gpib", "22"), "")), 24},
        OpenCase{"no_stream_for_the_address",
                 rec::file(rec::stream(rec::address("gpib", "9"), answering("X"))), 20},
        OpenCase{"command_above_int32", with_docommand("4294967295"), 24},
        OpenCase{"command_int32_max", with_docommand("2147483647"), 0}),
    rows::by_name);

TEST_F(PlaybackTest, MissingFileDirectoryAndUnterminatedPathFailTheOpen) {
  region().set_playback_path("/nonexistent/recording.xml");
  EXPECT_EQ(open(), 24);
  region().set_playback_path("/tmp");
  EXPECT_EQ(open(), 24);
  std::memset(region().bytes() + TAP_REGION_PATH_OFFSET, 'x', TAP_REGION_PATH_SIZE);
  EXPECT_EQ(open(), 9);
  EXPECT_EQ(session_, nullptr);
}

TEST_F(PlaybackTest, UnreadableFileFailsTheOpen) {
  rec::TempFile file(valid_file());
#ifdef _WIN32
  // Held open with no sharing, the file cannot be opened by anyone else.
  int locked = -1;
  ASSERT_EQ(_sopen_s(&locked, file.path().c_str(), _O_RDONLY, _SH_DENYRW, 0), 0);
  region().set_playback_path(file.path());
  EXPECT_EQ(open(), 24);
  _close(locked);
#else
  if (geteuid() == 0) GTEST_SKIP() << "root reads any file";
  ASSERT_EQ(chmod(file.path().c_str(), 0), 0);
  region().set_playback_path(file.path());
  EXPECT_EQ(open(), 24);
#endif
}

TEST_F(PlaybackTest, NegativeNextStreamIndexFailsTheOpen) {
  region().set_next_stream_index(0xFFFFFFFF);
  EXPECT_EQ(open_recording(valid_file()), 24);
}

TEST_F(PlaybackTest, StreamsOfOneAddressAreHandedOutInTurn) {
  std::string content = rec::file(rec::stream(rec::address("gpib", "22"), answering("FIRST\n")) +
                                  rec::stream(rec::address("gpib", "22"), answering("SECOND\n")));
  std::vector<std::string> answers;
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(i == 0 ? open_recording(content) : open(), 0);
    answers.push_back(query(kIdn));
  }
  EXPECT_EQ(answers, (std::vector<std::string>{"FIRST\n", "SECOND\n", "FIRST\n"}));
}

TEST_F(PlaybackTest, SearchStartsAtTheNextStreamIndexAndWrapsAround) {
  std::string content = rec::file(rec::stream(rec::address("gpib", "7"), answering("A\n")) +
                                  rec::stream(rec::address("gpib", "9"), answering("B\n")) +
                                  rec::stream(rec::address("gpib", "7"), answering("C\n")));
  region().set_next_stream_index(1);
  ASSERT_EQ(open_recording(content, gpib(7)), 0);
  EXPECT_EQ(query(kIdn), "C\n");
  EXPECT_EQ(region().next_stream_index(), 0u);
  ASSERT_EQ(open(gpib(7)), 0);
  EXPECT_EQ(query(kIdn), "A\n");
  EXPECT_EQ(region().next_stream_index(), 1u);
  ASSERT_EQ(open(gpib(9)), 0);
  EXPECT_EQ(query(kIdn), "B\n");
}

TEST_F(PlaybackTest, SerialSessionsMatchStreamsWrittenCom) {
  std::string content = rec::file(rec::stream(rec::address("com", "1"), answering("SERIAL\n")));
  region().set_interface("ASRL", "INSTR");
  host::OpenArgs args;
  args.address = "ASRL1::INSTR";
  args.primary = 1;
  ASSERT_EQ(open_recording(content, args), 0);
  EXPECT_EQ(query(kIdn), "SERIAL\n");
  region().set_interface("asrl", "socket");
  EXPECT_EQ(open(args), 20);
}

TEST_F(PlaybackTest, SecondaryAddressMinusOneIsAllOnes) {
  std::string content = rec::file(rec::stream(rec::address("gpib", "22", "-1"), answering("X")));
  EXPECT_EQ(open_recording(content, gpib(22, 4294967295u)), 0);
  EXPECT_EQ(open(gpib(22, 0)), 20);
}

TEST_F(PlaybackTest, BracketAndColonTextsCompareExactly) {
  std::string content = rec::file(
      rec::stream(rec::address("tcpip", "0", "-1", "0", "192.168.0.40", "inst0"), answering("LAN\n")));
  region().set_interface("tcpip", "instr");
  host::OpenArgs args;
  args.address = "TCPIP0::192.168.0.40::inst0::INSTR";
  args.primary = 0;
  args.bracket = "192.168.0.40";
  args.colon = "inst0";
  ASSERT_EQ(open_recording(content, args), 0);
  EXPECT_EQ(query(kIdn), "LAN\n");
  args.colon = "INST0";
  EXPECT_EQ(open(args), 20);
}

}  // namespace
}  // namespace tap::e2e
