// Data paths and the data folder, bounded file reads, and the state file: where it lives, how
// it is saved, and what is told when that fails. Each test works in a fresh folder that is the
// state folder; standard error is read from a child, as each failure is told once per run.
#include "host/files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <optional>
#include <set>

#include "base/runtime.h"
#include "child_process.h"
#include "host/data_marker.h"
#include "host/state_file.h"
#include "scratch_folder.h"

namespace {

namespace fs = std::filesystem;
constexpr auto Write = WriteFileText;
constexpr auto Read = FileText;

class Files : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : kVariables) {
      if (const char* value = std::getenv(name)) saved_.emplace_back(name, value);
      unsetenv(name);
    }
    setenv(kStateDirVariable, ".", 1);
    dir_ = folder_.emplace("work").path();
  }
  void TearDown() override {
    folder_.reset();
    for (const char* name : kVariables) unsetenv(name);
    for (const auto& [name, value] : saved_) setenv(name, value.c_str(), 1);
  }
  static void MarkAsData(const fs::path& folder, const std::string& version = kDataVersion) {
    fs::create_directories(folder);
    Write(folder / kDataMarkerFile, version + "\n");
  }
  static std::set<std::string> Entries() {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(".")) names.insert(entry.path().filename());
    return names;
  }
  // Standard error of the body, and its standard output unless dropped.
  static std::string ToldBy(const std::function<void()>& body, bool withOutput = false) {
    return RunInChild([&] {
             dup2(STDOUT_FILENO, STDERR_FILENO);
             if (!withOutput) dup2(open("/dev/null", O_WRONLY), STDOUT_FILENO);
             body();
           })
        .output;
  }

  static constexpr const char* kVariables[] = {kStateDirVariable, "XDG_DATA_HOME", "HOME"};
  std::vector<std::pair<const char*, std::string>> saved_;
  std::optional<ScratchFolder> folder_;
  fs::path dir_;
};

}  // namespace

TEST(DataPaths, AssetNamesGoToTheDataSchemeUnlessAlreadyPlaced) {
  const std::pair<const char*, const char*> rows[] = {
      {"common/icons.png", "brisko://data/common/icons.png"},
      {"./foo.png", "./foo.png"},
      {"brisko://internal/a", "brisko://internal/a"},
      {"c:/x", "c:/x"},
      {"a/b:/c", "brisko://data/a/b:/c"},  // a ":/" after the first folder is no scheme
  };
  for (const auto& [path, fixed] : rows) EXPECT_EQ(FixDataPath(path), String(fixed)) << path;
  EXPECT_EQ(PathToFilePath("brisko://other/x"), String());
  EXPECT_EQ(DataFolderCandidates("/usr/bin"),
            (std::vector<std::string>{"./data", "/usr/share/zorvane", "/usr/bin/data"}));
}

// Only a folder with this version's marker is the data folder: an unrelated or older "data"
// folder here does not hide the one beside the program (shared by every test of the program).
TEST_F(Files, TheDataFolderIsTheFirstThatHoldsTheGameData) {
  const fs::path exeDir = fs::read_symlink("/proc/self/exe").parent_path();
  const fs::path beside = exeDir / "data";
  fs::create_directory("data");
  // With no data anywhere one line names the places searched (once).
  EXPECT_EQ(ToldBy(
                [] {
                  kvPrint(PathToFilePath("brisko://data/a.png"));
                  ReportUnloadableAsset("brisko://data/a.png", "No such file or directory");
                },
                true),
            "zorvane: no game data found (no zorvane-data.txt of \"" + std::string(kDataVersion) +
                "\" in ./data, " + (exeDir.parent_path() / "share/zorvane").string() + ", " +
                beside.string() + "); the game runs without its images and sounds\n./data/a.png\n");
  MarkAsData(beside);
  const String besideIcons((beside / "icons.png").string());
  MarkAsData("data", "zorvane data 0");
  EXPECT_EQ(PathToFilePath("brisko://data/icons.png"), besideIcons) << "another version's data";
  MarkAsData("data");
  EXPECT_EQ(PathToFilePath("brisko://data/icons.png"), String("./data/icons.png"));
  fs::remove_all(beside);
}

// A marker that cannot be opened is not taken for missing data: the cause is named.
TEST_F(Files, AMarkerThatCannotBeOpenedNamesTheCause) {
  MarkAsData("data");
  const std::string told = ToldBy([] {
    const int lowestFree = dup(STDIN_FILENO);
    close(lowestFree);
    const rlimit none{static_cast<rlim_t>(lowestFree), static_cast<rlim_t>(lowestFree)};
    setrlimit(RLIMIT_NOFILE, &none);
    PathToFilePath("brisko://data/a.png");
  });
  EXPECT_TRUE(
      told.ends_with("; ./data/zorvane-data.txt cannot be read: Too many open files); "
                     "the game runs without its images and sounds\n"))
      << told;
}

// A pipe named as data hung the game and a link to /dev/zero filled its memory.
TEST_F(Files, OnlyPlainFilesOfBoundedSizeAreReadAndTextFollowsItsByteOrderMark) {
  mkfifo("pipe", 0600);
  fs::create_symlink("/dev/zero", "zero");
  fs::create_directory("folder");
  Write("huge", "");
  fs::resize_file("huge", kLargestDataFile + 1);
  const std::pair<const char*, std::string> rows[] = {
      {"pipe", "not a plain file"},
      {"zero", "not a plain file"},
      {"folder", "Is a directory"},
      {"huge", "larger than " + std::to_string(kLargestDataFile) + " bytes"},
  };
  for (const auto& [path, reason] : rows) {
    std::string why;
    EXPECT_FALSE(LoadData(path, &why)) << path;
    EXPECT_EQ(why, reason) << path;
  }
  const std::pair<std::string, std::u16string> texts[] = {
      {std::string("\xFF\xFE"
                   "A\0\xE9\0",
                   6),
       u"A\u00e9"},
      {std::string("\xFE\xFF\0A\x26\x3A", 6), u"A\u263a"},
      {"\xEF\xBB\xBFhi \xC3\xA9", u"hi \u00e9"},
      {"ok\xE2\x82", u"ok\u00e2\u0082"},  // cut UTF-8 reads as Latin-1
  };
  for (const auto& [bytes, text] : texts) {
    Write("text", bytes);
    EXPECT_EQ(LoadString("text"), String(text)) << bytes;
  }
}

TEST_F(Files, TheStateFolderComesFromTheOverrideThenTheDesktopsDataFolderThenHome) {
  const struct {
    const char *stateDir, *dataHome, *home;
    std::string folder;
  } rows[] = {
      {"/srv/saves", "/xdg", "/home/p", "/srv/saves"},
      {nullptr, "/xdg", "/home/p", "/xdg/zorvane"},
      {nullptr, "xdg", "/home/p", "/home/p/.local/share/zorvane"},  // relative: ignored
      {"", nullptr, "/home/p", "/home/p/.local/share/zorvane"},     // empty: ignored
  };
  for (const auto& row : rows) {
    for (const auto& [name, value] : {std::pair{kStateDirVariable, row.stateDir},
                                      {"XDG_DATA_HOME", row.dataHome},
                                      {"HOME", row.home}}) {
      value ? setenv(name, value, 1) : unsetenv(name);
    }
    EXPECT_EQ(StateFilePath(), row.folder + "/.briskostate");
  }
}

TEST_F(Files, TheStateRoundTripsAsUtf8InAPrivateFileAndFolder) {
  unsetenv(kStateDirVariable);
  setenv("XDG_DATA_HOME", (dir_ / "home").c_str(), 1);
  const fs::path folder = dir_ / "home/zorvane";
  EXPECT_EQ(ReadStateFile(), String());
  EXPECT_FALSE(fs::exists(folder)) << "reading creates nothing";
  ASSERT_EQ(WriteStateFile(String(u"caf\u00e9")), 0);
  EXPECT_EQ(Read(folder / ".briskostate"), "caf\xC3\xA9");
  EXPECT_EQ(ReadStateFile(), String(u"caf\u00e9"));
  EXPECT_EQ(fs::status(folder).permissions(), fs::perms::owner_all);
  EXPECT_EQ(fs::status(folder / ".briskostate").permissions(),
            fs::perms::owner_read | fs::perms::owner_write);
}

// The file size limit stops the write after 4 KiB: the previous state stays.
TEST_F(Files, AShortWriteLeavesThePreviousStateAndSaysWhy) {
  ASSERT_EQ(WriteStateFile("scores that matter"), 0);
  const auto result = RunInChild([] {
    dup2(STDOUT_FILENO, STDERR_FILENO);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &limit);
    _exit(-WriteStateFile(String(std::string(100000, 'x'))));
  });
  EXPECT_EQ(result.status, -kSaveShortWrite);
  EXPECT_EQ(result.output, "zorvane: cannot save the game in ./.briskostate: File too large\n");
  EXPECT_EQ(Read(StateFilePath()), "scores that matter");
  EXPECT_EQ(Entries(), std::set<std::string>{".briskostate"}) << "no temporary file is left";
}

// Files and links planted where a save might write are neither followed nor reused; a linked
// state file stays linked, its target replaced.
TEST_F(Files, PlantedFilesAndLinksAreLeftAloneAndALinkedStateIsSavedThrough) {
  Write("target", "not yours");
  for (const bool link : {true, false}) {
    for (const char* planted : {".briskostate.tmp", ".briskostate.XXXXXX"}) {
      link ? fs::create_symlink(dir_ / "target", planted) : Write(planted, "planted");
    }
    EXPECT_EQ(WriteStateFile("saved"), 0);
    EXPECT_EQ(Read(StateFilePath()), "saved");
    EXPECT_EQ(Read("target"), "not yours");
    EXPECT_EQ(Read(".briskostate.tmp") + Read(".briskostate.XXXXXX"),
              link ? "not yoursnot yours" : "plantedplanted");
    EXPECT_EQ(Entries().size(), 4u);
    fs::remove(".briskostate.tmp");
    fs::remove(".briskostate.XXXXXX");
  }
  fs::remove(".briskostate");
  fs::create_symlink("target", ".briskostate");
  ASSERT_EQ(WriteStateFile(String("new")), 0);
  EXPECT_TRUE(fs::is_symlink(".briskostate"));
  EXPECT_EQ(Read("target"), "new");
}

// The first damaged file is the one worth recovering: a later one replaces it only once it
// is a day old.
TEST_F(Files, ADamagedStateFileIsKeptUnlessARecentCopyExists) {
  const auto keep = [] { return ToldBy(KeepDamagedStateFile); };
  Write(StateFilePath(), "first damage");
  keep();
  EXPECT_EQ(Read(DamagedStateFilePath()), "first damage");
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

// A state path that is a folder, or a file larger than any save, may hide saved scores (50 MB
// of '|' once took 2.3 GB to read): nothing is saved over it, and the game says so once.
TEST_F(Files, AnUnreadableStatePathIsToldOnceAndNeverSavedOver) {
  const std::pair<std::function<void()>, std::string> rows[] = {
      {[] { fs::create_directories(".briskostate/inside"); }, "Is a directory"},
      {[] { Write(".briskostate", std::string((1 << 20) + 1, '|')); }, "larger than 1048576 bytes"},
  };
  for (const auto& [make, reason] : rows) {
    fs::remove_all(".briskostate");
    make();
    const auto before = fs::last_write_time(".briskostate");
    EXPECT_EQ(ToldBy([] {
                EXPECT_EQ(ReadStateFile(), String());
                EXPECT_EQ(WriteStateFile(String("defaults")), kSaveCannotCreate);
                EXPECT_EQ(WriteStateFile(String("defaults")), kSaveCannotCreate);
              }),
              "zorvane: cannot read the saved game in ./.briskostate: " + reason +
                  "; the game plays on and saves nothing over it\n");
    EXPECT_EQ(fs::last_write_time(".briskostate"), before) << reason;
    EXPECT_EQ(Entries(), std::set<std::string>{".briskostate"}) << reason;
  }
}

// A stand-in opener records what it was given: the address is one argument, never a shell's.
TEST_F(Files, UrlsGoToTheOpenerAsOneArgument) {
  fs::create_directory("bin");
  Write("bin/xdg-open", "#!/bin/sh\nprintf '%s|' \"$@\" > " + (dir_ / "opened").string() + "\n");
  fs::permissions("bin/xdg-open", fs::perms::owner_all);
  const std::string oldPath = getenv("PATH");
  setenv("PATH", (dir_ / "bin").c_str(), 1);
  OpenUrl("http://example.invalid/a b;$(touch pwned)");
  OpenUrl("--help");  // not an option of the opener
  setenv("PATH", oldPath.c_str(), 1);
  for (int i = 0; i < 200 && !fs::exists("opened"); ++i) usleep(10000);
  usleep(50000);
  EXPECT_EQ(Read("opened"), "http://example.invalid/a b;$(touch pwned)|");
  EXPECT_FALSE(fs::exists("pwned"));
}
