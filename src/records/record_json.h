// A game record as JSON, and back, checked field by field.
#pragma once

#include "game_record.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velkaran {

// The record as a JSON object: place, seats (file, name, set, times, production), options,
// result, termination, rounds, moves, faults and final statuses; and the start position ("start",
// both statuses) only when it is not the standard start.
nlohmann::json RecordToJson(const TGameRecord &Record);

// The record that Json holds, or nothing with the reason in Error when a field is missing, of the
// wrong type or out of its range. The moves are not replayed here (see CheckReplay).
std::optional<TGameRecord> RecordFromJson(const nlohmann::json &Json, std::string &Error);

// Why (a reason RecordFromJson, RecordFromText or a record builder gave) said in Russian for the
// desktop program: "\"rounds\" вне допустимых пределов"; a reason it does not know stays as it is.
std::string RecordDamageInRussian(const std::string &Why);

// The record that Text, one record's JSON object, holds, read without building a JSON value; or
// nothing with the reason in Error. SyntaxAt is then the offset in Text of the byte where the text
// stops being JSON, or -1 when it is JSON but no sound record.
std::optional<TGameRecord> RecordFromText(std::string_view Text, std::string &Error, int64_t &SyntaxAt);

// Builds a record from the parse events of its JSON object, from the object's start to its end,
// checking each field as it comes: a document of any size is read without a JSON value of each
// record. Each event returns false, with the reason in Error(), at the first field that is not
// what it should be. Unknown members are passed over.
class TRecordBuilder {
public:
    // Forgets what was built; the next event must start the record's object.
    void Reset();

    bool Null();
    bool Boolean(bool Value);
    bool Integer(int64_t Value);
    bool Unsigned(uint64_t Value);
    bool Float(double Value);
    bool Text(const std::string &Value);
    bool StartObject();
    bool Key(const std::string &Name);
    bool EndObject();
    bool StartArray();
    bool EndArray();

    // True once the record's object has ended; Record() is then whole.
    bool Done() const { return Finished; }
    TGameRecord &Record() { return Built; }
    const std::string &Error() const { return Error_; }

private:
    enum class TFrame : uint8_t { Record, Seats, Seat, Faults, Fault, Final, Numbers, Skip };
    struct TOpen {
        TFrame Kind;
        const char *Name;          // the member it is, for messages
        std::size_t Count = 0;     // elements so far (arrays)
        std::size_t Expected = 0;  // the elements it must have; 0: any number
        uint32_t Seen = 0;         // the members met (objects), one bit each
        int32_t *Into = nullptr;   // where the numbers go (a fixed list); null: the moves
    };
    // A scalar: an integer (also of a float without fraction: no), a float, a text or another kind.
    bool Scalar(bool IsInteger, int64_t Integer, bool IsNumber, double Number, const std::string *String);
    bool Fail(const std::string &What);
    bool Open(TFrame Kind, const char *Name, std::size_t Expected = 0, int32_t *Into = nullptr);

    TGameRecord Built;
    std::vector<TOpen> Stack;
    std::string PendingKey;
    int32_t Status[8] = {};  // the final status being read
    int SkipDepth = 0;
    bool Finished = false;
    std::string Error_;
};

}  // namespace velkaran
