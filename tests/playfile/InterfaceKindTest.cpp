#include "playfile/InterfaceKind.h"

#include <gtest/gtest.h>

namespace tap {
namespace {

struct KindCase {
  const char* kind;
  const char* cls;
  std::int32_t code;
  const char* file_name;
};

class InterfaceKind : public testing::TestWithParam<KindCase> {};

TEST_P(InterfaceKind, CodeAndFileName) {
  const KindCase& c = GetParam();
  std::int32_t code = interface_kind_code(c.kind, c.cls);
  EXPECT_EQ(code, c.code);
  EXPECT_EQ(interface_file_name(code), c.file_name);
}

INSTANTIATE_TEST_SUITE_P(Cases, InterfaceKind,
                         testing::Values(KindCase{"gpib", "instr", 100, "gpib"},
                                         KindCase{"GPIB", "INSTR", 100, "gpib"},
                                         KindCase{"tcpip", "instr", 200, "tcpip"},
                                         KindCase{"asrl", "Instr", 300, "com"},
                                         KindCase{"usb", "instr", 400, "usb"},
                                         KindCase{"gpib", "socket", 10000, ""},
                                         KindCase{"gpib0", "instr", 10000, ""},
                                         KindCase{"", "instr", 10000, ""},
                                         KindCase{"com", "instr", 10000, ""}));

}  // namespace
}  // namespace tap
