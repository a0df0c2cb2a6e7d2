// What the main window keeps between runs of the program (QSettings "Velkaran" / "Velkaran").
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace velkaran {

struct TStoredChoices {
    std::string FirstLibrary;          // the file name of player 1's chosen bot; empty for none
    std::string SecondLibrary;         // the same for player 2
    std::optional<int32_t> GameCount;  // absent when never stored (or not a number)
    std::optional<int32_t> TurnLimit;
    std::optional<int32_t> MoveLimitMs;
};

// The choices stored by the last run; all empty on a first run.
TStoredChoices LoadStoredChoices();

// Stores Choices for the next run (an empty library name removes the stored one).
void SaveStoredChoices(const TStoredChoices &Choices);

}  // namespace velkaran
