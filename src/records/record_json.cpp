// Records to JSON and back. Reading checks every field, so that a damaged file is refused with a
// reason instead of becoming a wrong record.
#include "record_json.h"

#include "refusal.h"

#include <cmath>
#include <limits>
#include <stdexcept>

namespace velkaran {
namespace {

using nlohmann::json;

// A field that is not what it should be.
struct TBadField : std::runtime_error {
    using std::runtime_error::runtime_error;
};

const json &Field(const json &Object, const char *Name) {
    if (!Object.is_object() || !Object.contains(Name)) throw TBadField(std::string("no \"") + Name + "\"");
    return Object.at(Name);
}

int64_t Integer(const json &Object, const char *Name, int64_t Low, int64_t High) {
    const json &Value = Field(Object, Name);
    if (!Value.is_number_integer()) throw TBadField(std::string("\"") + Name + "\" is not a whole number");
    const int64_t Number = Value.is_number_unsigned() && Value.get<uint64_t>() > uint64_t(INT64_MAX)
                               ? INT64_MAX
                               : Value.get<int64_t>();
    if (Number < Low || Number > High) throw TBadField(std::string("\"") + Name + "\" is out of range");
    return Number;
}

int32_t Int32(const json &Object, const char *Name) {
    return static_cast<int32_t>(Integer(Object, Name, INT32_MIN, INT32_MAX));
}

double Milliseconds(const json &Object, const char *Name) {
    const json &Value = Field(Object, Name);
    if (!Value.is_number()) throw TBadField(std::string("\"") + Name + "\" is not a number");
    const double Number = Value.get<double>();
    if (!std::isfinite(Number) || Number < 0)
        throw TBadField(std::string("\"") + Name + "\" is out of range");
    return Number;
}

std::string Text(const json &Object, const char *Name) {
    const json &Value = Field(Object, Name);
    if (!Value.is_string()) throw TBadField(std::string("\"") + Name + "\" is not a text");
    return Value.get<std::string>();
}

const json &Array(const json &Object, const char *Name, std::size_t Size = 0) {
    const json &Value = Field(Object, Name);
    if (!Value.is_array() || (Size != 0 && Value.size() != Size))
        throw TBadField(std::string("\"") + Name + "\" is not a list" +
                        (Size != 0 ? " of " + std::to_string(Size) : std::string()));
    return Value;
}

int32_t Element(const json &Value, const char *Name) {
    if (!Value.is_number_integer() || Value.get<int64_t>() < INT32_MIN || Value.get<int64_t>() > INT32_MAX)
        throw TBadField(std::string("\"") + Name + "\" holds a value that is not a 32-bit whole number");
    return static_cast<int32_t>(Value.get<int64_t>());
}

// The value whose stored name is the text of Object's member Name.
template <typename TValue>
TValue Stored(const json &Object, const char *Name, std::optional<TValue> (*FromName)(std::string_view)) {
    const std::optional<TValue> Value = FromName(Text(Object, Name));
    if (!Value) throw TBadField(std::string("\"") + Name + "\" is not one of its known values");
    return *Value;
}

json StatusToJson(const TPlayerStatus &S) {
    return json::array(
        {S.Base, S.Shield, S.Batteries, S.Mines, S.Laboratories, S.Energy, S.Metal, S.Elements});
}

TPlayerStatus StatusFromJson(const json &Value, const char *Name) {
    if (!Value.is_array() || Value.size() != 8)
        throw TBadField(std::string("\"") + Name + "\" holds a status that is not 8 numbers");
    int32_t F[8];
    for (std::size_t I = 0; I < 8; ++I) F[I] = Element(Value[I], Name);
    return TPlayerStatus{F[0], F[1], F[2], F[3], F[4], F[5], F[6], F[7]};
}

json SetToJson(const TCardList &Set) {
    json Cards = json::array();
    for (const int32_t Card : Set.Card) Cards.push_back(Card);
    return Cards;
}

TCardList SetFromJson(const json &Object, const char *Name) {
    const json &Cards = Array(Object, Name, CardSetSize);
    TCardList Set{};
    for (std::size_t I = 0; I < CardSetSize; ++I) Set.Card[I] = Element(Cards[I], Name);
    return Set;
}

json SeatToJson(const TSeatRecord &Seat) {
    return {{"file", Seat.File},
            {"name", Seat.Name},
            {"set", SetToJson(Seat.Set)},
            {"time_ms", Seat.TimeMs},
            {"longest_move_ms", Seat.LongestMoveMs},
            {"produced", json::array({Seat.ProducedEnergy, Seat.ProducedMetal, Seat.ProducedElements})}};
}

TSeatRecord SeatFromJson(const json &Value) {
    TSeatRecord Seat;
    Seat.File = Text(Value, "file");
    Seat.Name = Text(Value, "name");
    Seat.Set = SetFromJson(Value, "set");
    Seat.TimeMs = Milliseconds(Value, "time_ms");
    Seat.LongestMoveMs = Milliseconds(Value, "longest_move_ms");
    const json &Produced = Array(Value, "produced", 3);
    Seat.ProducedEnergy = Element(Produced[0], "produced");
    Seat.ProducedMetal = Element(Produced[1], "produced");
    Seat.ProducedElements = Element(Produced[2], "produced");
    return Seat;
}

}  // namespace

json RecordToJson(const TGameRecord &Record) {
    json Faults_ = json::array();
    for (const TGameFault &Fault : Record.Faults)
        Faults_.push_back({{"seat", Fault.Seat},
                           {"call", std::string(SeatCallRow(Fault.Call).Stored)},
                           {"round", Fault.Round},
                           {"fault", std::string(CallFaultRow(Fault.Fault).Stored)},
                           {"detail", Fault.Detail}});
    json Json{{"number", Record.Place.Number},
              {"encounter", Record.Place.Encounter},
              {"pair", Record.Place.Pair},
              {"leg", Record.Place.Leg},
              {"seats", json::array({SeatToJson(Record.Seats[0]), SeatToJson(Record.Seats[1])})},
              {"options", Record.Options},
              {"result", Record.Result},
              {"termination", std::string(TerminationRow(Record.Termination).Stored)},
              {"rounds", Record.Rounds},
              {"moves", Record.Moves},
              {"faults", Faults_},
              {"final", json::array({StatusToJson(Record.Final[0]), StatusToJson(Record.Final[1])})}};
    // Only a game that did not begin from the standard start says where it began, so that the
    // records of standard games read as they always did.
    if (!IsStandardStart(Record.Start))
        Json["start"] =
            json::array({StatusToJson(Record.Start.Sides[0]), StatusToJson(Record.Start.Sides[1])});
    // What a refused answer was and why, for whoever reads the file; the replay derives the reason anew.
    if (Record.Termination == TTermination::InvalidSet) Json["refused_set"] = SetToJson(Record.RefusedSet);
    if (const std::string Reason = RecordRefusal(Record, TLanguage::English); !Reason.empty())
        Json["refusal"] = Reason;
    return Json;
}

std::optional<TGameRecord> RecordFromJson(const json &Json, std::string &Error) {
    try {
        TGameRecord Record;
        Record.Place.Number = Integer(Json, "number", 0, INT64_MAX);
        Record.Place.Encounter = static_cast<int32_t>(Integer(Json, "encounter", 0, INT32_MAX));
        Record.Place.Pair = Integer(Json, "pair", 0, INT64_MAX);
        Record.Place.Leg = static_cast<int32_t>(Integer(Json, "leg", 0, 1));
        const json &Seats = Array(Json, "seats", 2);
        Record.Seats = {SeatFromJson(Seats[0]), SeatFromJson(Seats[1])};
        Record.Options = Int32(Json, "options");
        Record.Result = Int32(Json, "result");
        Record.Termination = Stored(Json, "termination", StoredTermination);
        Record.Rounds = static_cast<int32_t>(Integer(Json, "rounds", 0, TurnLimitMask + 1));
        for (const json &Move : Array(Json, "moves")) Record.Moves.push_back(Element(Move, "moves"));
        for (const json &Fault : Array(Json, "faults")) {
            TGameFault Entry;
            Entry.Seat = static_cast<int32_t>(Integer(Fault, "seat", 0, 1));
            Entry.Call = Stored(Fault, "call", StoredSeatCall);
            Entry.Round = static_cast<int32_t>(Integer(Fault, "round", 0, TurnLimitMask + 1));
            Entry.Fault = Stored(Fault, "fault", StoredCallFault);
            Entry.Detail = Text(Fault, "detail");
            Record.Faults.push_back(std::move(Entry));
        }
        const json &Final = Array(Json, "final", 2);
        Record.Final = {StatusFromJson(Final[0], "final"), StatusFromJson(Final[1], "final")};
        if (Json.contains("start")) {
            const json &Start = Array(Json, "start", 2);
            Record.Start = {{StatusFromJson(Start[0], "start"), StatusFromJson(Start[1], "start")}};
            if (const std::string Problem = StartPositionProblem(Record.Start); !Problem.empty())
                throw TBadField("\"start\" cannot begin a game: " + Problem);
        }
        if (Json.contains("refused_set")) Record.RefusedSet = SetFromJson(Json, "refused_set");
        return Record;
    } catch (const TBadField &Bad) {
        Error = std::string("a game record is damaged: ") + Bad.what();
    } catch (const json::exception &Bad) {
        Error = std::string("a game record is damaged: ") + Bad.what();
    }
    return std::nullopt;
}

}  // namespace velkaran
