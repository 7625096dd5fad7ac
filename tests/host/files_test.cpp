// Bounded data reads, the data folder and the state file, each test in a fresh folder that is
// the state folder. Failures are told once per run, so standard error is read from a child.
#include "host/files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <set>

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
  void SetUp() override { setenv(kStateDirVariable, ".", 1); }
  static void MarkAsData(const fs::path& folder, const std::string& version = kDataVersion) {
    fs::create_directories(folder);
    Write(folder / kDataMarkerFile, version + "\n");
  }
  static std::set<std::string> Entries() {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(".")) names.insert(entry.path().filename());
    return names;
  }
  // Standard error of the body; standard output is dropped.
  static std::string ToldBy(const std::function<void()>& body) {
    return RunInChild([&] {
             dup2(STDOUT_FILENO, STDERR_FILENO);
             dup2(open("/dev/null", O_WRONLY), STDOUT_FILENO);
             body();
           })
        .output;
  }
  ScratchFolder folder_{"files"};
};

}  // namespace

// A pipe named as data hung the game and a link to /dev/zero filled its memory.
TEST_F(Files, OnlyPlainFilesOfBoundedSizeAreRead) {
  mkfifo("pipe", 0600);
  fs::create_symlink("/dev/zero", "zero");
  Write("huge", "");
  fs::resize_file("huge", kLargestDataFile + 1);
  const std::pair<const char*, std::string> rows[] = {
      {"pipe", "not a plain file"},
      {"zero", "not a plain file"},
      {"huge", "larger than " + std::to_string(kLargestDataFile) + " bytes"}};
  for (const auto& [path, reason] : rows) {
    std::string why;
    EXPECT_FALSE(LoadData(path, &why)) << path;
    EXPECT_EQ(why, reason) << path;
  }
}

// Another version's "data" folder here does not hide the one beside the program; a marker
// that cannot be opened is not taken for missing data.
TEST_F(Files, TheDataFolderIsFoundByItsMarker) {
  const fs::path beside = fs::read_symlink("/proc/self/exe").parent_path() / "data";
  MarkAsData(beside);
  MarkAsData("data", "zorvane data 0");
  EXPECT_EQ(PathToFilePath("brisko://data/a.png"), String((beside / "a.png").string()));
  fs::remove_all(beside);
  MarkAsData("data");
  const std::string told = ToldBy([] {
    const int lowestFree = dup(STDIN_FILENO);
    close(lowestFree);
    const rlimit none{static_cast<rlim_t>(lowestFree), static_cast<rlim_t>(lowestFree)};
    setrlimit(RLIMIT_NOFILE, &none);
    PathToFilePath("brisko://data/a.png");
  });
  EXPECT_NE(told.find("zorvane-data.txt cannot be read: Too many open files"), told.npos) << told;
}

// The file size limit stops the write after 4 KiB: the previous state stays.
TEST_F(Files, AShortWriteLeavesThePreviousState) {
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
  EXPECT_EQ(Read(".briskostate"), "scores that matter");
  EXPECT_EQ(Entries(), std::set<std::string>{".briskostate"});
}

// Files and links planted where a save might write are neither followed nor reused; a linked
// state file stays linked, its target replaced.
TEST_F(Files, PlantedFilesAndLinksAreLeftAloneAndALinkedStateIsSavedThrough) {
  Write("target", "not yours");
  for (const bool link : {true, false}) {
    for (const char* planted : {".briskostate.tmp", ".briskostate.XXXXXX"}) {
      link ? fs::create_symlink(fs::absolute("target"), planted) : Write(planted, "planted");
    }
    EXPECT_EQ(WriteStateFile("saved"), 0);
    EXPECT_EQ(Read(".briskostate") + Read("target"), "savednot yours");
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
  for (const char* text : {"first", "second"}) {
    Write(".briskostate", text);
    ToldBy(KeepDamagedStateFile);
  }
  EXPECT_EQ(Read(DamagedStateFilePath()), "first");
  fs::last_write_time(DamagedStateFilePath(),
                      fs::file_time_type::clock::now() - std::chrono::hours(25));
  ToldBy(KeepDamagedStateFile);
  EXPECT_EQ(Read(DamagedStateFilePath()), "second");
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
