// velkaran-match --list: one line per "*.so" entry of the current folder, in byte order, with its
// bot's name or why it cannot be used.
#include "cli_run.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace velkaran::testing {
namespace {

using ::testing::HasSubstr;

TEST(List, NamesEveryLibraryAndMarksTheUnusableOnes) {
    MatchFolder Folder;
    Folder.AddSampleBot("greedy.so");
    Folder.AddSampleBot("passive.so");
    Folder.AddSampleBot("planner.so");
    Folder.AddSampleBot("greedy.so", "Zgreedy.so");  // capitals sort before small letters
    Folder.AddTextFile("broken.so");
    Folder.AddFolder("d.so");
    Folder.AddTestBot("turnless_bot", "noturn.so");
    Folder.AddTextFile("notes.txt");
    const TCliRun Run = Folder.Run({"--list"});
    EXPECT_EQ(Run.Status, 0);
    const std::vector<std::string> Listed = Lines(Run.Out);
    ASSERT_EQ(Listed.size(), 7u) << Run.Out;
    EXPECT_EQ(Listed[0], "Zgreedy.so  Greedy");
    EXPECT_TRUE(Listed[1].starts_with("broken.so   unusable: not a loadable library")) << Listed[1];
    EXPECT_TRUE(Listed[2].starts_with("d.so        unusable: ")) << Listed[2];
    EXPECT_EQ(Listed[3], "greedy.so   Greedy");
    EXPECT_EQ(Listed[4], "noturn.so   unusable: missing export \"GetTurn\"");
    EXPECT_EQ(Listed[5], "passive.so  Passive");
    EXPECT_EQ(Listed[6], "planner.so  Planner");
}

TEST(List, EmptyFolderListsNothing) {
    MatchFolder Folder;
    const TCliRun Run = Folder.Run({"--list"});
    EXPECT_EQ(Run.Status, 0);
    EXPECT_EQ(Run.Out, "");
}

}  // namespace
}  // namespace velkaran::testing
