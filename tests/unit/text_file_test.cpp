// Text files and paths: UTF-8 and UTF-16 decoding, encoding, the data areas,
// and the state file, including a save interrupted by SIGKILL.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/app.h"
#include "child_process.h"
#include "scratch_folder.h"

namespace {

String decode(const std::vector<unsigned char>& bytes) {
  return String::Load(bytes.data(), static_cast<int>(bytes.size()));
}

std::vector<int> units(const String& s) { return std::vector<int>(s.Data(), s.Data() + s.Length()); }

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void write_file(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// The host object carries the file operations; one is enough for these tests.
gxtkApp* host() {
  static gxtkApp* h = new gxtkApp();
  return h;
}

std::string app_load_string(const char* path) { return host()->LoadString(String(path)).ToUtf8(); }

// Runs each test in a fresh scratch folder as the working directory.
class InScratchFolder : public ::testing::Test {
 protected:
  ScratchFolder folder_{"vw-files"};
  void SetUp() override { ASSERT_TRUE(folder_.ok()); }
};

TEST(TextFileDecoding, ByteOrderMarksSelectTheEncoding) {
  EXPECT_EQ(units(decode({0xFE, 0xFF, 0x00, 0x41, 0x20, 0xAC})), (std::vector<int>{0x41, 0x20AC}));
  EXPECT_EQ(units(decode({0xFF, 0xFE, 0x41, 0x00, 0xAC, 0x20, 0x99})), (std::vector<int>{0x41, 0x20AC}));
  EXPECT_EQ(decode({0xFF, 0xFE}).Length(), 0);  // a lone mark
  EXPECT_EQ(decode({0xFE, 0xFF, 0x12}).Length(), 0);
  EXPECT_EQ(units(decode({0xEF, 0xBB, 0xBF, 'h', 'i'})), units(decode({'h', 'i'})));
}

TEST(TextFileDecoding, Utf8SequencesOfOneToThreeBytes) {
  EXPECT_EQ(units(decode({'a', 0xC3, 0xA9, 0xE2, 0x82, 0xAC, 0xED, 0xA0, 0xBD})),
            (std::vector<int>{'a', 0xE9, 0x20AC, 0xD83D}));
}

TEST(TextFileDecoding, InvalidUtf8FallsBackToOneUnitPerByte) {
  ChildResult r = run_child([] {
    String s = String::Load(std::vector<unsigned char>{0xFE}.data(), 1);
    std::printf("%d %d\n", s.Length(), s[0]);
    String t = String::Load(std::vector<unsigned char>{0xEF, 0xBB, 0xBF, 'a', 0xC3}.data(), 5);
    std::printf("%d %d %d\n", t.Length(), t[0], t[1]);  // the skipped mark stays skipped
    String u = String::Load(std::vector<unsigned char>{0xE2, 0x82, 'x'}.data(), 3);
    std::printf("%d\n", u.Length());
    String v = String::Load(std::vector<unsigned char>{0xF0, 0x9F, 0x98, 0x80}.data(), 4);
    std::printf("%d\n", v.Length());
  });
  EXPECT_EQ(r.out, "Invalid UTF-8!\n1 254\nInvalid UTF-8!\n2 97 195\nInvalid UTF-8!\n3\nInvalid UTF-8!\n4\n");
}

TEST(TextFileEncoding, EachUnitIsEncodedOnItsOwn) {
  const Char text[] = {'a', 'b', 'c', 0xE9, 0x20AC, 0xD83D};
  EXPECT_EQ(String(text, 6).ToUtf8(), "abc\xC3\xA9\xE2\x82\xAC\xED\xA0\xBD");
}

TEST(DataPaths, BareNamesGoToTheDataArea) {
  auto fix = [](const char* p) { return bb_data_FixDataPath(String(p)).ToCString(); };
  EXPECT_EQ(fix("sfx/jump.wav"), "tovrin://data/sfx/jump.wav");
  EXPECT_EQ(fix("a/b:/c"), "tovrin://data/a/b:/c");
  EXPECT_EQ(fix("c:/x.png"), "c:/x.png");
  EXPECT_EQ(fix("./x.png"), "./x.png");
  EXPECT_EQ(fix("/x.png"), "/x.png");
  EXPECT_EQ(fix("tovrin://data/x.png"), "tovrin://data/x.png");
}

TEST_F(InScratchFolder, AreasMapToFoldersAndUnknownAreasFail) {
  mkdir("data", 0755);
  mkdir("internal", 0755);
  write_file("data/a.txt", "in data");
  write_file("internal/b.txt", "in internal");
  mkdir("tovrin:", 0755);
  write_file("tovrin:/x", "plain path");
  EXPECT_EQ(app_load_string("tovrin://data/a.txt"), "in data");
  EXPECT_EQ(app_load_string("tovrin://internal/b.txt"), "in internal");
  EXPECT_EQ(fopenFile(String("tovrin://cache/a.txt"), String("rb")), nullptr);
  EXPECT_EQ(app_load_string("tovrin:/x"), "plain path");
  EXPECT_EQ(app_load_string("tovrin://data/missing.txt"), "");
}

TEST_F(InScratchFolder, StateFileRoundTripsAndIsAbsentAtFirst) {
  EXPECT_EQ(host()->LoadState().Length(), 0);
  EXPECT_EQ(host()->SaveState(String("abc")), 0);
  EXPECT_EQ(read_file(".tovrinstate"), "abc");
  const Char text[] = {'x', 0xE9, 0x20AC};
  EXPECT_EQ(host()->SaveState(String(text, 3)), 0);
  EXPECT_EQ(units(host()->LoadState()), (std::vector<int>{'x', 0xE9, 0x20AC}));
  EXPECT_EQ(host()->SaveState(String()), 0);
  EXPECT_EQ(read_file(".tovrinstate"), "");
  // A mark at the start reads the same as none.
  write_file(".tovrinstate", "\xEF\xBB\xBFhello");
  EXPECT_EQ(host()->LoadState().ToUtf8(), "hello");
}

TEST_F(InScratchFolder, StaleTemporaryFileNeverAffectsLoading) {
  write_file(".tovrinstate", "good");
  write_file(".tovrinstate.tmp", "half-written");
  EXPECT_EQ(host()->LoadState().ToUtf8(), "good");
  EXPECT_EQ(host()->SaveState(String("newer")), 0);
  EXPECT_EQ(host()->LoadState().ToUtf8(), "newer");
}

TEST_F(InScratchFolder, FailedSaveLeavesThePreviousFileAsItWas) {
  write_file(".tovrinstate", "previous");
  ASSERT_EQ(mkdir(".tovrinstate.tmp", 0755), 0);  // the temporary file cannot be created
  EXPECT_EQ(host()->SaveState(String("lost?")), -1);
  EXPECT_EQ(read_file(".tovrinstate"), "previous");
  rmdir(".tovrinstate.tmp");
}

TEST_F(InScratchFolder, FullDiskGivesAShortWriteAndKeepsThePreviousFile) {
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
  write_file(".tovrinstate", "previous");
  // The temporary file is where the bytes go first; make it the full device.
  ASSERT_EQ(symlink("/dev/full", ".tovrinstate.tmp"), 0);
  EXPECT_EQ(host()->SaveState(String(std::string(10000, 'x').c_str())), -2);
  EXPECT_EQ(read_file(".tovrinstate"), "previous");
}

// A process killed in the middle of saving leaves either the old or the new
// content, never a mixture or an empty file.
TEST_F(InScratchFolder, SaveKilledMidwayLeavesOldOrNewContent) {
  const std::string old_state(200000, 'o'), new_state(300000, 'n');
  write_file(".tovrinstate", old_state);
  for (int attempt = 0; attempt < 12; ++attempt) {
    pid_t pid = fork();
    if (pid == 0) {
      String a(old_state.c_str()), b(new_state.c_str());
      for (int i = 0;; ++i) host()->SaveState(i % 2 ? a : b);
    }
    usleep(2000 + attempt * 3000);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    std::string now = read_file(".tovrinstate");
    ASSERT_TRUE(now == old_state || now == new_state) << "attempt " << attempt << ": " << now.size() << " bytes";
  }
}

}  // namespace
