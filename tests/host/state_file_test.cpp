// Where the state file lives, the copy from where earlier builds kept it, and saving into a
// folder that cannot take it.
#include <algorithm>
#include <functional>
#include <set>

#include "host/files.h"
#include "sim/headless_game.h"
#include "work_folder.h"

namespace {

using StateFileTest = WorkFolderTest;

TEST_F(StateFileTest, TheFolderComesFromTheOverrideThenTheDesktopsDataFolderThenHome) {
  const struct {
    const char* what;
    const char* stateDir;
    const char* dataHome;
    const char* home;
    std::string folder;
  } cases[] = {
      {"the override wins", "/srv/saves", "/xdg", "/home/p", "/srv/saves"},
      {"the desktop's data folder", nullptr, "/xdg", "/home/p", "/xdg/zorvane"},
      {"a relative data folder is ignored", nullptr, "xdg", "/home/p",
       "/home/p/.local/share/zorvane"},
      {"an empty override is ignored", "", nullptr, "/home/p", "/home/p/.local/share/zorvane"},
  };
  for (const auto& c : cases) {
    for (const auto& [name, value] : {std::pair{kStateDirVariable, c.stateDir},
                                      {"XDG_DATA_HOME", c.dataHome},
                                      {"HOME", c.home}}) {
      if (value) {
        setenv(name, value, 1);
      } else {
        unsetenv(name);
      }
    }
    EXPECT_EQ(StateFolder(), c.folder) << c.what;
    EXPECT_EQ(StateFilePath(), c.folder + "/.briskostate") << c.what;
  }
}

TEST_F(StateFileTest, AMissingFolderIsCreatedPrivateWithItsParents) {
  setenv("XDG_DATA_HOME", (dir_ / "home/.local/share").c_str(), 1);
  const fs::path folder = dir_ / "home/.local/share/zorvane";
  EXPECT_EQ(ReadStateFile(), String()) << "nothing saved yet";
  EXPECT_FALSE(fs::exists(folder)) << "reading creates nothing";
  ASSERT_EQ(WriteStateFile(String("1|2|")), 0);
  EXPECT_EQ(Read(folder / ".briskostate"), "1|2|");
  for (const fs::path& made : {dir_ / "home", folder})
    EXPECT_EQ(fs::status(made).permissions(), fs::perms::owner_all) << made;
  EXPECT_EQ(ReadStateFile(), String("1|2|"));
}

// Earlier builds kept the state in the folder the game was started from.
TEST_F(StateFileTest, AnEarlierStateFileHereIsCopiedAcrossOnceAndKept) {
  const fs::path folder = dir_ / "saves";
  setenv(kStateDirVariable, folder.c_str(), 1);
  Write(".briskostate", "old scores");
  EXPECT_EQ(ToldBy([] { EXPECT_EQ(ReadStateFile(), String("old scores")); }),
            "zorvane: the saved game in ./.briskostate is now kept in " + folder.string() +
                "/.briskostate (the original stays where it was)\n");
  EXPECT_EQ(Read(folder / ".briskostate"), "old scores");
  EXPECT_EQ(Read(".briskostate"), "old scores");

  Write(".briskostate", "changed by an old build");
  EXPECT_EQ(ToldBy([] { EXPECT_EQ(ReadStateFile(), String("old scores")); }), "")
      << "copied only while the state folder has none";

  // The working folder as the state folder is no earlier place.
  setenv(kStateDirVariable, ".", 1);
  EXPECT_EQ(ToldBy([] { EXPECT_EQ(ReadStateFile(), String("changed by an old build")); }), "");
}

TEST_F(StateFileTest, AFolderThatCannotBeMadeIsToldOnceAndTheEarlierFileStillLoads) {
  Write(dir_ / "plain", "a file, not a folder");
  const std::string folder = (dir_ / "plain/zorvane").string();
  setenv(kStateDirVariable, folder.c_str(), 1);
  Write(".briskostate", "old scores");
  const std::string told = ToldBy([] {
    EXPECT_EQ(ReadStateFile(), String("old scores"));
    EXPECT_EQ(WriteStateFile(String("new")), kSaveCannotCreate);
    EXPECT_EQ(WriteStateFile(String("newer")), kSaveCannotCreate);
  });
  EXPECT_EQ(told, "zorvane: cannot copy the saved game in ./.briskostate to " + folder +
                      "/.briskostate: Not a directory; it is read where it is\n"
                      "zorvane: cannot create the save folder " +
                      folder + ": Not a directory; the game plays on without saving\n");
  EXPECT_EQ(Read(".briskostate"), "old scores");
  EXPECT_EQ(Read(dir_ / "plain"), "a file, not a folder");
}

// A state path that is a folder, or a file larger than any save, may hide saved scores:
// nothing is saved over it, and the game says so once.
TEST_F(StateFileTest, AnUnreadableStatePathIsToldOnceAndNeverSavedOver) {
  setenv(kStateDirVariable, ".", 1);
  const struct {
    std::function<void()> make;
    std::string reason;
  } cases[] = {
      {[] { fs::create_directories(".briskostate/inside"); }, "Is a directory"},
      {[] { Write(".briskostate", std::string((1 << 20) + 1, '|')); }, "larger than 1048576 bytes"},
  };
  for (const auto& c : cases) {
    fs::remove_all(".briskostate");
    c.make();
    const auto before = fs::last_write_time(".briskostate");
    const std::string told = ToldBy([] {
      EXPECT_EQ(ReadStateFile(), String());
      EXPECT_EQ(WriteStateFile(String("defaults")), kSaveCannotCreate);
      EXPECT_EQ(WriteStateFile(String("defaults")), kSaveCannotCreate);
    });
    EXPECT_EQ(told, "zorvane: cannot read the saved game in ./.briskostate: " + c.reason +
                        "; the game plays on and saves nothing over it\n");
    EXPECT_EQ(fs::last_write_time(".briskostate"), before) << c.reason;
    EXPECT_EQ(Entries(), std::set<std::string>{".briskostate"}) << "no temporary file is left";
  }
}

// A state file kept elsewhere through a link stays linked: the save replaces the link's target.
TEST_F(StateFileTest, ALinkedStateFileIsSavedThroughToItsTarget) {
  setenv(kStateDirVariable, ".", 1);
  fs::create_directory("elsewhere");
  Write("elsewhere/state", "old");
  fs::create_symlink("elsewhere/state", ".briskostate");
  ASSERT_EQ(WriteStateFile(String("new")), 0);
  EXPECT_TRUE(fs::is_symlink(".briskostate"));
  EXPECT_EQ(Read("elsewhere/state"), "new");
  EXPECT_EQ(ReadStateFile(), String("new"));
}

// The whole game with a state folder it cannot use: it loads defaults, plays and saves on
// without stopping, telling it once.
TEST_F(StateFileTest, TheGamePlaysOnWhenItCannotSave) {
  Write(dir_ / "plain", "");
  setenv(kStateDirVariable, (dir_ / "plain/zorvane").c_str(), 1);
  const std::string told = ToldBy([] {
    HeadlessGame game;
    game.StepUntilLoaded();
    SaveProgress(game.app().play, game.app().screens, game.app().save);
    game.Step(10);
    SaveProgress(game.app().play, game.app().screens, game.app().save);
    std::cerr << "still playing on screen " << game.app().screens.ScreenMode << "\n";
  });
  // (This test program has no game data beside it, which is told first.)
  EXPECT_TRUE(told.ends_with("zorvane: cannot create the save folder " +
                             (dir_ / "plain/zorvane").string() +
                             ": Not a directory; the game plays on without saving\n"
                             "still playing on screen 1\n"))
      << told;
  EXPECT_EQ(std::count(told.begin(), told.end(), '\n'), 3) << told;
}

}  // namespace
