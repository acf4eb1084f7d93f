#include "platform/os/RegularFile.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <vector>

namespace tap::os {
namespace {

std::string temp_path(const char* tag) {
  return testing::TempDir() + "regular_file_" + tag + "_" + std::to_string(getpid());
}

// A FIFO with no writer would block an ordinary open for ever; a device
// or a directory never reads as a document.
TEST(RegularFile, AnythingButARegularFileIsRefusedAtOnce) {
#ifdef _WIN32
  // Windows devices: by their DOS names, in any folder and with any
  // extension, or in the device namespace (a pipe among them).
  const std::vector<std::string> paths = {"NUL", "COM1", testing::TempDir() + "aux.xml", "\\\\.\\NUL",
                                          "\\\\.\\pipe\\taplayback_test", testing::TempDir()};
#else
  const std::string fifo = temp_path("fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::vector<std::string> paths = {fifo, "/dev/zero", "/dev/null", testing::TempDir()};
#endif
  for (const std::string& path : paths) {
    RegularFile::Status status = RegularFile::Status::ok;
    EXPECT_EQ(RegularFile::open(path, &status), nullptr) << path;
    EXPECT_EQ(status, RegularFile::Status::not_regular) << path;
  }
#ifndef _WIN32
  std::remove(fifo.c_str());
#endif
}

TEST(RegularFile, MissingFileIsNotFound) {
  RegularFile::Status status = RegularFile::Status::ok;
  EXPECT_EQ(RegularFile::open(temp_path("absent"), &status), nullptr);
  EXPECT_EQ(status, RegularFile::Status::not_found);
}

TEST(RegularFile, ReadsARegularFileToItsEnd) {
  const std::string path = temp_path("plain");
  const std::string content(100000, 'x');
  std::ofstream(path, std::ios::binary) << content;
  RegularFile::Status status{};
  auto file = RegularFile::open(path, &status);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(status, RegularFile::Status::ok);
  EXPECT_EQ(file->size(), content.size());
  std::string read;
  char buffer[4096];
  for (std::ptrdiff_t n; (n = file->read(buffer, sizeof buffer)) > 0;) read.append(buffer, static_cast<std::size_t>(n));
  EXPECT_EQ(read, content);
  std::remove(path.c_str());
}

}  // namespace
}  // namespace tap::os
