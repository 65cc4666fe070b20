// Files the plot window writes (extraction text, JPEG pictures) when the write fails part way:
// the partial file is removed, but only a regular file, never a device.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <string>
#include <vector>

#include "plot/extraction.h"
#include "plot/file_output.h"
#include "plot/jpeg_codec.h"
#include "support/test_files.h"

namespace tarvik {
namespace {

using test::fileExists;
using test::readFile;
using test::TempDir;
using test::writeFile;

// While alive, files this process writes may not grow beyond limit bytes: a write past it fails
// with EFBIG (the signal it would raise is ignored), as a full disk would fail it.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t limit) {
    ok_ = getrlimit(RLIMIT_FSIZE, &saved_) == 0;
    previous_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit lower = saved_;
    lower.rlim_cur = limit;
    ok_ = ok_ && setrlimit(RLIMIT_FSIZE, &lower) == 0;
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previous_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;
  bool ok() const { return ok_; }

 private:
  rlimit saved_{};
  void (*previous_)(int) = SIG_DFL;
  bool ok_ = false;
};

bool IsCharacterDevice(const char* path) {
  struct stat st;
  return stat(path, &st) == 0 && S_ISCHR(st.st_mode);
}

RgbImage Noise(int width, int height) {
  RgbImage image;
  image.width = width;
  image.height = height;
  image.rgb.resize(static_cast<size_t>(width) * height * 3);
  uint32_t state = 12345;
  for (uint8_t& b : image.rgb) {
    state = state * 1103515245u + 12345u;
    b = static_cast<uint8_t>(state >> 16);
  }
  return image;
}

TEST(WholeFile, WritesReplacesAndReportsFailures) {
  TempDir dir;
  const std::string path = dir.file("out.bin");
  writeFile(path, "an older, longer content");
  std::string error;
  ASSERT_TRUE(WriteWholeFile(path, "new", 3, error)) << error;
  EXPECT_EQ(readFile(path), "new");
  ASSERT_TRUE(WriteWholeFile(path, nullptr, 0, error)) << error;
  EXPECT_EQ(readFile(path), "");

  const std::string missing = dir.file("no_such_folder/out.bin");
  EXPECT_FALSE(WriteWholeFile(missing, "x", 1, error));
  EXPECT_EQ(error, "Couldn't create the file \"" + missing + "\": No such file or directory");
  EXPECT_FALSE(fileExists(missing));

  if (IsCharacterDevice("/dev/full")) {
    EXPECT_FALSE(WriteWholeFile("/dev/full", "x", 1, error));
    EXPECT_EQ(error, "Couldn't write the file \"/dev/full\" completely: No space left on device");
    EXPECT_TRUE(IsCharacterDevice("/dev/full"));
  }
}

TEST(WholeFile, RemovePartialFileRemovesOnlyRegularFiles) {
  TempDir dir;
  const std::string file = dir.file("partial.txt");
  writeFile(file, "part");
  RemovePartialFile(file);
  EXPECT_FALSE(fileExists(file));
  RemovePartialFile(file);  // already gone: nothing happens
  const std::string folder = dir.file("sub");
  ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
  RemovePartialFile(folder);
  EXPECT_TRUE(fileExists(folder));
  if (IsCharacterDevice("/dev/null")) {
    RemovePartialFile("/dev/null");
    EXPECT_TRUE(IsCharacterDevice("/dev/null"));
  }
}

TEST(PartialFiles, AnExtractionThatCannotBeFinishedIsRemoved) {
  PlotDataStore store;
  store.InitPlotData(100000, 1, "F.ict");
  store.AddPlotVariable("T, s\n");
  for (int64_t k = 0; k < 100000; ++k) store.PutPlotValue(static_cast<double>(k), k, 0, false);
  TempDir dir;
  const std::string path = dir.file("selected_data.txt");
  writeFile(path, "an older file of the same name");
  {
    FileSizeLimit limit(64 * 1024);
    ASSERT_TRUE(limit.ok());
    EXPECT_EQ(WriteSelectedData(path, store, {0}, store.variableNames(), 1), ExtractionResult::WriteFailed);
  }
  EXPECT_FALSE(fileExists(path));
  // The same data fit once the limit is gone: 18 bytes a line, the header included.
  EXPECT_EQ(WriteSelectedData(path, store, {0}, store.variableNames(), 1), ExtractionResult::Written);
  EXPECT_EQ(readFile(path).size(), 18u * 100001);
}

TEST(PartialFiles, AJpegThatCannotBeFinishedIsRemoved) {
  const RgbImage image = Noise(256, 256);  // noise compresses badly: far above the limit
  TempDir dir;
  const std::string path = dir.file("chart.jpeg");
  std::string error;
  {
    FileSizeLimit limit(16 * 1024);
    ASSERT_TRUE(limit.ok());
    EXPECT_FALSE(WriteJpegFile(path, image, error));
  }
  EXPECT_EQ(error, "Couldn't write the file \"" + path + "\" completely: File too large");
  EXPECT_FALSE(fileExists(path));
  ASSERT_TRUE(WriteJpegFile(path, image, error)) << error;
  EXPECT_GT(readFile(path).size(), 16u * 1024);

  if (IsCharacterDevice("/dev/full")) {
    EXPECT_FALSE(WriteJpegFile("/dev/full", image, error));
    EXPECT_EQ(error, "Couldn't write the file \"/dev/full\" completely: No space left on device");
    EXPECT_TRUE(IsCharacterDevice("/dev/full"));
  }
}

}  // namespace
}  // namespace tarvik
