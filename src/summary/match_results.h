// What the results view shows of a match, from a match being played or from a saved match
// document: the games counted and their records for replays.
#pragma once

#include "match_summary.h"
#include "results_text.h"

#include "records/record_archive.h"

#include <array>
#include <memory>
#include <string>

namespace velkaran {

// A match's games counted, with the records behind them.
struct TMatchResults {
    std::array<std::string, 2> Names;  // players 1 and 2 as the views name them
    TMatchScope Scope;
    TMatchSummary Summary;
    // Record I is game I of Summary.Games(); null when the games could not be kept.
    std::shared_ptr<TRecordArchive> Archive;
    std::string DecimalSeparator;
};

// The results of the match document at Path (as velkaran-match --json and the desktop program
// write it), its games counted in the file's order; the thinking time of single moves is not in
// a document, so that table stays empty. Null, with Error (Russian), when the file cannot be read,
// is not a match document, or holds a damaged record.
std::shared_ptr<TMatchResults> LoadMatchResults(const std::string &Path, const std::string &DecimalSeparator,
                                                std::string &Error);

}  // namespace velkaran
