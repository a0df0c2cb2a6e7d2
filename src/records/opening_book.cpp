// Books of start positions: their JSON form, files, and positions made from a seed.
#include "opening_book.h"

#include "atomic_file.h"

#include "rules/random_start_positions.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>

namespace velkaran {
namespace {

using nlohmann::json;

struct TField {
    const char *Name;
    int32_t TPlayerStatus::*Value;
};

constexpr TField Fields[] = {{"base", &TPlayerStatus::Base},
                             {"shield", &TPlayerStatus::Shield},
                             {"batteries", &TPlayerStatus::Batteries},
                             {"mines", &TPlayerStatus::Mines},
                             {"laboratories", &TPlayerStatus::Laboratories},
                             {"energy", &TPlayerStatus::Energy},
                             {"metal", &TPlayerStatus::Metal},
                             {"elements", &TPlayerStatus::Elements}};

constexpr const char *SideNames[] = {"first", "second"};

json SideToJson(const TPlayerStatus &Side) {
    json Json = json::object();
    for (const TField &Field : Fields) Json[Field.Name] = Side.*Field.Value;
    return Json;
}

// The side of Json called Name, over the standard values; false with Error.
bool SideFromJson(const json &Json, const char *Name, TPlayerStatus &Side, std::string &Error) {
    if (!Json.contains(Name) || !Json[Name].is_object()) {
        Error = std::string("\"") + Name + "\" is missing or not an object";
        return false;
    }
    for (const auto &[Key, Value] : Json[Name].items()) {
        const TField *Field = nullptr;
        for (const TField &Known : Fields)
            if (Key == Known.Name) Field = &Known;
        if (Field == nullptr) {
            Error =
                "\"" + std::string(Name) + "\" has an unknown field \"" + Key +
                "\" (the fields are base, shield, batteries, mines, laboratories, energy, metal, elements)";
            return false;
        }
        if (!Value.is_number_integer() || Value.get<int64_t>() < INT32_MIN ||
            Value.get<int64_t>() > INT32_MAX) {
            Error = "\"" + std::string(Name) + "\" has a \"" + Key + "\" that is not a whole number";
            return false;
        }
        Side.*Field->Value = static_cast<int32_t>(Value.get<int64_t>());
    }
    return true;
}

}  // namespace

json StartPositionToJson(const TStartPosition &Start) {
    return {{SideNames[0], SideToJson(Start.Sides[0])}, {SideNames[1], SideToJson(Start.Sides[1])}};
}

std::optional<TStartPosition> StartPositionFromJson(const json &Json, std::string &Error) {
    if (!Json.is_object()) {
        Error = "it is not an object with \"first\" and \"second\"";
        return std::nullopt;
    }
    for (const auto &[Key, Value] : Json.items()) {
        if (Key != SideNames[0] && Key != SideNames[1]) {
            Error = "it has an unknown member \"" + Key + "\" (a position has \"first\" and \"second\")";
            return std::nullopt;
        }
    }
    TStartPosition Start = StandardStartPosition();
    for (std::size_t Side = 0; Side < 2; ++Side)
        if (!SideFromJson(Json, SideNames[Side], Start.Sides[Side], Error)) return std::nullopt;
    if (const std::string Problem = StartPositionProblem(Start); !Problem.empty()) {
        Error = "it cannot begin a game: " + Problem;
        return std::nullopt;
    }
    return Start;
}

json OpeningsToJson(const std::vector<TStartPosition> &Openings) {
    json List = json::array();
    for (const TStartPosition &Start : Openings) List.push_back(StartPositionToJson(Start));
    return List;
}

std::optional<std::vector<TStartPosition>> OpeningsFromJson(const json &Json, std::string &Error) {
    if (!Json.is_array() || Json.empty() || static_cast<int64_t>(Json.size()) > MaxOpenings) {
        Error = "the start positions are not a list of 1 to " + std::to_string(MaxOpenings) + " positions";
        return std::nullopt;
    }
    std::vector<TStartPosition> Openings;
    Openings.reserve(Json.size());
    for (std::size_t I = 0; I < Json.size(); ++I) {
        std::string Why;
        const std::optional<TStartPosition> Start = StartPositionFromJson(Json[I], Why);
        if (!Start) {
            Error = "start position " + std::to_string(I + 1) + ": " + Why;
            return std::nullopt;
        }
        Openings.push_back(*Start);
    }
    return Openings;
}

bool operator==(const TOpeningBook &A, const TOpeningBook &B) {
    if (A.Seed != B.Seed || A.Size() != B.Size()) return false;
    return A.Empty() || *A.Positions == *B.Positions;
}

TOpeningBook MakeOpeningBook(std::vector<TStartPosition> Positions, std::optional<uint64_t> Seed) {
    return {std::make_shared<const std::vector<TStartPosition>>(std::move(Positions)), Seed};
}

json OpeningBookToJson(const TOpeningBook &Book) {
    if (Book.Seed) return {{"random", Book.Size()}, {"seed", *Book.Seed}};
    return {{"positions", Book.Empty() ? json::array() : OpeningsToJson(*Book.Positions)}};
}

std::optional<TOpeningBook> OpeningBookFromJson(const json &Json, std::string &Error) {
    if (Json.is_object() && Json.contains("random") && Json.contains("seed") && Json.size() == 2) {
        const json &Count = Json["random"];
        const json &Seed = Json["seed"];
        if (!Count.is_number_integer() || Count.get<int64_t>() < 1 || Count.get<int64_t>() > MaxOpenings ||
            !Seed.is_number_unsigned()) {
            Error = "the random start positions are not a count and a seed";
            return std::nullopt;
        }
        return MakeOpeningBook(RandomStartPositions(Seed.get<uint64_t>(), Count.get<int64_t>()),
                               Seed.get<uint64_t>());
    }
    if (Json.is_object() && Json.contains("positions") && Json.size() == 1) {
        std::optional<std::vector<TStartPosition>> Positions = OpeningsFromJson(Json["positions"], Error);
        if (!Positions) return std::nullopt;
        return MakeOpeningBook(std::move(*Positions));
    }
    Error = "the start positions are neither {\"random\", \"seed\"} nor {\"positions\"}";
    return std::nullopt;
}

bool IsRandomOpenings(const std::string &Argument) { return Argument.starts_with("random:"); }

std::optional<TOpeningBook> LoadOpenings(const std::string &Argument, uint64_t Seed, std::string &Error) {
    if (IsRandomOpenings(Argument)) {
        const std::string Count = Argument.substr(7);
        int64_t K = 0;
        const auto [End, Status] = std::from_chars(Count.data(), Count.data() + Count.size(), K);
        if (Count.empty() || Status != std::errc() || End != Count.data() + Count.size() || K < 1 ||
            K > MaxOpenings) {
            Error = "\"" + Argument + "\": random:K needs a count K from 1 to " + std::to_string(MaxOpenings);
            return std::nullopt;
        }
        return MakeOpeningBook(RandomStartPositions(Seed, K), Seed);
    }
    std::ifstream In(Argument, std::ios::binary);
    if (!In) {
        Error = "cannot read " + Argument + ": " + std::strerror(errno);
        return std::nullopt;
    }
    json Json;
    try {
        Json = json::parse(In);
    } catch (const json::exception &Bad) {
        Error = Argument + " is not readable JSON: " + Bad.what();
        return std::nullopt;
    }
    std::string Why;
    std::optional<std::vector<TStartPosition>> Openings = OpeningsFromJson(Json, Why);
    if (!Openings) {
        Error = Argument + ": " + Why;
        return std::nullopt;
    }
    return MakeOpeningBook(std::move(*Openings));
}

bool WriteOpenings(const std::string &Path, const TOpeningBook &Book, std::string &Error) {
    static const std::vector<TStartPosition> None;
    const std::vector<TStartPosition> &Openings = Book.Empty() ? None : *Book.Positions;
    // One position a line: a book of a thousand positions stays easy to read and to edit.
    std::string Text = "[\n";
    for (std::size_t I = 0; I < Openings.size(); ++I)
        Text += "  " + StartPositionToJson(Openings[I]).dump() + (I + 1 < Openings.size() ? ",\n" : "\n");
    Text += "]\n";
    return WriteFileAtomically(
        Path, [&Text](int Fd) { return WriteAll(Fd, Text.data(), Text.size()); }, Error);
}

TStartPosition PairStart(const TOpeningBook &Book, int64_t Pair) {
    if (Book.Empty()) return StandardStartPosition();
    return (*Book.Positions)[static_cast<std::size_t>(Pair % Book.Size())];
}

}  // namespace velkaran
