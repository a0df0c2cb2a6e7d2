// Start positions for the game pairs of a run: a book read from a JSON file, or positions made
// from a seed, and the book written back so that a run can be repeated and a book curated.
//
// The file is a JSON list of positions; each is {"first": SIDE, "second": SIDE}, and a side is an
// object with any of "base", "shield", "batteries", "mines", "laboratories", "energy", "metal"
// and "elements" (whole numbers; a field left out keeps its standard value). "first" belongs to
// whoever moves first.
#pragma once

#include "rules/start_position.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velkaran {

// The most positions a book may hold.
inline constexpr int64_t MaxOpenings = 100'000;

// The start positions of a run's game pairs. Copies share the positions.
struct TOpeningBook {
    // Empty (or null): every game starts from the standard start.
    std::shared_ptr<const std::vector<TStartPosition>> Positions;
    // Set when the positions are RandomStartPositions(*Seed, their count): then that is all a
    // document needs to keep of them.
    std::optional<uint64_t> Seed;

    int64_t Size() const { return Positions ? static_cast<int64_t>(Positions->size()) : 0; }
    bool Empty() const { return Size() == 0; }
    friend bool operator==(const TOpeningBook &A, const TOpeningBook &B);
};

// A book of Positions; Seed as TOpeningBook says.
TOpeningBook MakeOpeningBook(std::vector<TStartPosition> Positions, std::optional<uint64_t> Seed = {});

// Position as a book entry, every field written out.
nlohmann::json StartPositionToJson(const TStartPosition &Start);

// The position of a book entry, checked (StartPositionProblem); nothing, with Error, otherwise.
std::optional<TStartPosition> StartPositionFromJson(const nlohmann::json &Json, std::string &Error);

// The book as its JSON list, and back (1 to MaxOpenings positions, each checked; Error names the
// first bad one).
nlohmann::json OpeningsToJson(const std::vector<TStartPosition> &Openings);
std::optional<std::vector<TStartPosition>> OpeningsFromJson(const nlohmann::json &Json, std::string &Error);

// A run's book as its documents keep it: {"random": K, "seed": S} for positions made from a seed,
// else {"positions": [...]}. And back, checked; nothing, with Error, otherwise.
nlohmann::json OpeningBookToJson(const TOpeningBook &Book);
std::optional<TOpeningBook> OpeningBookFromJson(const nlohmann::json &Json, std::string &Error);

// The book that --openings names: "random:K" for positions 0 to K - 1 of Seed (K from 1 to
// MaxOpenings), anything else the path of a book file. Nothing, with Error, when it cannot be had.
std::optional<TOpeningBook> LoadOpenings(const std::string &Argument, uint64_t Seed, std::string &Error);

// True when Argument asks for random positions ("random:...").
bool IsRandomOpenings(const std::string &Argument);

// Writes the positions of Book to Path as a book file, atomically; false with Error.
bool WriteOpenings(const std::string &Path, const TOpeningBook &Book, std::string &Error);

// Where game pair Pair (from 0) starts: position Pair mod K of the book, the standard start when
// the book is empty. Both games of the pair start there, each with its own first player.
TStartPosition PairStart(const TOpeningBook &Book, int64_t Pair);

}  // namespace velkaran
