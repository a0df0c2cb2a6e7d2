// A program bot's manifest: what it must say, how its command is split, where its program is found.
#include "players/bot_manifest.h"

#include "test_bot_folder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

namespace velkaran {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing::TestBotFolder;

TEST(BotManifest, FindsTheProgramInItsFolderOrOnPath) {
    TestBotFolder Folder;
    Folder.AddFolder("engine");
    Folder.AddTextFile("engine/run", "#!/bin/sh\n");
    chmod(Folder.File("engine/run").c_str(), 0755);
    Folder.AddTextFile("a.bot",
                       "# a comment\n\n  command = ./run --name \"Deep Blue\" \"a \\\"b\\\" \\\\c\"  \n"
                       "directory = engine\n");
    std::string Error;
    const auto Manifest = ReadBotManifest(Folder.File("a.bot"), Error);
    ASSERT_TRUE(Manifest) << Error;
    EXPECT_THAT(Manifest->Command, ElementsAre("./run", "--name", "Deep Blue", "a \"b\" \\c"));
    EXPECT_EQ(Manifest->Program, std::filesystem::canonical(Folder.File("engine/run")).string());
    EXPECT_EQ(Manifest->Directory, std::filesystem::canonical(Folder.File("engine")).string());

    Folder.AddTextFile("b.bot", "command = sh -c 'exit 0'\n");
    const auto OnPath = ReadBotManifest(Folder.File("b.bot"), Error);
    ASSERT_TRUE(OnPath) << Error;
    EXPECT_TRUE(OnPath->Program.ends_with("/sh")) << OnPath->Program;
    EXPECT_EQ(OnPath->Directory, std::filesystem::canonical(Folder.Path).string());
}

TEST(BotManifest, SaysWhatIsWrongWithAnUnusableOne) {
    TestBotFolder Folder;
    Folder.AddTextFile("script", "not executable\n");
    const std::pair<std::string, std::string> Cases[] = {
        {"", "no \"command = ...\" line"},
        {"command =\n", "line 1: the command is empty"},
        {"command = \"python3 bot.py\n", "line 1: a quote is not closed"},
        {"cmd = python3\n", "line 1: unknown key \"cmd\""},
        {"# ok\ncommand\n", "line 2: not of the form \"key = value\""},
        {"command = velkaran-no-such-program\n", "\"velkaran-no-such-program\" is not on PATH"},
        {"command = ./script\n", "\"./script\" is not an executable file"},
        {"command = sh\ndirectory = nowhere\n", "is not a folder"},
    };
    for (const auto &[Text, Reason] : Cases) {
        Folder.AddTextFile("x.bot", Text);
        std::string Error;
        EXPECT_FALSE(ReadBotManifest(Folder.File("x.bot"), Error)) << Text;
        EXPECT_THAT(Error, HasSubstr(Reason)) << Text;
    }
}

}  // namespace
}  // namespace velkaran
