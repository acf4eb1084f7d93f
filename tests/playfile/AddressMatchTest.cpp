#include "playfile/AddressMatch.h"

#include <gtest/gtest.h>

#include <map>

#include "playfile/conversion_error.h"
#include "support/case_name.h"

namespace tap {
namespace {

using Attrs = std::map<std::string, std::string, std::less<>>;

AddressAttribute from(const Attrs& attrs, std::vector<std::string>* read = nullptr) {
  return [&attrs, read](std::string_view name) -> std::optional<std::string> {
    if (read) read->emplace_back(name);
    auto it = attrs.find(name);
    if (it == attrs.end()) return std::nullopt;
    return it->second;
  };
}

Attrs gpib7() {
  return {{"intfaddr", "gpib"}, {"prim", "7"}, {"sec", "0"},
          {"devprot", "0"},     {"bracket", ""}, {"colon", ""}};
}

SessionAddress session(std::uint32_t prim, std::uint32_t sec = 0) {
  SessionAddress s;
  s.primary = prim;
  s.secondary = sec;
  return s;
}

struct MatchCase {
  const char* name;
  Attrs attrs;
  SessionAddress session;
  const char* kind;
  bool matches;
};

class AddressMatch : public testing::TestWithParam<MatchCase> {};

TEST_P(AddressMatch, AllSixInOrder) {
  const MatchCase& c = GetParam();
  EXPECT_EQ(address_matches(c.session, c.kind, from(c.attrs)), c.matches);
}

Attrs with(Attrs a, const std::string& key, const std::string& value) {
  a[key] = value;
  return a;
}

SessionAddress with_bracket(SessionAddress s, std::string b) {
  s.bracket = std::move(b);
  return s;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AddressMatch,
    testing::Values(
        MatchCase{"same", gpib7(), session(7), "gpib", true},
        MatchCase{"other_primary", gpib7(), session(9), "gpib", false},
        MatchCase{"kind_case_differs", with(gpib7(), "intfaddr", "GPIB"), session(7), "gpib", false},
        MatchCase{"kind_with_board", with(gpib7(), "intfaddr", "gpib0"), session(7), "gpib", false},
        MatchCase{"serial_is_com", with(gpib7(), "intfaddr", "com"), session(7), "com", true},
        MatchCase{"sec_minus_one", with(gpib7(), "sec", "-1"), session(7, 4294967295u), "gpib", true},
        MatchCase{"sec_minus_one_vs_zero", with(gpib7(), "sec", "-1"), session(7, 0), "gpib", false},
        MatchCase{"unknown_kind_empty_name", with(gpib7(), "intfaddr", ""), session(7), "", true},
        MatchCase{"bracket_exact", with(gpib7(), "bracket", "inst0"), with_bracket(session(7), "inst0"), "gpib", true},
        MatchCase{"bracket_case", with(gpib7(), "bracket", "INST0"), with_bracket(session(7), "inst0"), "gpib", false},
        MatchCase{"colon_differs", with(gpib7(), "colon", "5025"), session(7), "gpib", false}),
    rows::by_name);

TEST(AddressMatchTest, StopsAtTheFirstFailingComparison) {
  Attrs attrs = with(gpib7(), "intfaddr", "tcpip");
  attrs.erase("prim");  // never read, so its absence is no error
  std::vector<std::string> read;
  EXPECT_FALSE(address_matches(session(7), "gpib", from(attrs, &read)));
  EXPECT_EQ(read, std::vector<std::string>{"intfaddr"});
}

TEST(AddressMatchTest, UnconvertibleIntegerThatMustBeReadFails) {
  EXPECT_THROW(address_matches(session(7), "gpib", from(with(gpib7(), "prim", "seven"))),
               conversion_error);
  Attrs missing = gpib7();
  missing.erase("devprot");
  EXPECT_THROW(address_matches(session(7), "gpib", from(missing)), conversion_error);
}

}  // namespace
}  // namespace tap
