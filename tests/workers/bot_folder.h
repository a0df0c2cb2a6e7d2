// A fresh folder of bot libraries for a test, removed at its end.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace velkaran::testing {

class BotFolder {
public:
    BotFolder() {
        std::string Pattern = (std::filesystem::temp_directory_path() / "velkaran-workers-XXXXXX").string();
        if (mkdtemp(Pattern.data()) == nullptr) ADD_FAILURE() << "cannot create a test folder";
        Path = Pattern;
    }
    ~BotFolder() {
        std::error_code Ignored;
        std::filesystem::remove_all(Path, Ignored);
    }
    BotFolder(const BotFolder &) = delete;
    BotFolder &operator=(const BotFolder &) = delete;

    // Copies a misbehaving test bot (e.g. "crashing_bot") in as FileName; returns its path.
    std::string AddTestBot(const std::string &Bot, const std::string &FileName) const {
        return Copy(std::filesystem::path(VELKARAN_MISBEHAVING_BOTS_DIR) / (Bot + ".so"), FileName);
    }
    // Copies a sample bot (e.g. "passive.so") in; returns its path.
    std::string AddSampleBot(const std::string &Bot) const {
        return Copy(std::filesystem::path(VELKARAN_SAMPLE_BOTS_DIR) / Bot, Bot);
    }

    std::filesystem::path Path;

private:
    std::string Copy(const std::filesystem::path &From, const std::string &FileName) const {
        std::filesystem::copy_file(From, Path / FileName);
        return (Path / FileName).string();
    }
};

}  // namespace velkaran::testing
