// Records to JSON and back. Reading checks every field, so that a damaged file is refused with a
// reason instead of becoming a wrong record.
#include "record_json.h"

#include "refusal.h"

#include <simdjson.h>

#include <cmath>
#include <iterator>
#include <limits>
#include <stdexcept>
#include <type_traits>

namespace velkaran {
namespace {

using nlohmann::json;

json StatusToJson(const TPlayerStatus &S) {
    return json::array(
        {S.Base, S.Shield, S.Batteries, S.Mines, S.Laboratories, S.Energy, S.Metal, S.Elements});
}

json SetToJson(const TCardList &Set) {
    json Cards = json::array();
    for (const int32_t Card : Set.Card) Cards.push_back(Card);
    return Cards;
}

json SeatToJson(const TSeatRecord &Seat) {
    return {{"file", Seat.File},
            {"name", Seat.Name},
            {"set", SetToJson(Seat.Set)},
            {"time_ms", Seat.TimeMs},
            {"longest_move_ms", Seat.LongestMoveMs},
            {"produced", json::array({Seat.ProducedEnergy, Seat.ProducedMetal, Seat.ProducedElements})}};
}

// The members of a record, of a seat and of a fault, each with its bit in TOpen::Seen; the
// first Required of each must be there.
constexpr const char *RecordMembers[] = {"number",  "encounter", "pair",        "leg",     "seats",
                                         "options", "result",    "termination", "rounds",  "moves",
                                         "faults",  "final",     "refused_set", "refusal", "start"};
constexpr std::size_t RecordRequired = 12;
constexpr const char *SeatMembers[] = {"file", "name", "set", "time_ms", "longest_move_ms", "produced"};
constexpr const char *FaultMembers[] = {"seat", "call", "round", "fault", "detail"};

template <std::size_t N>
int MemberIndex(const char *const (&Members)[N], const std::string &Name) {
    for (std::size_t I = 0; I < N; ++I)
        if (Name == Members[I]) return static_cast<int>(I);
    return -1;
}

// Feeds the events of Value to Builder, as the parser would have.
bool Feed(const json &Value, TRecordBuilder &Builder) {
    switch (Value.type()) {
        case json::value_t::object:
            if (!Builder.StartObject()) return false;
            for (const auto &[Key, Member] : Value.items())
                if (!Builder.Key(Key) || !Feed(Member, Builder)) return false;
            return Builder.EndObject();
        case json::value_t::array:
            if (!Builder.StartArray()) return false;
            for (const json &Element : Value)
                if (!Feed(Element, Builder)) return false;
            return Builder.EndArray();
        case json::value_t::string:
            return Builder.Text(Value.get_ref<const std::string &>());
        case json::value_t::boolean:
            return Builder.Boolean(Value.get<bool>());
        case json::value_t::number_integer:
            return Builder.Integer(Value.get<int64_t>());
        case json::value_t::number_unsigned:
            return Builder.Unsigned(Value.get<uint64_t>());
        case json::value_t::number_float:
            return Builder.Float(Value.get<double>());
        default:
            return Builder.Null();
    }
}

// The parser's events of one record's text, passed to a record builder.
class TRecordEvents : public nlohmann::json_sax<json> {
public:
    explicit TRecordEvents(TRecordBuilder &Builder) : Builder(Builder) {}

    bool null() override { return Builder.Null(); }
    bool boolean(bool Value) override { return Builder.Boolean(Value); }
    bool number_integer(number_integer_t Value) override { return Builder.Integer(Value); }
    bool number_unsigned(number_unsigned_t Value) override { return Builder.Unsigned(Value); }
    bool number_float(number_float_t Value, const string_t &) override { return Builder.Float(Value); }
    bool string(string_t &Value) override { return Builder.Text(Value); }
    bool binary(binary_t &) override { return Builder.Null(); }
    bool start_object(std::size_t) override { return Builder.StartObject(); }
    bool end_object() override { return Builder.EndObject(); }
    bool start_array(std::size_t) override { return Builder.StartArray(); }
    bool end_array() override { return Builder.EndArray(); }
    bool key(string_t &Name) override { return Builder.Key(Name); }
    bool parse_error(std::size_t Position, const std::string &,
                     const nlohmann::detail::exception &) override {
        SyntaxAt = Position > 0 ? static_cast<int64_t>(Position) - 1 : 0;
        return false;
    }

    int64_t SyntaxAt = -1;

private:
    TRecordBuilder &Builder;
};

// Feeds the events of Value to Builder, as the parser would have; Key holds each member's name
// in turn.
bool FeedElement(simdjson::dom::element Value, TRecordBuilder &Builder, std::string &Key) {
    using simdjson::dom::element_type;
    switch (Value.type()) {
        case element_type::OBJECT:
            if (!Builder.StartObject()) return false;
            for (const simdjson::dom::key_value_pair Member : simdjson::dom::object(Value)) {
                Key.assign(Member.key);
                if (!Builder.Key(Key) || !FeedElement(Member.value, Builder, Key)) return false;
            }
            return Builder.EndObject();
        case element_type::ARRAY:
            if (!Builder.StartArray()) return false;
            for (const simdjson::dom::element Element : simdjson::dom::array(Value))
                if (!FeedElement(Element, Builder, Key)) return false;
            return Builder.EndArray();
        case element_type::STRING: {
            const std::string Text(std::string_view(Value.get_string().value_unsafe()));
            return Builder.Text(Text);
        }
        case element_type::INT64:
            return Builder.Integer(Value.get_int64().value_unsafe());
        case element_type::UINT64:
            return Builder.Unsigned(Value.get_uint64().value_unsafe());
        case element_type::DOUBLE:
            return Builder.Float(Value.get_double().value_unsafe());
        case element_type::BOOL:
            return Builder.Boolean(Value.get_bool().value_unsafe());
        case element_type::NULL_VALUE:
            return Builder.Null();
    }
    return Builder.Null();
}

}  // namespace

std::string RecordDamageInRussian(const std::string &Why) {
    constexpr std::string_view Prefix = "a game record is damaged: ";
    const std::string What = Why.rfind(Prefix, 0) == 0 ? Why.substr(Prefix.size()) : Why;
    // Whole reasons, then a member's name ("...") followed by what is wrong with it.
    static constexpr std::pair<std::string_view, std::string_view> Whole[] = {
        {"it is not an object", "это не объект JSON"},
        {"it is not a whole record", "запись неполна"},
        {"it holds more than one record", "в ней больше одной записи"},
        {"it is not JSON", "это не JSON"},
    };
    for (const auto &[English, Russian] : Whole)
        if (What == English) return std::string(Russian);
    static constexpr std::pair<std::string_view, std::string_view> Tails[] = {
        {" is not a whole number", " — не целое число"},
        {" is out of range", " — вне допустимых пределов"},
        {" is not a text", " — не текст"},
        {" is not a number", " — не число"},
        {" is not one of its known values", " — неизвестное значение"},
        {" is not a list", " — не список"},
        {" holds a value that is not a 32-bit whole number", " — в списке не 32-битное целое число"},
        {" is too long", " — слишком длинный список"},
        {" is not a list of 2", " — не список из двух элементов"},
        {" is not what it should be", " — не то, чем должно быть"},
        {" holds something else than numbers", " — в списке не только числа"},
        {" holds something else than statuses", " — в списке не только состояния игроков"},
        {" holds something else than objects", " — в списке не только объекты"},
        {" is a list", " — список, а должно быть значение"},
        {" holds a list where it should not", " — лишний вложенный список"},
        {" holds a status that is not 8 numbers", " — состояние игрока не из 8 чисел"},
    };
    for (const auto &[English, Russian] : Tails)
        if (What.size() > English.size() && What.ends_with(English))
            return What.substr(0, What.size() - English.size()) + std::string(Russian);
    if (What.rfind("no \"", 0) == 0) return "нет поля " + What.substr(3);
    constexpr std::string_view NotOfLength = " is not a list of ";
    if (const std::size_t At = What.find(NotOfLength); At != std::string::npos)
        return What.substr(0, At) + " — не список из " + What.substr(At + NotOfLength.size()) + " элементов";
    constexpr std::string_view BadStart = "\"start\" cannot begin a game: ";
    if (What.rfind(BadStart, 0) == 0)
        return "с позиции \"start\" игра не может начаться: " + What.substr(BadStart.size());
    return What;
}

std::optional<TGameRecord> RecordFromText(std::string_view Text, std::string &Error, int64_t &SyntaxAt) {
    TRecordBuilder Builder;
    Builder.Reset();
    // The fast parser reads every sound text; a text it refuses is read again by the other one,
    // which says where the text stops being JSON.
    thread_local simdjson::dom::parser Fast;
    simdjson::dom::element Root;
    if (Fast.parse(Text.data(), Text.size()).get(Root) == simdjson::SUCCESS) {
        SyntaxAt = -1;
        std::string Key;
        if (FeedElement(Root, Builder, Key) && Builder.Done()) return std::move(Builder.Record());
        Error =
            Builder.Error().empty() ? "a game record is damaged: it is not a whole record" : Builder.Error();
        return std::nullopt;
    }
    TRecordEvents Events(Builder);
    const bool Parsed = json::sax_parse(Text.begin(), Text.end(), &Events);
    SyntaxAt = Events.SyntaxAt;
    if (Parsed && Builder.Done()) return std::move(Builder.Record());
    if (SyntaxAt >= 0)
        Error = "it is not JSON";
    else
        Error =
            Builder.Error().empty() ? "a game record is damaged: it is not a whole record" : Builder.Error();
    return std::nullopt;
}

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
    TRecordBuilder Builder;
    Builder.Reset();
    if (Feed(Json, Builder) && Builder.Done()) return std::move(Builder.Record());
    Error = Builder.Error().empty() ? "a game record is damaged: it is not a whole record" : Builder.Error();
    return std::nullopt;
}

void TRecordBuilder::Reset() {
    Built = TGameRecord{};
    Stack.clear();
    PendingKey.clear();
    SkipDepth = 0;
    Finished = false;
    Error_.clear();
}

bool TRecordBuilder::Fail(const std::string &What) {
    Error_ = "a game record is damaged: " + What;
    return false;
}

bool TRecordBuilder::Open(TFrame Kind, const char *Name, std::size_t Expected, int32_t *Into) {
    Stack.push_back(TOpen{Kind, Name, 0, Expected, 0, Into});
    return true;
}

bool TRecordBuilder::Null() { return Scalar(false, 0, false, 0, nullptr); }
bool TRecordBuilder::Boolean(bool) { return Scalar(false, 0, false, 0, nullptr); }
bool TRecordBuilder::Integer(int64_t Value) {
    return Scalar(true, Value, true, static_cast<double>(Value), nullptr);
}
bool TRecordBuilder::Unsigned(uint64_t Value) {
    const int64_t Clamped = Value > uint64_t(INT64_MAX) ? INT64_MAX : static_cast<int64_t>(Value);
    return Scalar(true, Clamped, true, static_cast<double>(Value), nullptr);
}
bool TRecordBuilder::Float(double Value) { return Scalar(false, 0, true, Value, nullptr); }
bool TRecordBuilder::Text(const std::string &Value) { return Scalar(false, 0, false, 0, &Value); }

bool TRecordBuilder::Key(const std::string &Name) {
    if (!Stack.empty() && Stack.back().Kind != TFrame::Skip) PendingKey = Name;
    return true;
}

bool TRecordBuilder::Scalar(bool IsInteger, int64_t Integer, bool IsNumber, double Number,
                            const std::string *String) {
    if (Stack.empty()) return Fail("it is not an object");
    TOpen &Top = Stack.back();
    // The field's name for a message, made only when one is needed.
    const auto Quoted = [&Top, this] {
        return "\"" + (Top.Kind == TFrame::Numbers ? std::string(Top.Name) : PendingKey) + "\"";
    };
    const auto Whole = [&](int64_t Low, int64_t High, auto &Into) {
        if (!IsInteger) return Fail(Quoted() + " is not a whole number");
        if (Integer < Low || Integer > High) return Fail(Quoted() + " is out of range");
        Into = static_cast<std::remove_reference_t<decltype(Into)>>(Integer);
        return true;
    };
    const auto Words = [&](std::string &Into) {
        if (String == nullptr) return Fail(Quoted() + " is not a text");
        Into = *String;
        return true;
    };
    const auto Millis = [&](double &Into) {
        if (!IsNumber) return Fail(Quoted() + " is not a number");
        if (!std::isfinite(Number) || Number < 0) return Fail(Quoted() + " is out of range");
        Into = Number;
        return true;
    };
    const auto Named = [&](auto FromName, auto &Into) {
        if (String == nullptr) return Fail(Quoted() + " is not a text");
        const auto Value = FromName(*String);
        if (!Value) return Fail(Quoted() + " is not one of its known values");
        Into = *Value;
        return true;
    };
    const auto NotAList = [&] { return Fail(Quoted() + " is not a list"); };
    switch (Top.Kind) {
        case TFrame::Record: {
            const int Member = MemberIndex(RecordMembers, PendingKey);
            if (Member < 0) return true;
            Top.Seen |= 1u << Member;
            TGamePlace &Place = Built.Place;
            switch (Member) {
                case 0:
                    return Whole(0, INT64_MAX, Place.Number);
                case 1:
                    return Whole(0, INT32_MAX, Place.Encounter);
                case 2:
                    return Whole(0, INT64_MAX, Place.Pair);
                case 3:
                    return Whole(0, 1, Place.Leg);
                case 5:
                    return Whole(INT32_MIN, INT32_MAX, Built.Options);
                case 6:
                    return Whole(INT32_MIN, INT32_MAX, Built.Result);
                case 7:
                    return Named(StoredTermination, Built.Termination);
                case 8:
                    return Whole(0, TurnLimitMask + 1, Built.Rounds);
                case 13:
                    return true;  // the refusal in words: derived anew when needed
                default:
                    return NotAList();
            }
        }
        case TFrame::Seat: {
            const int Member = MemberIndex(SeatMembers, PendingKey);
            if (Member < 0) return true;
            Top.Seen |= 1u << Member;
            TSeatRecord &Seat = Built.Seats[Stack[Stack.size() - 2].Count - 1];
            switch (Member) {
                case 0:
                    return Words(Seat.File);
                case 1:
                    return Words(Seat.Name);
                case 3:
                    return Millis(Seat.TimeMs);
                case 4:
                    return Millis(Seat.LongestMoveMs);
                default:
                    return NotAList();
            }
        }
        case TFrame::Fault: {
            const int Member = MemberIndex(FaultMembers, PendingKey);
            if (Member < 0) return true;
            Top.Seen |= 1u << Member;
            TGameFault &Fault = Built.Faults.back();
            switch (Member) {
                case 0:
                    return Whole(0, 1, Fault.Seat);
                case 1:
                    return Named(StoredSeatCall, Fault.Call);
                case 2:
                    return Whole(0, TurnLimitMask + 1, Fault.Round);
                case 3:
                    return Named(StoredCallFault, Fault.Fault);
                default:
                    return Words(Fault.Detail);
            }
        }
        case TFrame::Numbers: {
            if (!IsInteger || Integer < INT32_MIN || Integer > INT32_MAX)
                return Fail(Quoted() + " holds a value that is not a 32-bit whole number");
            if (Top.Expected != 0 && Top.Count >= Top.Expected) return Fail(Quoted() + " is too long");
            if (Top.Into != nullptr)
                Top.Into[Top.Count] = static_cast<int32_t>(Integer);
            else
                Built.Moves.push_back(static_cast<int32_t>(Integer));
            ++Top.Count;
            return true;
        }
        case TFrame::Skip:
            return true;
        case TFrame::Seats:
        case TFrame::Faults:
        case TFrame::Final:
            return Fail("\"" + std::string(Top.Name) + "\" holds something else than " +
                        (Top.Kind == TFrame::Final ? "statuses" : "objects"));
    }
    return true;
}

bool TRecordBuilder::StartObject() {
    if (Stack.empty()) {
        if (Finished) return Fail("it holds more than one record");
        return Open(TFrame::Record, "");
    }
    TOpen &Top = Stack.back();
    switch (Top.Kind) {
        case TFrame::Skip:
            ++SkipDepth;
            return true;
        case TFrame::Seats:
            if (Top.Count >= Top.Expected) return Fail("\"seats\" is not a list of 2");
            ++Top.Count;
            return Open(TFrame::Seat, "seats");
        case TFrame::Faults:
            Built.Faults.emplace_back();
            ++Top.Count;
            return Open(TFrame::Fault, "faults");
        case TFrame::Record:
        case TFrame::Seat:
        case TFrame::Fault: {
            const bool Known = MemberIndex(RecordMembers, PendingKey) >= 0 && Top.Kind == TFrame::Record;
            const bool KnownHere = Known ||
                                   (Top.Kind == TFrame::Seat && MemberIndex(SeatMembers, PendingKey) >= 0) ||
                                   (Top.Kind == TFrame::Fault && MemberIndex(FaultMembers, PendingKey) >= 0);
            if (KnownHere) return Fail("\"" + PendingKey + "\" is not what it should be");
            SkipDepth = 1;
            return Open(TFrame::Skip, "");
        }
        case TFrame::Final:
        case TFrame::Numbers:
            return Fail("\"" + std::string(Top.Name) + "\" holds something else than numbers");
    }
    return true;
}

bool TRecordBuilder::StartArray() {
    if (Stack.empty()) return Fail("it is not an object");
    TOpen &Top = Stack.back();
    switch (Top.Kind) {
        case TFrame::Skip:
            ++SkipDepth;
            return true;
        case TFrame::Record: {
            const int Member = MemberIndex(RecordMembers, PendingKey);
            if (Member >= 0) Top.Seen |= 1u << Member;
            switch (Member) {
                case -1:
                    SkipDepth = 1;
                    return Open(TFrame::Skip, "");
                case 4:
                    return Open(TFrame::Seats, "seats", 2);
                case 9:
                    return Open(TFrame::Numbers, "moves");
                case 10:
                    return Open(TFrame::Faults, "faults");
                case 11:
                    return Open(TFrame::Final, "final", 2);
                case 12:
                    return Open(TFrame::Numbers, "refused_set", CardSetSize, Built.RefusedSet.Card);
                case 14:
                    return Open(TFrame::Final, "start", 2);
                default:
                    return Fail("\"" + PendingKey + "\" is a list");
            }
        }
        case TFrame::Seat: {
            const int Member = MemberIndex(SeatMembers, PendingKey);
            if (Member >= 0) Top.Seen |= 1u << Member;
            TSeatRecord &Seat = Built.Seats[Stack[Stack.size() - 2].Count - 1];
            switch (Member) {
                case -1:
                    SkipDepth = 1;
                    return Open(TFrame::Skip, "");
                case 2:
                    return Open(TFrame::Numbers, "set", CardSetSize, Seat.Set.Card);
                case 5:
                    return Open(TFrame::Numbers, "produced", 3, Status);
                default:
                    return Fail("\"" + PendingKey + "\" is a list");
            }
        }
        case TFrame::Fault:
            if (MemberIndex(FaultMembers, PendingKey) >= 0) return Fail("\"" + PendingKey + "\" is a list");
            SkipDepth = 1;
            return Open(TFrame::Skip, "");
        case TFrame::Final:
            if (Top.Count >= Top.Expected)
                return Fail("\"" + std::string(Top.Name) + "\" is not a list of 2");
            ++Top.Count;
            return Open(TFrame::Numbers, Top.Name, 8, Status);
        case TFrame::Seats:
        case TFrame::Faults:
        case TFrame::Numbers:
            return Fail("\"" + std::string(Top.Name) + "\" holds a list where it should not");
    }
    return true;
}

bool TRecordBuilder::EndArray() {
    TOpen Top = Stack.back();
    if (Top.Kind == TFrame::Skip) {
        if (--SkipDepth == 0) Stack.pop_back();
        return true;
    }
    Stack.pop_back();
    if (Top.Expected != 0 && Top.Count != Top.Expected) {
        if (Top.Kind == TFrame::Numbers && Top.Into == Status && std::string(Top.Name) != "produced")
            return Fail("\"" + std::string(Top.Name) + "\" holds a status that is not 8 numbers");
        return Fail("\"" + std::string(Top.Name) + "\" is not a list of " + std::to_string(Top.Expected));
    }
    if (Top.Kind != TFrame::Numbers || Top.Into != Status) return true;
    if (std::string(Top.Name) == "produced") {
        TSeatRecord &Seat = Built.Seats[Stack[Stack.size() - 2].Count - 1];
        Seat.ProducedEnergy = Status[0];
        Seat.ProducedMetal = Status[1];
        Seat.ProducedElements = Status[2];
    } else {
        std::array<TPlayerStatus, 2> &Into =
            std::string(Top.Name) == "start" ? Built.Start.Sides : Built.Final;
        Into[Stack.back().Count - 1] = TPlayerStatus{Status[0], Status[1], Status[2], Status[3],
                                                     Status[4], Status[5], Status[6], Status[7]};
    }
    return true;
}

bool TRecordBuilder::EndObject() {
    TOpen Top = Stack.back();
    if (Top.Kind == TFrame::Skip) {
        if (--SkipDepth == 0) Stack.pop_back();
        return true;
    }
    Stack.pop_back();
    const auto Missing = [&](const char *const *Members, std::size_t Required) {
        for (std::size_t I = 0; I < Required; ++I)
            if ((Top.Seen & (1u << I)) == 0) return Fail("no \"" + std::string(Members[I]) + "\"");
        return true;
    };
    if (Top.Kind == TFrame::Seat) return Missing(SeatMembers, std::size(SeatMembers));
    if (Top.Kind == TFrame::Fault) return Missing(FaultMembers, std::size(FaultMembers));
    Finished = true;
    if (!Missing(RecordMembers, RecordRequired)) return false;
    if ((Top.Seen & (1u << 14)) == 0) return true;
    if (const std::string Problem = StartPositionProblem(Built.Start); !Problem.empty())
        return Fail("\"start\" cannot begin a game: " + Problem);
    return true;
}

}  // namespace velkaran
