// Comparing a result text whole against an expected file in tests/match/golden/.
// Run the tests with VELKARAN_UPDATE_GOLDEN=1 to rewrite the files on purpose, then review the diff.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace velkaran::testing {

// The lines as a file holds them: each followed by "\n".
inline std::string JoinLines(const std::vector<std::string> &Lines) {
    std::string Text;
    for (const std::string &Line : Lines) Text += Line + "\n";
    return Text;
}

// Expects Lines to equal the golden file Name, line for line.
inline void ExpectGolden(const std::vector<std::string> &Lines, const std::string &Name) {
    const std::string Path = std::string(VELKARAN_GOLDEN_DIR) + "/" + Name;
    if (std::getenv("VELKARAN_UPDATE_GOLDEN") != nullptr) {
        std::ofstream(Path, std::ios::binary) << JoinLines(Lines);
        GTEST_SKIP() << "rewrote " << Path;
    }
    std::ifstream File(Path, std::ios::binary);
    ASSERT_TRUE(File) << "missing golden file " << Path;
    std::stringstream Expected;
    Expected << File.rdbuf();
    EXPECT_EQ(JoinLines(Lines), Expected.str()) << "differs from " << Path;
}

}  // namespace velkaran::testing
