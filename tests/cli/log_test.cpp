// --log FILE saves the result text as the result window would: Windows-1251, CR LF.
#include "cli_run.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <iconv.h>
#include <signal.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <sstream>
#include <thread>

namespace velkaran::testing {
namespace {

using ::testing::HasSubstr;

// Text (UTF-8) in Windows-1251, with every "\n" turned into CR LF.
std::string Windows1251WithCrLf(const std::string &Text) {
    iconv_t Converter = iconv_open("CP1251", "UTF-8");
    EXPECT_NE(Converter, reinterpret_cast<iconv_t>(-1));
    std::string In = Text;
    std::string Out(In.size() * 2, '\0');
    char *InPointer = In.data();
    char *OutPointer = Out.data();
    std::size_t InLeft = In.size(), OutLeft = Out.size();
    EXPECT_NE(iconv(Converter, &InPointer, &InLeft, &OutPointer, &OutLeft), static_cast<std::size_t>(-1));
    iconv_close(Converter);
    Out.resize(Out.size() - OutLeft);
    std::string Result;
    for (char Byte : Out) Result += Byte == '\n' ? std::string("\r\n") : std::string(1, Byte);
    return Result;
}

std::string ReadBytes(const std::filesystem::path &Path) {
    std::ifstream File(Path, std::ios::binary);
    std::ostringstream Bytes;
    Bytes << File.rdbuf();
    return Bytes.str();
}

TEST(Log, HoldsTheTextInWindows1251WithCrLfAndReplacesAnOldFile) {
    MatchFolder Folder;
    Folder.AddSampleBot("greedy.so");
    Folder.AddSampleBot("passive.so");
    Folder.AddTextFile("result.log", std::string(100000, 'x'));
    const TCliRun Run = Folder.Run({"--games", "1", "--log", "result.log", "greedy.so", "passive.so"});
    ASSERT_EQ(Run.Status, 0) << Run.Err;
    EXPECT_EQ(Run.Err, "");
    const std::string Saved = ReadBytes(Folder.Path / "result.log");
    EXPECT_EQ(Saved, Windows1251WithCrLf(Run.Out));
    EXPECT_EQ(Saved.substr(0, 15), "\xCF\xE5\xF0\xE2\xFB\xE9 \xE8\xE3\xF0\xEE\xEA : ");  // "Первый игрок : "
}

TEST(Log, APathThatCannotTakeTheLogIsRefusedBeforeAnyGameAndAFailedWriteFailsAfterTheText) {
    MatchFolder Folder;
    Folder.AddSampleBot("greedy.so");
    Folder.AddSampleBot("passive.so");
    Folder.AddFolder("folder");
    for (const char *Path : {"no-such-folder/result.log", "folder"}) {
        const TCliRun Run = Folder.Run({"--games", "1000000", "--log", Path, "greedy.so", "passive.so"});
        EXPECT_EQ(Run.Status, 2) << Path;
        EXPECT_EQ(Run.Out, "");
        EXPECT_THAT(Run.Err, HasSubstr("velkaran-match: --log: ")) << Path;
        EXPECT_THAT(Run.Err, HasSubstr(Path));
    }
    const TCliRun Plain = Folder.Run({"--games", "0", "greedy.so", "passive.so"});
    const TCliRun Full = Folder.Run({"--games", "0", "--log", "/dev/full", "greedy.so", "passive.so"});
    EXPECT_EQ(Full.Status, 1);
    EXPECT_EQ(Full.Out, Plain.Out);
    EXPECT_THAT(Full.Err, HasSubstr("Stream write error"));
}

TEST(Log, CtrlCOnASeriesKeepsTheTextTheJsonAndTheLogOfTheGamesFinished) {
    MatchFolder Folder;
    Folder.AddSampleBot("greedy.so");
    Folder.AddTestBot("deliberate_bot", "deliberate.so");  // 2 ms a move
    TCliChild Child = Folder.Start(VELKARAN_MATCH_PATH, {"--games", "1000", "--log", "log.txt", "--json",
                                                         "games.json", "deliberate.so", "greedy.so"});
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    kill(Child.Pid, SIGINT);
    const TCliRun Run = Folder.Finish(Child);
    EXPECT_EQ(Run.Status, 130) << Run.Err;
    const std::vector<std::string> Text = Lines(Run.Out);
    ASSERT_GT(Text.size(), 4u) << Run.Out;
    EXPECT_TRUE(Text[3].starts_with("Серия остановлена после ")) << Text[3];
    EXPECT_TRUE(Text[3].ends_with(" из 2000 игр")) << Text[3];
    const int64_t Played = std::stoll(Text[3].substr(std::string("Серия остановлена после ").size()));
    EXPECT_THAT(Run.Err, HasSubstr("velkaran-match: stopped by a signal after " + std::to_string(Played) +
                                   " of 2000 games\n"));
    EXPECT_EQ(ReadBytes(Folder.Path / "log.txt"), Windows1251WithCrLf(Run.Out));
    std::ifstream Json(Folder.Path / "games.json");
    const nlohmann::json Document = nlohmann::json::parse(Json);
    EXPECT_EQ(Document["complete"], false);
    EXPECT_EQ(static_cast<int64_t>(Document["games"].size()), Played);
    EXPECT_THAT(Folder.ProcessesLeft(), ::testing::IsEmpty());
}

}  // namespace
}  // namespace velkaran::testing
