// The entry exports as a host sees them through the real shared library.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "e2e_support.h"

namespace tap::e2e {
namespace {

using DriverRecord = std::array<unsigned char, VARNEL_DRIVER_RECORD_MIN_SIZE>;
using InfoRecord = std::array<unsigned char, VARNEL_INFO_RECORD_MIN_SIZE>;
constexpr unsigned char kPattern = 0x5C;

struct Records {
  DriverRecord driver;
  InfoRecord info;
  std::int32_t status;
};

Records fill(const char* export_name) {
  Records r{};
  r.driver.fill(kPattern);
  r.info.fill(kPattern);
  r.status = driver_host().call_export(export_name, r.driver, r.info);
  return r;
}

void* slot_of(const DriverRecord& record, int i) {
  void* p = nullptr;
  std::memcpy(&p, record.data() + VARNEL_DRIVER_SLOTS_OFFSET + i * sizeof(void*), sizeof p);
  return p;
}

TEST(EntryTable, BothExportsFillIdenticalRecords) {
  Records a = fill(VARNEL_ENTRY_EXPORT);
  Records b = fill(VARNEL_ENTRY_EXPORT_SHORT);
  EXPECT_EQ(a.status, 0);
  EXPECT_EQ(b.status, 0);
  EXPECT_EQ(a.driver, b.driver);
  EXPECT_EQ(a.info, b.info);
  // Calling again writes the same values: the export keeps no state.
  EXPECT_EQ(fill(VARNEL_ENTRY_EXPORT).driver, a.driver);
}

TEST(EntryTable, SlotsHoldTheEntriesAndNullsWhereDefined) {
  Records r = fill(VARNEL_ENTRY_EXPORT);
  for (int i = 0; i < VARNEL_DRIVER_SLOT_COUNT; ++i) {
    bool expect_null = i == 5 || i == 6 || i == 12;
    EXPECT_EQ(slot_of(r.driver, i) == nullptr, expect_null) << "slot " << i;
  }
}

TEST(EntryTable, DriverRecordOutsideTheSlotsIsUntouched) {
  Records r = fill(VARNEL_ENTRY_EXPORT);
  for (int i = 0; i < VARNEL_DRIVER_SLOTS_OFFSET; ++i) EXPECT_EQ(r.driver[i], kPattern) << i;
}

TEST(EntryTable, InfoRecordGetsTheNameWithoutTerminatorAndKindSix) {
  Records r = fill(VARNEL_ENTRY_EXPORT);
  const std::string name(reinterpret_cast<const char*>(r.info.data() + 36), 26);
  EXPECT_EQ(name, "Tarvena SR Playback Engine");
  std::uint32_t kind = 0;
  std::memcpy(&kind, r.info.data() + 72, 4);
  EXPECT_EQ(kind, 6u);
  for (std::size_t i = 0; i < r.info.size(); ++i) {
    bool written = (i >= 36 && i <= 61) || (i >= 72 && i <= 75);
    if (!written) {
      EXPECT_EQ(r.info[i], kPattern) << "byte " << i;
    }
  }
}

TEST(EntryTable, NoOpSlotsReturnZeroWhateverTheArguments) {
  Records r = fill(VARNEL_ENTRY_EXPORT);
  using AnyArgs = std::int32_t (*)(void*, std::uint32_t, std::int64_t, const char*);
  for (int i : {9, 10, 11, 13}) {
    auto noop = reinterpret_cast<VarnelNoOpFn>(slot_of(r.driver, i));
    EXPECT_EQ(noop(), 0) << "slot " << i;
    // The host may pass arguments; the no-op ignores them.
    auto with_args = reinterpret_cast<AnyArgs>(slot_of(r.driver, i));
    EXPECT_EQ(with_args(nullptr, 0xFFFFFFFFu, -1, "x"), 0) << "slot " << i;
  }
}

}  // namespace
}  // namespace tap::e2e
