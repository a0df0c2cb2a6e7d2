// Saving the result text: Windows-1251 bytes, CR LF, overwriting, and the failure messages.
#include "match/result_log.h"

#include "match/windows1251.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace velkaran {
namespace {

class ResultLog : public ::testing::Test {
protected:
    void SetUp() override {
        std::string Pattern = (std::filesystem::temp_directory_path() / "velkaran-log-XXXXXX").string();
        ASSERT_NE(mkdtemp(Pattern.data()), nullptr);
        Folder = Pattern;
    }
    void TearDown() override { std::filesystem::remove_all(Folder); }

    static std::string Contents(const std::filesystem::path &Path) {
        std::ifstream File(Path, std::ios::binary);
        std::stringstream Bytes;
        Bytes << File.rdbuf();
        return Bytes.str();
    }
    // The entries of the folder, to see that nothing was left behind.
    std::size_t EntryCount() const {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(Folder),
                                                      std::filesystem::directory_iterator()));
    }

    std::filesystem::path Folder;
};

TEST_F(ResultLog, WritesWindows1251WithCrLfAfterEveryLine) {
    const auto Path = Folder / "log.txt";
    EXPECT_EQ(SaveResultLog({"Первый игрок : Bot 1", "", "Ёё 12,5%|"}, Path.string()), std::nullopt);
    EXPECT_EQ(Contents(Path),
              "\xCF\xE5\xF0\xE2\xFB\xE9 \xE8\xE3\xF0\xEE\xEA : Bot 1\r\n"
              "\r\n"
              "\xA8\xB8 12,5%|\r\n");
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(ResultLog, OverwritesAnExistingFileKeepingItsPermissions) {
    const auto Path = Folder / "log.txt";
    std::ofstream(Path) << "an older and much longer text than the new one\n";
    std::filesystem::permissions(Path,
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(SaveResultLog({"new"}, Path.string()), std::nullopt);
    EXPECT_EQ(Contents(Path), "new\r\n");
    EXPECT_EQ(std::filesystem::status(Path).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(SaveResultLog({}, Path.string()), std::nullopt);
    EXPECT_EQ(Contents(Path), "");
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(ResultLog, WritesThroughLinksToTheirTarget) {
    const auto Target = Folder / "target.txt";
    std::ofstream(Target) << "old\n";
    std::filesystem::create_symlink(Target, Folder / "link.txt");
    EXPECT_EQ(SaveResultLog({"new"}, (Folder / "link.txt").string()), std::nullopt);
    EXPECT_TRUE(std::filesystem::is_symlink(Folder / "link.txt"));
    EXPECT_EQ(Contents(Target), "new\r\n");

    std::filesystem::create_hard_link(Target, Folder / "hard.txt");
    EXPECT_EQ(SaveResultLog({"newer"}, (Folder / "hard.txt").string()), std::nullopt);
    EXPECT_EQ(Contents(Target), "newer\r\n");
}

TEST_F(ResultLog, ReportsWhatCouldNotBeCreatedOrWritten) {
    const auto Missing = Folder / "missing" / "log.txt";
    EXPECT_EQ(SaveResultLog({"x"}, Missing.string()),
              "Cannot create file \"" + Missing.string() + "\". No such file or directory");
    EXPECT_EQ(SaveResultLog({"x"}, Folder.string()),
              "Cannot create file \"" + Folder.string() + "\". Is a directory");

    // A relative name is shown with the full path.
    const std::filesystem::path Before = std::filesystem::current_path();
    std::filesystem::current_path(Folder);
    EXPECT_EQ(SaveResultLog({"x"}, "missing/./log.txt"),
              "Cannot create file \"" + Missing.string() + "\". No such file or directory");
    std::filesystem::current_path(Before);

    if (std::filesystem::exists("/dev/full")) {
        EXPECT_EQ(SaveResultLog({"x"}, "/dev/full"), "Stream write error");
    }
}

TEST(ToWindows1251, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_EQ(ToWindows1251("Ничья"), "\xCD\xE8\xF7\xFC\xFF");
    EXPECT_EQ(ToWindows1251("a€b"),
              "a\x88"
              "b");                                              // the euro sign has a place in 1251
    EXPECT_EQ(ToWindows1251("x中y😀z"), "x?y?z");                 // one '?' per character, not per byte
    EXPECT_EQ(ToWindows1251("bad \xFF\xC3 end"), "bad ?? end");  // bytes that are not UTF-8
    EXPECT_EQ(ToWindows1251("cut \xD0"), "cut ?");
}

}  // namespace
}  // namespace velkaran
