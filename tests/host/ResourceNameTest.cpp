#include "host/ResourceName.h"

#include <gtest/gtest.h>

namespace tap::host {
namespace {

struct Named {
  const char* name;
  ResourceAddress address;
  const char* intfaddr;
  const char* canonical;
};

ResourceAddress make(const char* kind, const char* cls, std::uint32_t board, const char* text,
                     std::uint32_t primary, std::uint32_t secondary, const char* bracket,
                     const char* colon) {
  return ResourceAddress{kind, cls, board, text, primary, secondary, 0, bracket, colon};
}

constexpr std::uint32_t kNone = kNoSecondaryAddress;

class ResourceNameParse : public testing::TestWithParam<Named> {};

TEST_P(ResourceNameParse, GivesTheHostsOpenValues) {
  const Named& c = GetParam();
  std::string error;
  auto parsed = parse_resource_name(c.name, &error);
  ASSERT_TRUE(parsed) << error;
  EXPECT_EQ(*parsed, c.address);
  EXPECT_EQ(intfaddr_word(*parsed), c.intfaddr);
  EXPECT_EQ(format_resource_name(*parsed), c.canonical);
  // The canonical name is a name of the same resource.
  auto again = parse_resource_name(c.canonical, &error);
  ASSERT_TRUE(again) << error;
  EXPECT_EQ(*again, *parsed);
}

INSTANTIATE_TEST_SUITE_P(
    Names, ResourceNameParse,
    testing::Values(
        Named{"GPIB0::22::INSTR", make("gpib", "instr", 0, "gpib0", 22, kNone, "", ""), "gpib",
              "GPIB0::22::INSTR"},
        Named{"GPIB0::22::5::INSTR", make("gpib", "instr", 0, "gpib0", 22, 5, "", ""), "gpib",
              "GPIB0::22::5::INSTR"},
        Named{"GPIB::1::INSTR", make("gpib", "instr", 0, "gpib0", 1, kNone, "", ""), "gpib",
              "GPIB0::1::INSTR"},
        Named{"gpib2::07", make("gpib", "instr", 2, "gpib2", 7, kNone, "", ""), "gpib",
              "GPIB2::7::INSTR"},
        Named{"GPIB0::8::65535::INSTR", make("gpib", "instr", 0, "gpib0", 8, kNone, "", ""), "gpib",
              "GPIB0::8::INSTR"},
        Named{"GPIB0::0::0::INSTR", make("gpib", "instr", 0, "gpib0", 0, 0, "", ""), "gpib",
              "GPIB0::0::0::INSTR"},
        Named{"GPIB1::INTFC", make("gpib", "intfc", 1, "gpib1", 0, kNone, "", ""), "",
              "GPIB1::INTFC"},
        Named{"TCPIP0::192.168.0.40::inst0::INSTR",
              make("tcpip", "instr", 0, "tcpip0", 0, kNone, "192.168.0.40", "inst0"), "tcpip",
              "TCPIP0::192.168.0.40::inst0::INSTR"},
        Named{"tcpip::Scope.Lab::INSTR",
              make("tcpip", "instr", 0, "tcpip0", 0, kNone, "scope.lab", "inst0"), "tcpip",
              "TCPIP0::scope.lab::inst0::INSTR"},
        Named{"TCPIP1::host::HISLIP0::instr",
              make("tcpip", "instr", 1, "tcpip1", 0, kNone, "host", "hislip0"), "tcpip",
              "TCPIP1::host::hislip0::INSTR"},
        Named{"TCPIP0::host::5025::SOCKET",
              make("tcpip", "socket", 0, "tcpip0", 0, kNone, "host", "5025"), "",
              "TCPIP0::host::5025::SOCKET"},
        Named{"TCPIP0::host::05025::socket",
              make("tcpip", "socket", 0, "tcpip0", 0, kNone, "host", "5025"), "",
              "TCPIP0::host::5025::SOCKET"},
        Named{"ASRL1::INSTR", make("asrl", "instr", 1, "asrl1", 1, kNone, "", ""), "com",
              "ASRL1::INSTR"},
        Named{"asrl3", make("asrl", "instr", 3, "asrl3", 3, kNone, "", ""), "com", "ASRL3::INSTR"},
        Named{"ASRL/dev/ttyUSB0::INSTR",
              make("asrl", "instr", 0, "asrl/dev/ttyUSB0", 0, kNone, "/dev/ttyUSB0", ""), "com",
              "ASRL/dev/ttyUSB0::INSTR"},
        Named{"USB0::0x1234::0x5678::SERIAL::INSTR",
              make("usb", "instr", 0, "usb0", 0, kNone, "0x1234::0x5678::SERIAL", ""), "usb",
              "USB0::0x1234::0x5678::SERIAL::INSTR"},
        Named{"usb0::0x1f3a::29058::DAQ0071::instr",
              make("usb", "instr", 0, "usb0", 0, kNone, "0x1F3A::0x7182::DAQ0071", ""), "usb",
              "USB0::0x1F3A::0x7182::DAQ0071::INSTR"},
        Named{"USB0::0x1234::0x5678::SN1::2::INSTR",
              make("usb", "instr", 0, "usb0", 0, kNone, "0x1234::0x5678::SN1::2", ""), "usb",
              "USB0::0x1234::0x5678::SN1::2::INSTR"},
        Named{"USB0::0x1234::0x5678::SN1::RAW",
              make("usb", "raw", 0, "usb0", 0, kNone, "0x1234::0x5678::SN1", ""), "",
              "USB0::0x1234::0x5678::SN1::RAW"}),
    [](const testing::TestParamInfo<Named>& info) { return "case" + std::to_string(info.index); });

TEST(ResourceNameParse, RefusesWhatNoHostOpens) {
  for (const char* name : {"",
                           "GPIB0",
                           "GPIB0::31::INSTR",
                           "GPIB0::1::31::INSTR",
                           "GPIB0::1::65534::INSTR",
                           "GPIB0::x::INSTR",
                           "GPIB0::1::2::3::INSTR",
                           "GPIB0::-1::INSTR",
                           "GPIB0::1::SOCKET",
                           "GPIB-VXI0::1::INSTR",
                           "VXI0::1::INSTR",
                           "PXI0::1::INSTR",
                           "FOO0::1::INSTR",
                           "TCPIP0::INSTR",
                           "TCPIP0::::inst0::INSTR",
                           "TCPIP0::host::SOCKET",
                           "TCPIP0::host::65536::SOCKET",
                           "TCPIP0::host::http::SOCKET",
                           "ASRL1::2::INSTR",
                           "ASRL1::SOCKET",
                           "USB0::0x1234::INSTR",
                           "USB0::0x10000::0x5678::S::INSTR",
                           "USB0::0xZZ::0x5678::S::INSTR",
                           "GPIBx::1::INSTR",
                           "GPIB0::4294967318::INSTR"}) {
    std::string error;
    EXPECT_FALSE(parse_resource_name(name, &error)) << name;
    EXPECT_FALSE(error.empty()) << name;
  }
  // The error out-parameter is optional.
  EXPECT_FALSE(parse_resource_name("FOO::1"));
}

struct Stream {
  const char* intfaddr;
  std::uint32_t primary, secondary, protocol;
  const char* bracket;
  const char* colon;
  const char* name;  // nullptr: no resource name gives these values
};

TEST(ResourceNameStream, NamesTheResourceThatOpensIt) {
  const Stream cases[] = {
      {"gpib", 22, kNone, 0, "", "", "GPIB0::22::INSTR"},
      {"gpib", 7, 3, 0, "", "", "GPIB0::7::3::INSTR"},
      {"tcpip", 0, kNone, 0, "192.168.0.40", "inst0", "TCPIP0::192.168.0.40::inst0::INSTR"},
      {"com", 3, kNone, 0, "", "", "ASRL3::INSTR"},
      {"com", 0, kNone, 0, "/dev/ttyS1", "", "ASRL/dev/ttyS1::INSTR"},
      {"usb", 0, kNone, 0, "0x1F3A::0x7102::DAQ0071", "", "USB0::0x1F3A::0x7102::DAQ0071::INSTR"},
      {"", 0, kNone, 0, "host", "5025", "TCPIP0::host::5025::SOCKET"},
      // Values no name produces: the match could never be reached by name.
      {"gpib", 7, 0, 0, "", "INSTR", nullptr},
      {"gpib", 31, kNone, 0, "", "", nullptr},
      {"gpib", 5, kNone, 1, "", "", nullptr},
      {"tcpip", 0, 0, 1, "192.168.0.5", "inst0", nullptr},
      {"tcpip", 0, kNone, 0, "Upper.Case", "inst0", nullptr},
      {"usb", 0, kNone, 0, "0x1f3a::0x7102::X", "", nullptr},
      {"", 0, kNone, 0, "", "", nullptr},
      {"GPIB", 1, kNone, 0, "", "", nullptr},
  };
  for (const Stream& c : cases) {
    auto address =
        address_for_stream(c.intfaddr, c.primary, c.secondary, c.protocol, c.bracket, c.colon);
    if (!c.name) {
      EXPECT_FALSE(address) << c.intfaddr << " " << c.primary << " " << c.bracket;
      continue;
    }
    ASSERT_TRUE(address) << c.name;
    EXPECT_EQ(format_resource_name(*address), c.name);
    // Opening by that name passes the stream's own values to the driver.
    auto opened = parse_resource_name(c.name);
    ASSERT_TRUE(opened);
    EXPECT_EQ(intfaddr_word(*opened), c.intfaddr);
    EXPECT_EQ(opened->primary, c.primary);
    EXPECT_EQ(opened->secondary, c.secondary);
    EXPECT_EQ(opened->device_protocol, c.protocol);
    EXPECT_EQ(opened->bracket, c.bracket);
    EXPECT_EQ(opened->colon, c.colon);
  }
}

}  // namespace
}  // namespace tap::host
