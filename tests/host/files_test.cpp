#include "host/files.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include "base/runtime.h"
#include "host/data_marker.h"
#include "work_folder.h"

namespace {

// The working folder is also the state folder.
class FilesTest : public WorkFolderTest {
 protected:
  void SetUp() override {
    WorkFolderTest::SetUp();
    setenv(kStateDirVariable, ".", 1);
  }
  static void MarkAsData(const fs::path& folder, const std::string& version = kDataVersion) {
    fs::create_directories(folder);
    Write(folder / kDataMarkerFile, version + "\n");
  }
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

TEST_F(FilesTest, SchemesMapOntoFoldersHereOrElseBesideTheProgram) {
  MarkAsData("data");
  EXPECT_EQ(PathToFilePath("brisko://data/sfx/001.wav"), String("./data/sfx/001.wav"));
  EXPECT_EQ(PathToFilePath("brisko://other/x"), String());
  EXPECT_EQ(PathToFilePath("plain/file"), String("plain/file"));
  EXPECT_EQ(OpenFile("brisko://other/x", "rb"), nullptr);
  // Without such a folder here the one beside the program is used.
  const fs::path beside = fs::read_symlink("/proc/self/exe").parent_path() / "internal";
  fs::create_directories(beside);
  EXPECT_EQ(PathToFilePath("brisko://internal/x.png"), String((beside / "x.png").string()));
  fs::create_directory("internal");
  EXPECT_EQ(PathToFilePath("brisko://internal/x.png"), String("./internal/x.png"));
  fs::remove_all(beside);
}

// The installed data sits in ../share/zorvane from the program; with no program folder known
// only the working folder is searched.
TEST(DataFolders, SearchedHereThenInstalledThenBesideTheProgram) {
  EXPECT_EQ(DataFolderCandidates("/usr/bin"),
            (std::vector<std::string>{"./data", "/usr/share/zorvane", "/usr/bin/data"}));
  EXPECT_EQ(DataFolderCandidates(""), std::vector<std::string>{"./data"});
}

// Only a folder marked with this version's data marker is the data folder: an unrelated or
// older "data" folder in the working directory does not hide the one beside the program. One
// test, as the folder beside the program is shared by every test of this program.
TEST_F(FilesTest, TheDataFolderIsTheFirstThatHoldsTheGameData) {
  const fs::path exeDir = fs::read_symlink("/proc/self/exe").parent_path();
  const fs::path beside = exeDir / "data";
  fs::create_directory("data");
  // With no data anywhere one line names the places searched (once: the child's second look
  // says nothing), and no asset is told of on its own.
  const std::string told = ToldBy(
      [] {
        kvPrint(PathToFilePath("brisko://data/a.png"));
        ReportUnloadableAsset("brisko://data/a.png", "No such file or directory");
      },
      true);
  EXPECT_EQ(told, "zorvane: no game data found (no zorvane-data.txt of \"" +
                      std::string(kDataVersion) + "\" in ./data, " +
                      (exeDir.parent_path() / "share/zorvane").string() + ", " + beside.string() +
                      "); the game runs without its images and sounds\n./data/a.png\n");

  MarkAsData(beside);
  const String besideIcons((beside / "icons.png").string());
  EXPECT_EQ(PathToFilePath("brisko://data/icons.png"), besideIcons) << "an empty data folder";
  MarkAsData("data", "zorvane data 0");
  EXPECT_EQ(PathToFilePath("brisko://data/icons.png"), besideIcons) << "another version's data";
  MarkAsData("data");
  EXPECT_EQ(PathToFilePath("brisko://data/icons.png"), String("./data/icons.png"));
  fs::remove_all(beside);
}

// Files that could not be opened at all are not taken for missing data: the cause is named.
TEST_F(FilesTest, AMarkerThatCannotBeOpenedNamesTheCause) {
  MarkAsData("data");
  const std::string told = ToldBy([] {
    const int lowestFree = dup(STDIN_FILENO);
    close(lowestFree);
    const rlimit none{static_cast<rlim_t>(lowestFree), static_cast<rlim_t>(lowestFree)};
    setrlimit(RLIMIT_NOFILE, &none);
    PathToFilePath("brisko://data/a.png");
  });
  EXPECT_NE(told.find("no game data found"), std::string::npos) << told;
  EXPECT_TRUE(told.ends_with(
      "; ./data/zorvane-data.txt cannot be read: Too many open files); the game runs without "
      "its images and sounds\n"))
      << told;
}

// A pipe or a device named as data is refused at once instead of blocking the game or filling
// its memory, and so is a file larger than any asset.
TEST_F(FilesTest, OnlyPlainFilesOfBoundedSizeAreRead) {
  mkfifo("pipe", 0600);
  fs::create_symlink("/dev/zero", "zero");
  fs::create_directory("folder");
  Write("huge", "");
  fs::resize_file("huge", kLargestDataFile + 1);
  const struct {
    const char* path;
    std::string reason;
  } cases[] = {
      {"pipe", "not a plain file"},
      {"zero", "not a plain file"},
      {"folder", "Is a directory"},
      {"huge", "larger than " + std::to_string(kLargestDataFile) + " bytes"},
  };
  for (const auto& c : cases) {
    std::string why;
    EXPECT_FALSE(LoadData(c.path, &why)) << c.path;
    EXPECT_EQ(why, c.reason) << c.path;
  }
  Write("small", "12345");
  std::string bytes, why;
  EXPECT_EQ(ReadPlainFile("small", 4, bytes, why), ReadResult::kUnreadable);
  EXPECT_EQ(why, "larger than 4 bytes");
  EXPECT_EQ(ReadPlainFile("small", 5, bytes, why), ReadResult::kRead);
  EXPECT_EQ(bytes, "12345");
}

TEST_F(FilesTest, AnUnloadableAssetIsToldOncePerFile) {
  MarkAsData("data");
  EXPECT_EQ(ToldBy([] {
              for (const char* path :
                   {"brisko://data/a.png", "brisko://data/b.wav", "brisko://data/a.png"})
                ReportUnloadableAsset(path, "No such file or directory");
            }),
            "zorvane: cannot load ./data/a.png: No such file or directory\n"
            "zorvane: cannot load ./data/b.wav: No such file or directory\n");
}

TEST_F(FilesTest, WholeFilesAreReadAndTextDecodedByItsByteOrderMark) {
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

TEST_F(FilesTest, StateRoundTripsAsUtf8InAPrivateFile) {
  EXPECT_EQ(ReadStateFile(), String());
  EXPECT_EQ(WriteStateFile(String(u"caf\u00e9")), 0);
  EXPECT_EQ(Read(StateFilePath()), "caf\xC3\xA9");
  EXPECT_EQ(ReadStateFile(), String(u"caf\u00e9"));
  EXPECT_EQ(WriteStateFile(String()), 0);
  EXPECT_EQ(Read(StateFilePath()), "");
  EXPECT_EQ(fs::status(StateFilePath()).permissions(),
            fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(Entries(), std::set<std::string>{".briskostate"}) << "no temporary file is left";
}

TEST_F(FilesTest, AFailedSaveLeavesThePreviousStateReadableAndSaysWhy) {
  ASSERT_EQ(WriteStateFile("scores that matter"), 0);
  const String big(std::string(100000, 'x'));
  // The write runs out of room partway: the file size limit stops it after 4 KiB.
  const auto result = RunInChild([&] {
    dup2(STDOUT_FILENO, STDERR_FILENO);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &limit);
    _exit(-WriteStateFile(big));
  });
  EXPECT_EQ(result.status, -kSaveShortWrite);
  EXPECT_EQ(result.output, "zorvane: cannot save the game in ./.briskostate: File too large\n");
  EXPECT_EQ(Read(StateFilePath()), "scores that matter");
  EXPECT_EQ(Entries(), std::set<std::string>{".briskostate"}) << "no temporary file is left";
}

TEST_F(FilesTest, AStateFileThatCannotBeCreatedIsReported) {
  std::string reason;
  EXPECT_EQ(ReplaceFile("missing/state", "x", reason), kSaveCannotCreate);
  EXPECT_EQ(reason, "No such file or directory");
}

// Files and links planted where a save might write are neither followed nor reused.
TEST_F(FilesTest, PlantedTemporaryFilesAndLinksAreLeftAlone) {
  Write("target", "not yours");
  for (const bool link : {true, false}) {
    if (link) {
      fs::create_symlink(dir_ / "target", ".briskostate.tmp");
      fs::create_symlink(dir_ / "target", ".briskostate.XXXXXX");
    } else {
      Write(".briskostate.tmp", "planted");
      Write(".briskostate.XXXXXX", "planted");
    }
    EXPECT_EQ(WriteStateFile(link ? "over links" : "over files"), 0);
    EXPECT_EQ(Read(StateFilePath()), link ? "over links" : "over files");
    EXPECT_EQ(Read("target"), "not yours");
    EXPECT_EQ(Entries(), (std::set<std::string>{"target", ".briskostate", ".briskostate.tmp",
                                                ".briskostate.XXXXXX"}));
    if (!link) {
      EXPECT_EQ(Read(".briskostate.tmp") + Read(".briskostate.XXXXXX"), "plantedplanted");
    }
    fs::remove(".briskostate.tmp");
    fs::remove(".briskostate.XXXXXX");
  }

}

// The first damaged file is the one worth recovering: a later one replaces it only once it
// is a day old.
TEST_F(FilesTest, ADamagedStateFileIsKeptUnlessARecentCopyExists) {
  const auto keep = [] { return ToldBy(KeepDamagedStateFile); };
  EXPECT_EQ(keep(), "") << "no state file, nothing to keep";
  EXPECT_FALSE(fs::exists(DamagedStateFilePath()));

  Write(StateFilePath(), "first damage");
  keep();
  EXPECT_EQ(Read(DamagedStateFilePath()), "first damage");
  EXPECT_EQ(fs::status(DamagedStateFilePath()).permissions(),
            fs::perms::owner_read | fs::perms::owner_write);

  Write(StateFilePath(), "second damage");
  EXPECT_EQ(keep(),
            "zorvane: the state file ./.briskostate was damaged and its bad blocks reset; an "
            "earlier damaged copy, less than a day old, stays in ./.briskostate.damaged\n");
  EXPECT_EQ(Read(DamagedStateFilePath()), "first damage");

  fs::last_write_time(DamagedStateFilePath(),
                      fs::file_time_type::clock::now() - std::chrono::hours(25));
  keep();
  EXPECT_EQ(Read(DamagedStateFilePath()), "second damage");
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
