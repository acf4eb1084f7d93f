// The C API of libtaphost.so, through the shared library itself: the error
// paths a host in another language runs into, and one conversation.
#include "taplayback/host.h"

#include <gtest/gtest.h>

#include <string>

#include "playfile/RecordingText.h"
#include "taplayback/varnel.h"

namespace {

namespace rec = tap::recording;

const std::string kIdn = "*IDN?\n";
const std::string kAnswer = "ACME,MODEL-1,0,1.0\n";

std::string gpib22_recording() {
  return rec::file(
      rec::stream(rec::address("gpib", "22"), rec::pair(kIdn, {rec::response(kAnswer)})) +
      rec::stream(rec::address("tcpip", "0", "-1", "0", "10.0.0.2", "inst0"), ""));
}

class HostApiTest : public testing::Test {
 protected:
  void SetUp() override {
    char error[256] = "";
    ASSERT_EQ(taphost_create(TAP_DRIVER_PATH, &host_, error, sizeof error), 0) << error;
    ASSERT_NE(host_, nullptr);
  }
  void TearDown() override { taphost_free(host_); }

  taphost_session* open(const std::string& resource, const rec::TempFile& file) {
    taphost_session* s = nullptr;
    EXPECT_EQ(taphost_open_resource(host_, file.path().c_str(), resource.c_str(), &s), 0)
        << taphost_last_error(host_);
    return s;
  }

  taphost* host_ = nullptr;
};

TEST_F(HostApiTest, PlaysARecordedQueryPieceByPiece) {
  rec::TempFile file(gpib22_recording());
  taphost_session* s = open("gpib0::22::instr", file);
  ASSERT_NE(s, nullptr);
  std::uint32_t actual = 0;
  EXPECT_EQ(taphost_write(s, reinterpret_cast<const std::uint8_t*>(kIdn.data()),
                          static_cast<std::uint32_t>(kIdn.size()), &actual),
            0);
  EXPECT_EQ(actual, kIdn.size());
  std::uint8_t buffer[8];
  std::int32_t stop = -1;
  std::string got;
  do {
    ASSERT_EQ(taphost_read(s, buffer, sizeof buffer, &actual, &stop), 0);
    got.append(reinterpret_cast<const char*>(buffer), actual);
  } while (stop == 1);
  EXPECT_EQ(got, kAnswer);
  EXPECT_EQ(stop, 2);
  // Nothing left: the driver's own status, with a text saying who said it.
  EXPECT_EQ(taphost_read(s, buffer, sizeof buffer, &actual, &stop), VARNEL_UNKNOWN_STIMULUS);
  EXPECT_NE(std::string(taphost_last_error(host_)).find("15"), std::string::npos);
  EXPECT_EQ(taphost_write(s, buffer, 0, nullptr), VARNEL_UNKNOWN_STIMULUS);
  // A success clears the text.
  EXPECT_EQ(taphost_set_timeout(s, 100), 0);
  EXPECT_EQ(taphost_write(s, reinterpret_cast<const std::uint8_t*>(kIdn.data()),
                          static_cast<std::uint32_t>(kIdn.size()), nullptr),
            0);
  EXPECT_STREQ(taphost_last_error(host_), "");
  EXPECT_EQ(taphost_close(s), 0);
}

TEST_F(HostApiTest, OpensBySixValuesAsTheRegionAnnounces) {
  rec::TempFile file(gpib22_recording());
  taphost_session* s = nullptr;
  EXPECT_EQ(taphost_open(host_, file.path().c_str(), "tcpip", "instr", nullptr, 0, 0xFFFFFFFF, 0,
                         "10.0.0.2", "inst0", &s),
            0);
  EXPECT_EQ(taphost_close(s), 0);
  // Another class announces an interface the driver does not know.
  EXPECT_EQ(taphost_open(host_, file.path().c_str(), "tcpip", "socket", nullptr, 0, 0xFFFFFFFF, 0,
                         "10.0.0.2", "inst0", &s),
            VARNEL_NO_STREAM_FOR_ADDRESS);
  EXPECT_EQ(s, nullptr);
}

TEST_F(HostApiTest, OpenFailuresAreStatuses) {
  rec::TempFile file(gpib22_recording());
  taphost_session* s = reinterpret_cast<taphost_session*>(&s);
  EXPECT_EQ(taphost_open_resource(host_, file.path().c_str(), "GPIB0::5::INSTR", &s),
            VARNEL_NO_STREAM_FOR_ADDRESS);
  EXPECT_EQ(s, nullptr);
  EXPECT_EQ(taphost_open_resource(host_, "/nonexistent/recording.xml", "GPIB0::22::INSTR", &s),
            VARNEL_BAD_PLAYBACK_FILE);
  EXPECT_EQ(taphost_open_resource(host_, file.path().c_str(), "VXI0::1::INSTR", &s),
            TAPHOST_E_BAD_ARGUMENT);
  EXPECT_NE(std::string(taphost_last_error(host_)).find("VXI"), std::string::npos);
  const std::string long_path(2000, 'x');
  EXPECT_EQ(taphost_open_resource(host_, long_path.c_str(), "GPIB0::22::INSTR", &s),
            TAPHOST_E_BAD_ARGUMENT);
}

TEST_F(HostApiTest, NullPointersAreAnswered) {
  rec::TempFile file(gpib22_recording());
  taphost_session* s = nullptr;
  std::uint8_t byte = 0;
  EXPECT_EQ(taphost_create(nullptr, nullptr, nullptr, 0), TAPHOST_E_NULL_ARGUMENT);
  EXPECT_EQ(taphost_open_resource(nullptr, file.path().c_str(), "GPIB0::22::INSTR", &s),
            TAPHOST_E_NULL_ARGUMENT);
  EXPECT_EQ(taphost_open_resource(host_, nullptr, "GPIB0::22::INSTR", &s), TAPHOST_E_NULL_ARGUMENT);
  EXPECT_EQ(taphost_open_resource(host_, file.path().c_str(), nullptr, &s),
            TAPHOST_E_NULL_ARGUMENT);
  EXPECT_EQ(taphost_open_resource(host_, file.path().c_str(), "GPIB0::22::INSTR", nullptr),
            TAPHOST_E_NULL_ARGUMENT);
  EXPECT_EQ(taphost_write(nullptr, &byte, 1, nullptr), TAPHOST_E_NULL_ARGUMENT);
  EXPECT_EQ(taphost_read(nullptr, &byte, 1, nullptr, nullptr), TAPHOST_E_NULL_ARGUMENT);
  EXPECT_EQ(taphost_docommand(nullptr, 0, 1, 1, &byte), TAPHOST_E_NULL_ARGUMENT);
  EXPECT_EQ(taphost_set_timeout(nullptr, 1), TAPHOST_E_NULL_ARGUMENT);
  EXPECT_EQ(taphost_list_resources(nullptr, file.path().c_str(), nullptr, 0, nullptr),
            TAPHOST_E_NULL_ARGUMENT);
  EXPECT_EQ(taphost_close(nullptr), 0);
  taphost_free(nullptr);

  s = open("GPIB0::22::INSTR", file);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(taphost_write(s, nullptr, 1, nullptr), TAPHOST_E_NULL_ARGUMENT);
  EXPECT_EQ(taphost_read(s, nullptr, 1, nullptr, nullptr), TAPHOST_E_NULL_ARGUMENT);
  EXPECT_EQ(taphost_docommand(s, 0, 1, 4, nullptr), TAPHOST_E_NULL_ARGUMENT);
  EXPECT_EQ(taphost_docommand(s, 0, 1, -1, &byte), TAPHOST_E_NULL_ARGUMENT);
  // Empty buffers may be null; the calls reach the driver.
  EXPECT_EQ(taphost_read(s, nullptr, 0, nullptr, nullptr), VARNEL_UNKNOWN_STIMULUS);
  EXPECT_EQ(taphost_docommand(s, 0, 1, 0, nullptr), VARNEL_NO_DOCOMMAND_MATCH);
}

TEST_F(HostApiTest, ForeignAndStaleHandlesAreRefused) {
  rec::TempFile file(gpib22_recording());
  int not_a_handle = 0;
  auto* fake_host = reinterpret_cast<taphost*>(&not_a_handle);
  auto* fake_session = reinterpret_cast<taphost_session*>(&not_a_handle);
  taphost_session* s = nullptr;
  std::uint8_t byte = 0;
  EXPECT_EQ(taphost_open_resource(fake_host, file.path().c_str(), "GPIB0::22::INSTR", &s),
            TAPHOST_E_BAD_HANDLE);
  EXPECT_EQ(taphost_write(fake_session, &byte, 1, nullptr), TAPHOST_E_BAD_HANDLE);
  EXPECT_EQ(taphost_close(fake_session), TAPHOST_E_BAD_HANDLE);
  EXPECT_STRNE(taphost_last_error(fake_host), "");
  taphost_free(fake_host);  // ignored

  s = open("GPIB0::22::INSTR", file);
  ASSERT_EQ(taphost_close(s), 0);
  EXPECT_EQ(taphost_read(s, &byte, 1, nullptr, nullptr), TAPHOST_E_BAD_HANDLE);
  EXPECT_EQ(taphost_close(s), TAPHOST_E_BAD_HANDLE);

  // Freeing the host closes what it had open.
  taphost* other = nullptr;
  ASSERT_EQ(taphost_create(TAP_DRIVER_PATH, &other, nullptr, 0), 0);
  ASSERT_EQ(taphost_open_resource(other, file.path().c_str(), "GPIB0::22::INSTR", &s), 0);
  taphost_free(other);
  EXPECT_EQ(taphost_set_timeout(s, 1), TAPHOST_E_BAD_HANDLE);
  EXPECT_EQ(taphost_list_resources(other, file.path().c_str(), nullptr, 0, nullptr),
            TAPHOST_E_BAD_HANDLE);
}

TEST(HostApiCreate, AMissingDriverIsReported) {
  taphost* host = reinterpret_cast<taphost*>(&host);
  char error[256] = "";
  EXPECT_EQ(taphost_create("/nonexistent/libtaplayback.so", &host, error, sizeof error),
            TAPHOST_E_DRIVER);
  EXPECT_EQ(host, nullptr);
  EXPECT_NE(std::string(error).find("/nonexistent/libtaplayback.so"), std::string::npos);
  EXPECT_STREQ(taphost_last_error(nullptr), error);
  // A short error buffer gets a cut, terminated text.
  char small[4] = {'x', 'x', 'x', 'x'};
  taphost_create("/nonexistent/libtaplayback.so", &host, small, sizeof small);
  EXPECT_EQ(small[3], '\0');
}

TEST(HostApiCreate, TheDefaultDriverIsFoundBesideTheLibrary) {
  taphost* host = nullptr;
  EXPECT_EQ(taphost_create(nullptr, &host, nullptr, 0), 0) << taphost_last_error(nullptr);
  taphost_free(host);
}

TEST_F(HostApiTest, HostsShareTheRegionAndEachRecordingKeepsItsStreamOrder) {
  // Two streams of one address answer differently: the first open gets the
  // first, the second open the second, whatever another recording does.
  rec::TempFile twice(
      rec::file(rec::stream(rec::address("gpib", "3"), rec::pair("A", {rec::response("first")})) +
                rec::stream(rec::address("gpib", "3"), rec::pair("A", {rec::response("second")}))));
  rec::TempFile other(gpib22_recording());
  taphost* second_host = nullptr;
  ASSERT_EQ(taphost_create(TAP_DRIVER_PATH, &second_host, nullptr, 0), 0);
  auto answer = [&](taphost* h) {
    taphost_session* s = nullptr;
    EXPECT_EQ(taphost_open_resource(h, twice.path().c_str(), "GPIB0::3::INSTR", &s), 0);
    taphost_session* o = nullptr;
    EXPECT_EQ(taphost_open_resource(h, other.path().c_str(), "GPIB0::22::INSTR", &o), 0);
    const std::uint8_t a = 'A';
    taphost_write(s, &a, 1, nullptr);
    std::uint8_t buffer[16];
    std::uint32_t n = 0;
    taphost_read(s, buffer, sizeof buffer, &n, nullptr);
    taphost_close(s);
    taphost_close(o);
    return std::string(reinterpret_cast<const char*>(buffer), n);
  };
  EXPECT_EQ(answer(host_), "first");
  EXPECT_EQ(answer(second_host), "first");
  EXPECT_EQ(answer(host_), "second");
  EXPECT_EQ(answer(host_), "first");
  taphost_free(second_host);
}

TEST_F(HostApiTest, ListsEachStreamByTheNameThatOpensIt) {
  rec::TempFile file(rec::file(rec::stream(rec::address("gpib", "22"), "") +
                               rec::stream(rec::address("gpib", "7", "0", "0", "", "INSTR"), "") +
                               rec::stream(rec::address("com", "3"), "")));
  std::size_t needed = 0;
  ASSERT_EQ(taphost_list_resources(host_, file.path().c_str(), nullptr, 0, &needed), 0);
  const std::string expected = "GPIB0::22::INSTR\n\nASRL3::INSTR";
  EXPECT_EQ(needed, expected.size());
  std::string names(needed + 1, '?');
  ASSERT_EQ(taphost_list_resources(host_, file.path().c_str(), names.data(), names.size(), &needed),
            0);
  EXPECT_EQ(names.c_str(), expected);
  char cut[5];
  ASSERT_EQ(taphost_list_resources(host_, file.path().c_str(), cut, sizeof cut, &needed), 0);
  EXPECT_STREQ(cut, "GPIB");

  rec::TempFile broken("<IORecordStreamFile");
  EXPECT_EQ(taphost_list_resources(host_, broken.path().c_str(), nullptr, 0, &needed),
            VARNEL_BAD_PLAYBACK_FILE);
  EXPECT_NE(std::string(taphost_last_error(host_)).find(broken.path()), std::string::npos);
}

}  // namespace
