// A fresh folder per test, holding copies of the built test bots under chosen file names.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace velkaran::testing {

class TestBotFolder {
public:
    TestBotFolder() {
        std::string Pattern = (std::filesystem::temp_directory_path() / "velkaran-bots-XXXXXX").string();
        if (mkdtemp(Pattern.data()) == nullptr) ADD_FAILURE() << "cannot create a test folder";
        Path = Pattern;
    }
    ~TestBotFolder() {
        std::error_code Ignored;
        std::filesystem::remove_all(Path, Ignored);  // loaded libraries stay mapped; that is fine
    }
    TestBotFolder(const TestBotFolder &) = delete;
    TestBotFolder &operator=(const TestBotFolder &) = delete;

    // Copies the built test bot Bot (e.g. "good_bot") into the folder as FileName.
    void AddBot(const std::string &Bot, const std::string &FileName) const {
        std::filesystem::copy_file(std::filesystem::path(VELKARAN_TEST_BOTS_DIR) / (Bot + ".so"),
                                   Path / FileName);
    }
    // Writes a plain text file FileName.
    void AddTextFile(const std::string &FileName, const std::string &Text = "not a library\n") const {
        std::ofstream(Path / FileName) << Text;
    }
    void AddFolder(const std::string &Name) const { std::filesystem::create_directory(Path / Name); }
    std::string File(const std::string &Name) const { return (Path / Name).string(); }

    std::filesystem::path Path;
};

}  // namespace velkaran::testing
