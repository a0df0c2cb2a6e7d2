// What the desktop program shows of a tournament, from its document (velkaran-tournament --json, a
// merge of shards, or a tournament the program played): the counts and statistics the command-line
// report is made from, a small row per game, and the records behind them for replays; and every
// table of the view as Russian text.
#pragma once

#include "results_text.h"
#include "tournament_games.h"

#include "records/record_archive.h"
#include "tournament/tournament_statistics.h"

#include <memory>
#include <string>
#include <vector>

namespace velkaran {

struct TTournamentSummary {
    std::shared_ptr<const TTournamentResults> Results;
    TTournamentStatistics Statistics;         // ComputeStatistics(*Results)
    std::vector<std::string> Names;           // the bots as the tables name them, by index
    std::vector<TTournamentGameRow> Games;    // row I is record I of Archive
    std::shared_ptr<TRecordArchive> Archive;  // null when the games cannot be replayed
    bool Complete = true;                     // false for a tournament stopped before its end
    std::string DecimalSeparator;
};

// The tournament of the document at Path, every game checked as velkaran-tournament checks a saved
// tournament's (it replays through the rules, belongs to the schedule, is counted once). Null, with
// Error (Russian), when the file cannot be read, is not a tournament's document, or holds a game
// that does not fit.
std::shared_ptr<TTournamentSummary> LoadTournamentSummary(const std::string &Path,
                                                          const std::string &DecimalSeparator,
                                                          std::string &Error);

// The statistics, names and rows of Results (the rows in Games, the records in Archive).
std::shared_ptr<TTournamentSummary> SummarizeTournament(std::shared_ptr<const TTournamentResults> Results,
                                                        std::vector<TTournamentGameRow> Games,
                                                        std::shared_ptr<TRecordArchive> Archive,
                                                        bool Complete, const std::string &DecimalSeparator);

// The tables of the tournament view.
struct TTournamentText {
    std::string Headline;            // format, bots, pairs, games played
    std::vector<std::string> Notes;  // start positions, move limit, how the ratings were made, SPRT
    TTextTable Standings;            // place, bot, games, wins, draws, losses, points, score, Elo
    TTextTable Crosstable;           // a row's points against a column's, best first
    TTextTable Encounters;           // each pair of bots: games, score, Elo with its interval, LOS
    TTextTable ThinkingTime;         // per bot: moves, mean, 95th percentile, maximum
    TTextTable Endings;              // per bot: the games it lost by each way they ended, its draws
};

TTournamentText TournamentText(const TTournamentSummary &Summary);

}  // namespace velkaran
