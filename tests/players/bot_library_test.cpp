// Loading one bot library: the checks in their order, and a reason for every failure.
#include "players/bot_library.h"

#include "test_bot_folder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace velkaran {
namespace {

using ::testing::HasSubstr;
using testing::TestBotFolder;

TEST(LoadBotLibrary, AGoodBotIsAvailableWithItsNameAndEntryPoints) {
    TestBotFolder Folder;
    Folder.AddBot("good_bot", "good.so");
    const TBotLoad Load = LoadBotLibrary(Folder.File("good.so"));
    EXPECT_EQ(Load.Problem, TBotProblem::None);
    EXPECT_EQ(Load.Reason, "");
    EXPECT_TRUE(Load.Bot.Available);
    EXPECT_EQ(Load.Bot.Name, "Good bot");
    ASSERT_NE(Load.Bot.StartGameProc, nullptr);
    ASSERT_NE(Load.Bot.GetTurnProc, nullptr);

    // The entry points are the library's own: the bot fills a set when asked.
    TCardList Set{};
    TTurnInfo Info{};
    Load.Bot.StartGameProc(0, &Set, &Info);
    EXPECT_EQ(Set[0], 36);
    EXPECT_EQ(Set[14], 50);
}

TEST(LoadBotLibrary, EachFailedCheckGivesItsProblemAndAReadableReason) {
    TestBotFolder Folder;
    Folder.AddTextFile("x.so");
    Folder.AddBot("no_get_name_bot", "no_get_name.so");
    Folder.AddBot("null_name_bot", "null_name.so");
    Folder.AddBot("name31_bot", "name31.so");
    Folder.AddBot("no_start_game_bot", "no_start_game.so");

    const TBotLoad Text = LoadBotLibrary(Folder.File("x.so"));
    EXPECT_EQ(Text.Problem, TBotProblem::NotLoadable);
    EXPECT_THAT(Text.Reason, HasSubstr("not a loadable library: "));
    EXPECT_THAT(Text.Reason, HasSubstr("x.so"));  // the loader's own message names the file

    const TBotLoad Missing = LoadBotLibrary(Folder.File("missing.so"));
    EXPECT_EQ(Missing.Problem, TBotProblem::NotLoadable);
    EXPECT_THAT(Missing.Reason, HasSubstr("No such file"));

    const TBotLoad NoGetName = LoadBotLibrary(Folder.File("no_get_name.so"));
    EXPECT_EQ(NoGetName.Problem, TBotProblem::NoGetName);
    EXPECT_EQ(NoGetName.Reason, "missing export \"GetName\"");

    const TBotLoad NullName = LoadBotLibrary(Folder.File("null_name.so"));
    EXPECT_EQ(NullName.Problem, TBotProblem::NameRefused);
    EXPECT_THAT(NullName.Reason, HasSubstr("null pointer"));

    const TBotLoad LongName = LoadBotLibrary(Folder.File("name31.so"));
    EXPECT_EQ(LongName.Problem, TBotProblem::NameRefused);
    EXPECT_THAT(LongName.Reason, HasSubstr("\"ABCDEFGHIJKLMNOPQRSTUVWXYZabcde\" refused"));
    EXPECT_EQ(LongName.Bot.Name, "");

    const TBotLoad NoStartGame = LoadBotLibrary(Folder.File("no_start_game.so"));
    EXPECT_EQ(NoStartGame.Problem, TBotProblem::NoStartGame);
    EXPECT_EQ(NoStartGame.Reason, "missing export \"StartGame\"");
    EXPECT_EQ(NoStartGame.Bot.Name, "No StartGame");

    for (const TBotLoad *Load : {&Text, &Missing, &NoGetName, &NullName, &LongName, &NoStartGame}) {
        EXPECT_FALSE(Load->Bot.Available);
    }
}

TEST(LoadBotLibrary, WithoutGetTurnKeepsNameAndStartGame) {
    TestBotFolder Folder;
    Folder.AddBot("no_get_turn_bot", "no_get_turn.so");
    const TBotLoad Load = LoadBotLibrary(Folder.File("no_get_turn.so"));
    EXPECT_EQ(Load.Problem, TBotProblem::NoGetTurn);
    EXPECT_EQ(Load.Reason, "missing export \"GetTurn\"");
    EXPECT_FALSE(Load.Bot.Available);
    EXPECT_EQ(Load.Bot.Name, "No GetTurn");
    EXPECT_NE(Load.Bot.StartGameProc, nullptr);
    EXPECT_EQ(Load.Bot.GetTurnProc, nullptr);
}

// A name is checked on GetName's first answer and taken from its second.
TEST(LoadBotLibrary, TakesTheNameOfTheSecondCallUnchecked) {
    TestBotFolder Folder;
    Folder.AddBot("changing_name_bot", "changing.so");
    const TBotLoad Load = LoadBotLibrary(Folder.File("changing.so"));
    EXPECT_TRUE(Load.Bot.Available);
    EXPECT_EQ(Load.Bot.Name, "Second name!");  // would fail the check
}

}  // namespace
}  // namespace velkaran
