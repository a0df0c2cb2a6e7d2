// velkaran-match --list: one line per "*.so" entry of the current folder, in byte order.
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
    EXPECT_THAT(Run.Err, HasSubstr("noturn.so: missing export \"GetTurn\"\n"));
    EXPECT_THAT(Run.Err, HasSubstr("broken.so: not a loadable library"));
    EXPECT_EQ(Run.Out,
              "Greedy\n"
              "Недоступно\n"
              "Недоступно\n"
              "Greedy\n"
              "Недоступно\n"
              "Passive\n"
              "Planner\n");
}

TEST(List, EmptyFolderListsNothing) {
    MatchFolder Folder;
    const TCliRun Run = Folder.Run({"--list"});
    EXPECT_EQ(Run.Status, 0);
    EXPECT_EQ(Run.Out, "");
}

}  // namespace
}  // namespace velkaran::testing
