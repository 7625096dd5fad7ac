#include "host/files.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include "child_process.h"

namespace fs = std::filesystem;

namespace {

// Each test runs in a fresh working directory, as the state file is relative to it.
class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = fs::current_path();
    dir_ = fs::temp_directory_path() /
           ("zv_files_" + std::to_string(getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    fs::current_path(dir_);
  }
  void TearDown() override {
    fs::current_path(previous_);
    fs::remove_all(dir_);
  }
  static void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  fs::path previous_, dir_;
};

}  // namespace

TEST(DataPaths, AssetNamesGoToTheDataSchemeUnlessAlreadyPlaced) {
  EXPECT_EQ(FixDataPath("common/icons.png"), String("brisko://data/common/icons.png"));
  EXPECT_EQ(FixDataPath("./foo.png"), String("./foo.png"));
  EXPECT_EQ(FixDataPath("/foo.png"), String("/foo.png"));
  EXPECT_EQ(FixDataPath("brisko://internal/a"), String("brisko://internal/a"));
  EXPECT_EQ(FixDataPath("c:/x"), String("c:/x"));
  // A ":/" after the first folder is not a scheme.
  EXPECT_EQ(FixDataPath("a/b:/c"), String("brisko://data/a/b:/c"));
}

TEST_F(FilesTest, SchemesMapOntoFoldersOfTheWorkingDirectory) {
  fs::create_directories("data/sfx");
  EXPECT_EQ(PathToFilePath("brisko://data/sfx/001.wav"), String("./data/sfx/001.wav"));
  EXPECT_EQ(PathToFilePath("brisko://other/x"), String());
  EXPECT_EQ(PathToFilePath("plain/file"), String("plain/file"));
  EXPECT_EQ(OpenFile("brisko://other/x", "rb"), nullptr);
}

TEST_F(FilesTest, WithoutADataFolderHereTheOneBesideTheProgramIsUsed) {
  const fs::path beside = fs::read_symlink("/proc/self/exe").parent_path() / "internal";
  fs::create_directories(beside);
  EXPECT_EQ(PathToFilePath("brisko://internal/x.png"), String((beside / "x.png").string()));
  fs::create_directory("internal");
  EXPECT_EQ(PathToFilePath("brisko://internal/x.png"), String("./internal/x.png"));
  fs::remove_all(beside);
}

TEST_F(FilesTest, TextDecodingFollowsTheByteOrderMark) {
  Write("le.txt", std::string("\xFF\xFE"
                              "A\0\xE9\0",
                              6));
  Write("be.txt", std::string("\xFE\xFF\0A\x26\x3A", 6));
  Write("bom.txt", "\xEF\xBB\xBFhi \xC3\xA9");
  Write("latin1.txt", "\xE9");
  Write("cut.txt", "ok\xE2\x82");
  EXPECT_EQ(LoadString("le.txt"), String(u"A\u00e9"));
  EXPECT_EQ(LoadString("be.txt"), String(u"A\u263a"));
  EXPECT_EQ(LoadString("bom.txt"), String(u"hi \u00e9"));
  EXPECT_EQ(LoadString("latin1.txt"), String(u"\u00e9"));
  EXPECT_EQ(LoadString("cut.txt"), String(u"ok\u00e2\u0082"));
  EXPECT_EQ(LoadString("missing.txt"), String());
}

TEST_F(FilesTest, LoadDataReadsTheWholeFile) {
  std::string bytes(10000, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
  Write("blob.bin", bytes);
  Write("empty.bin", "");
  const auto data = LoadData("blob.bin");
  ASSERT_TRUE(data);
  EXPECT_EQ(std::string(data->begin(), data->end()), bytes);
  ASSERT_TRUE(LoadData("empty.bin"));
  EXPECT_TRUE(LoadData("empty.bin")->empty());
  EXPECT_FALSE(LoadData("missing.bin"));
}

TEST_F(FilesTest, StateRoundTripsAsUtf8) {
  EXPECT_EQ(ReadStateFile(), String());
  EXPECT_EQ(WriteStateFile(String(u"caf\u00e9")), 0);
  EXPECT_EQ(Read(kStateFile), "caf\xC3\xA9");
  EXPECT_EQ(ReadStateFile(), String(u"caf\u00e9"));
  EXPECT_EQ(WriteStateFile(String()), 0);
  EXPECT_EQ(Read(kStateFile), "");
  EXPECT_FALSE(fs::exists(std::string(kStateFile) + ".tmp"));
}

TEST_F(FilesTest, AFailedSaveLeavesThePreviousStateReadable) {
  ASSERT_EQ(WriteStateFile("scores that matter"), 0);
  const String big(std::string(100000, 'x'));
  // The write runs out of room partway: the file size limit stops it after 4 KiB.
  const auto result = RunInChild([&] {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &limit);
    _exit(-WriteStateFile(big));
  });
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(Read(kStateFile), "scores that matter");
  EXPECT_FALSE(fs::exists(std::string(kStateFile) + ".tmp"));
}

TEST_F(FilesTest, AStateFileThatCannotBeCreatedIsReported) {
  fs::create_directory(std::string(kStateFile) + ".tmp");
  EXPECT_EQ(WriteStateFile("x"), kSaveCannotCreate);
}

TEST_F(FilesTest, UrlsGoToTheOpenerAsOneArgument) {
  // A stand-in opener records what it was given.
  fs::create_directory("bin");
  Write("bin/xdg-open", "#!/bin/sh\nprintf '%s|' \"$@\" > " + (dir_ / "opened").string() + "\n");
  fs::permissions("bin/xdg-open", fs::perms::owner_all);
  const std::string oldPath = getenv("PATH");
  setenv("PATH", (dir_ / "bin").c_str(), 1);
  OpenUrl("http://example.invalid/a b;$(touch pwned)");
  OpenUrl("--help");
  setenv("PATH", oldPath.c_str(), 1);
  for (int i = 0; i < 200 && !fs::exists("opened"); ++i) usleep(10000);
  usleep(50000);
  EXPECT_EQ(Read("opened"), "http://example.invalid/a b;$(touch pwned)|");
  EXPECT_FALSE(fs::exists("pwned"));
}
