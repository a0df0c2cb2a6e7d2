// A tournament's games as the desktop program lists them: one small row per game, with the bots
// by their index in the configuration, and the list sorted and filtered as the user asks. Rows
// stay in the order their records were read, so that row I is record I of the tournament's archive.
#pragma once

#include "records/game_record.h"
#include "tournament/schedule.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velkaran {

struct TTournamentGameRow {
    int64_t Number = 0;
    int32_t Encounter = 0;
    std::array<int32_t, 2> Bots{};  // the bots of seats 0 (moved first) and 1
    int32_t Winner = -1;            // the bot that won; -1 for a draw
    TTermination Termination = TTermination::None;
    int32_t Rounds = 0;
    std::string Reason;  // why the loser lost beyond the ending's name; mostly empty
};

// The row of Record, a game of Schedule (its bots found by the game's place).
TTournamentGameRow TournamentGameRow(const TGameRecord &Record, const TSchedule &Schedule);

// The games to show; an empty member lets every game through.
struct TTournamentGameFilter {
    std::optional<int32_t> Bot;     // the bot played in it
    std::optional<int32_t> Winner;  // that bot won it; -1: a draw
    std::optional<TTermination> Ending;
    bool Passes(const TTournamentGameRow &Row) const;
};

// The columns of the list (TournamentGameListHeader), in its order.
enum class TTournamentGameColumn { Number, First, Second, Result, Ending, Rounds, Reason };

// The indices of the rows of Rows that pass Filter, ordered by Column (numbers by value, bots and
// the result by their names in Names, a draw after every win; endings as the termination table lists
// them; reasons by their bytes), reversed when not Ascending; equals keep the rows' order.
std::vector<std::size_t> OrderTournamentGames(const std::vector<TTournamentGameRow> &Rows,
                                              const TTournamentGameFilter &Filter,
                                              TTournamentGameColumn Column, bool Ascending,
                                              const std::vector<std::string> &Names);

// The list's header, and the cells of Row (bots named by Names).
std::vector<std::string> TournamentGameListHeader();
std::vector<std::string> TournamentGameRowText(const TTournamentGameRow &Row,
                                               const std::vector<std::string> &Names);

}  // namespace velkaran
