// --log FILE saves the result text as the result window would: Windows-1251, CR LF.
#include "cli_run.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <iconv.h>

#include <fstream>
#include <sstream>

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

TEST(Log, FileThatCannotBeCreatedFailsAfterTheText) {
    MatchFolder Folder;
    Folder.AddSampleBot("greedy.so");
    Folder.AddSampleBot("passive.so");
    const TCliRun Plain = Folder.Run({"--games", "0", "greedy.so", "passive.so"});
    const TCliRun Run =
        Folder.Run({"--games", "0", "--log", "no-such-folder/result.log", "greedy.so", "passive.so"});
    EXPECT_EQ(Run.Status, 1);
    EXPECT_EQ(Run.Out, Plain.Out);
    EXPECT_THAT(Run.Err, HasSubstr("Cannot create file \""));
    EXPECT_THAT(Run.Err, HasSubstr("no-such-folder/result.log"));
}

}  // namespace
}  // namespace velkaran::testing
