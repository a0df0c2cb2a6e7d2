// What the main window keeps between runs of the program (QSettings "Velkaran" / "Velkaran").
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velkaran {

struct TStoredChoices {
    std::string FirstLibrary;          // the file name of player 1's chosen bot; empty for none
    std::string SecondLibrary;         // the same for player 2
    std::optional<int32_t> GameCount;  // absent when never stored (or not a number)
    std::optional<int32_t> TurnLimit;
    std::optional<int32_t> MoveLimitMs;
    std::optional<bool> FirstHuman;  // the "Человек" boxes
    std::optional<bool> SecondHuman;
    std::optional<int32_t> ModeItem;  // one game (0) or a series (1)
};

// The choices stored by the last run; all empty on a first run.
TStoredChoices LoadStoredChoices();

// Stores Choices for the next run (an empty library name removes the stored one).
void SaveStoredChoices(const TStoredChoices &Choices);

// The folder where series are kept: the one the user chose, else the default under the XDG data
// home (see DefaultResultsFolder).
std::string StoredResultsFolder();
// Keeps series in Folder from now on (an empty one goes back to the default).
void StoreResultsFolder(const std::string &Folder);

// The documents the user opened last, the latest first (at most RecentFileCount).
inline constexpr int RecentFileCount = 20;
std::vector<std::string> RecentFiles();
// Puts Path first among the recent files; Forget takes it out.
void AddRecentFile(const std::string &Path);
void ForgetRecentFile(const std::string &Path);

}  // namespace velkaran
