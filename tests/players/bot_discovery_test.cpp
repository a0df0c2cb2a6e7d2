// Bot discovery: which entries of a folder are listed, in which order, with which text.
#include "players/bot_discovery.h"

#include "test_bot_folder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

namespace velkaran {
namespace {

using ::testing::ElementsAre;
using testing::TestBotFolder;

TEST(LoadBots, ListsEveryEntryEndingInSoInByteOrderWithItsNameOrUnavailable) {
    TestBotFolder Folder;
    Folder.AddBot("good_bot", "good.so");
    Folder.AddBot("good_bot", "Good copy.so");  // upper case sorts first; the same name twice
    Folder.AddBot("name30_bot", "name30.so");
    Folder.AddBot("name31_bot", "name31.so");
    Folder.AddBot("cyrillic_bot", "cyrillic.so");
    Folder.AddBot("empty_name_bot", "empty.so");
    Folder.AddBot("no_get_name_bot", "no_get_name.so");
    Folder.AddBot("null_name_bot", "null_name.so");
    Folder.AddBot("changing_name_bot", "changing.so");
    Folder.AddBot("invalid_set_bot", "invalid_set.so");
    Folder.AddBot("refusing_bot", "refusing.so");
    Folder.AddTextFile("x.so");
    Folder.AddFolder("d.so");
    ASSERT_EQ(mkfifo(Folder.File("pipe.so").c_str(), 0600), 0);  // must not block the loader
    Folder.AddBot("good_bot", "good.so.1");                      // not listed: the name must end in ".so"
    Folder.AddTextFile("notes.txt");

    TBotTable Table;
    LoadBots(Table, Folder.Path.string());
    EXPECT_THAT(Table.Texts, ElementsAre("Good bot",                        // Good copy.so
                                         "Second name!",                    // changing.so
                                         "Недоступно",                      // cyrillic.so
                                         "Недоступно",                      // d.so
                                         "",                                // empty.so
                                         "Good bot",                        // good.so
                                         "Invalid set",                     // invalid_set.so
                                         "0123456789 ()+-._ABCDEFGHIJKLM",  // name30.so
                                         "Недоступно",                      // name31.so
                                         "Недоступно",                      // no_get_name.so
                                         "Недоступно",                      // null_name.so
                                         "Недоступно",                      // pipe.so
                                         "Refuser",                         // refusing.so
                                         "Недоступно"));                    // x.so
    ASSERT_EQ(Table.Bots.size(), Table.Texts.size());
    for (std::size_t I = 0; I < Table.Bots.size(); ++I) {
        EXPECT_EQ(Table.Bots[I].Available, Table.Texts[I] != UnavailableText) << "entry " << I;
    }
    EXPECT_EQ(Table.Bots[4].Name, "");
    EXPECT_TRUE(Table.Bots[4].Available);
}

TEST(LoadBots, AnEntryWithoutGetTurnKeepsItsNameAndStartGame) {
    TestBotFolder Folder;
    Folder.AddBot("no_get_turn_bot", "no_get_turn.so");
    TBotTable Table;
    LoadBots(Table, Folder.Path.string());
    ASSERT_EQ(Table.Bots.size(), 1u);
    EXPECT_EQ(Table.Texts[0], "Недоступно");
    EXPECT_FALSE(Table.Bots[0].Available);
    EXPECT_EQ(Table.Bots[0].Name, "No GetTurn");
    EXPECT_NE(Table.Bots[0].StartGameProc, nullptr);
    EXPECT_EQ(Table.Bots[0].GetTurnProc, nullptr);
}

// Each run follows the folder as it is now; fields a failing check never reached keep what an
// earlier run left there, and matter nowhere since the entry is not available.
TEST(LoadBots, EachRunRebuildsTheTableFromTheFolder) {
    TestBotFolder Folder;
    Folder.AddBot("good_bot", "a.so");
    Folder.AddBot("refusing_bot", "b.so");
    TBotTable Table;
    LoadBots(Table, Folder.Path.string());
    ASSERT_THAT(Table.Texts, ElementsAre("Good bot", "Refuser"));
    const TBot Earlier = Table.Bots[0];

    std::filesystem::remove(Folder.Path / "a.so");
    std::filesystem::remove(Folder.Path / "b.so");
    Folder.AddTextFile("c.so");  // a new path: one already loaded would give its library again
    LoadBots(Table, Folder.Path.string());
    EXPECT_THAT(Table.Texts, ElementsAre("Недоступно"));
    ASSERT_EQ(Table.Bots.size(), 1u);
    EXPECT_FALSE(Table.Bots[0].Available);
    EXPECT_EQ(Table.Bots[0].Name, Earlier.Name);
    EXPECT_EQ(Table.Bots[0].GetTurnProc, Earlier.GetTurnProc);

    std::filesystem::remove(Folder.Path / "c.so");
    LoadBots(Table, Folder.Path.string());
    EXPECT_TRUE(Table.Bots.empty());
    EXPECT_TRUE(Table.Texts.empty());

    LoadBots(Table, (Folder.Path / "missing").string());
    EXPECT_TRUE(Table.Bots.empty());
}

// A loader that records the paths it is given and loads nothing.
class RecordingLoader final : public LibraryLoader {
public:
    void *Load(const std::string &Path, std::string &Error) override {
        Paths.push_back(Path);
        Error = "not loaded in this test";
        return nullptr;
    }
    void *Symbol(void *, const char *) override { return nullptr; }
    std::vector<std::string> Paths;
};

// The loader is always given a path with a folder, never a bare file name, which it would look
// up in the system's library folders instead of the current directory.
TEST(LoadBots, LoadsFromTheFolderNeverByBareName) {
    TestBotFolder Folder;
    Folder.AddTextFile("x.so");
    Folder.AddBot("good_bot", "good.so");
    const std::filesystem::path Before = std::filesystem::current_path();
    std::filesystem::current_path(Folder.Path);

    RecordingLoader Recorder;
    TBotTable Recorded;
    LoadBots(Recorded, ".", Recorder);
    EXPECT_THAT(Recorder.Paths, ElementsAre("./good.so", "./x.so"));

    TBotTable Table;
    LoadBots(Table);  // the current directory, with the system's loader
    EXPECT_THAT(Table.Texts, ElementsAre("Good bot", "Недоступно"));
    std::filesystem::current_path(Before);

    Recorder.Paths.clear();
    LoadBots(Recorded, Folder.Path.string() + "/", Recorder);
    EXPECT_THAT(Recorder.Paths, ElementsAre(Folder.File("good.so"), Folder.File("x.so")));
}

}  // namespace
}  // namespace velkaran
