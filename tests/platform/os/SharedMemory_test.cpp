#include "platform/os/SharedMemory.h"

#include <gtest/gtest.h>

#include <cstring>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

#include "platform/os/process.h"

namespace tap::os {
namespace {

std::string test_name(const char* tag) {
  return "Local\\_tap_test_" + std::string(tag) + "_" + std::to_string(current_process_id());
}

TEST(SharedMemory, PosixNameDropsTheLocalPrefix) {
  EXPECT_EQ(SharedMemory::posix_name("Local\\_Tarvena_Lantorix_Process_Shm_4660"),
            "/_Tarvena_Lantorix_Process_Shm_4660");
  EXPECT_EQ(SharedMemory::posix_name("plain"), "/plain");
}

TEST(SharedMemory, CreatedRegionIsSeenByAnOpenerThroughItsOwnView) {
  SharedMemory::Status status{};
  auto host = SharedMemory::create(test_name("share"), 2104, &status);
  ASSERT_TRUE(host) << static_cast<int>(status);
  ASSERT_TRUE(host->map(2104));
  std::memcpy(host->view() + 1040, "C:\\rec.xml", 11);

  auto driver = SharedMemory::open_existing(test_name("share"), &status);
  ASSERT_TRUE(driver);
  ASSERT_TRUE(driver->map(2104));
  EXPECT_STREQ(reinterpret_cast<const char*>(driver->view() + 1040), "C:\\rec.xml");
  driver->view()[8] = 3;
  EXPECT_EQ(host->view()[8], 3);
  // Closing the handle keeps the view, as with a Windows file mapping.
  driver->close_handle();
  EXPECT_FALSE(driver->has_handle());
  EXPECT_EQ(driver->view()[8], 3);
}

TEST(SharedMemory, MissingRegionIsNotFound) {
  SharedMemory::Status status{};
  EXPECT_FALSE(SharedMemory::open_existing(test_name("absent"), &status));
  EXPECT_EQ(status, SharedMemory::Status::not_found);
}

TEST(SharedMemory, RegionShorterThanTheViewCannotBeMapped) {
  auto host = SharedMemory::create(test_name("short"), 100, nullptr);
  ASSERT_TRUE(host);
  auto driver = SharedMemory::open_existing(test_name("short"), nullptr);
  ASSERT_TRUE(driver);
#ifdef _WIN32
  if (driver->size() != 100)
    GTEST_SKIP() << "this system gives a file mapping's size in whole pages (" << driver->size()
                 << " bytes; Wine does), so a short region reads as zeros up to the page's end";
#endif
  EXPECT_FALSE(driver->map(2104));
  EXPECT_EQ(driver->view(), nullptr);
}

TEST(SharedMemory, SecondCreateOfTheSameNameFails) {
  auto first = SharedMemory::create(test_name("twice"), 64, nullptr);
  ASSERT_TRUE(first);
  SharedMemory::Status status{};
  EXPECT_FALSE(SharedMemory::create(test_name("twice"), 64, &status));
  EXPECT_EQ(status, SharedMemory::Status::exists);
}

TEST(SharedMemory, RegionOpenToOthersIsRefused) {
#ifdef _WIN32
  GTEST_SKIP() << "a Local\\ file mapping is visible to its own logon session only; "
                  "refusing one open to others is how POSIX shared memory stands in for that";
#else
  const std::string posix = SharedMemory::posix_name(test_name("open"));
  int fd = shm_open(posix.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(fchmod(fd, 0666), 0);
  ASSERT_EQ(ftruncate(fd, 2104), 0);
  SharedMemory::Status status{};
  EXPECT_FALSE(SharedMemory::open_existing(test_name("open"), &status));
  EXPECT_EQ(status, SharedMemory::Status::refused);
  close(fd);
  shm_unlink(posix.c_str());
#endif
}

TEST(SharedMemory, CreatorRemovesTheRegion) {
  { auto host = SharedMemory::create(test_name("gone"), 64, nullptr); }
  EXPECT_FALSE(SharedMemory::open_existing(test_name("gone"), nullptr));
}

}  // namespace
}  // namespace tap::os
