// The refusal reasons, in English for the command-line programs and in Russian for the desktop.
#include "refusal.h"

#include "rules/affordability.h"
#include "rules/catalogue.h"
#include "rules/turn_rules.h"

#include <algorithm>

namespace velkaran {
namespace {

bool English(TLanguage Language) { return Language == TLanguage::English; }

std::string Number(int64_t Value) { return std::to_string(Value); }

// "14 карт", "1 карта", "3 карты".
std::string RussianCards(int64_t Count) {
    const int64_t Tens = Count % 100;
    const int64_t Units = Count % 10;
    const char *Word = (Tens >= 11 && Tens <= 14)   ? "карт"
                       : Units == 1                 ? "карта"
                       : (Units >= 2 && Units <= 4) ? "карты"
                                                    : "карт";
    return Number(Count) + " " + Word;
}

std::string OutOfRange(int32_t Card, TLanguage Language) {
    return English(Language) ? "card " + Number(Card) + " is out of range"
                             : "номер карты " + Number(Card) + " вне диапазона 1–" + Number(CardCount);
}

// "En 6, Me 4" for the parts of a resource triple that Keep selects.
template <typename TKeep>
std::string Resources(int64_t Energy, int64_t Metal, int64_t Elements, TKeep Keep) {
    std::string Text;
    const auto Part = [&Text](const char *Name, int64_t Value) {
        Text += (Text.empty() ? "" : ", ") + std::string(Name) + " " + Number(Value);
    };
    if (Keep(0)) Part("En", Energy);
    if (Keep(1)) Part("Me", Metal);
    if (Keep(2)) Part("El", Elements);
    return Text;
}

}  // namespace

std::string SetRefusal(const TCardList &Set, TLanguage Language) {
    if (IsValidCardSet(Set)) return "";
    int32_t Cards = 0;
    for (const int32_t Card : Set.Card) {
        if (Card != 0 && !IsCardNumber(Card)) return OutOfRange(Card, Language);
        Cards += Card != 0;
    }
    if (Cards != CardSetSize)
        return English(Language) ? "the set holds " + Number(Cards) + " cards, not " + Number(CardSetSize)
                                 : "в наборе " + RussianCards(Cards) + ", а не " + Number(CardSetSize);
    for (int32_t Slot = 0; Slot < CardSetSize; ++Slot)
        if (std::count(Set.Card, Set.Card + Slot, Set.Card[Slot]) > 0)
            return English(Language) ? "card " + Number(Set.Card[Slot]) + " twice in the set"
                                     : "карта " + Number(Set.Card[Slot]) + " в наборе дважды";
    return English(Language) ? "the rules refuse the set" : "правила не принимают набор";
}

std::string CardRefusal(const TPlayerStatus &Status, const TCardList &Set, int32_t Card, TLanguage Language) {
    if (Card == 0) {  // no card at all, while something was playable
        TPlayer Player;
        static_cast<TPlayerStatus &>(Player) = Status;
        Player.Cards = Set;
        TCardList Playable;
        const int32_t Count = GetPlayableCards(Player, Playable);
        return English(Language) ? "it answered 0 (no card) while it could pay for " + Number(Count) +
                                       (Count == 1 ? " card" : " cards") +
                                       ": a bot that can pay for a card must play one (card 50 passes)"
                                 : "бот ответил 0 (не карта), хотя мог оплатить " + RussianCards(Count) +
                                       ": бот, который может оплатить карту, обязан сыграть её (карта 50 — "
                                       "пропуск хода)";
    }
    if (!IsCardNumber(Card)) return OutOfRange(Card, Language);
    if (std::find(Set.Card, Set.Card + CardSetSize, Card) == Set.Card + CardSetSize)
        return English(Language) ? "card " + Number(Card) + " is not in its set"
                                 : "карты " + Number(Card) + " нет в наборе бота";
    const TCardCost &Cost = CardCosts[Card];
    if (CanPay(Status, Cost)) return "";
    const TShortfall Lacking = Shortfall(Status, Cost);
    const int64_t Short[3] = {Lacking.Energy, Lacking.Metal, Lacking.Elements};
    const std::string Price = Resources(Cost.Energy, Cost.Metal, Cost.Elements, [&Cost](int I) {
        return (I == 0 ? Cost.Energy : I == 1 ? Cost.Metal : Cost.Elements) != 0;
    });
    const std::string Held =
        Resources(Status.Energy, Status.Metal, Status.Elements, [&Short](int I) { return Short[I] > 0; });
    return English(Language) ? "card " + Number(Card) + " costs " + Price + "; it has " + Held
                             : "карта " + Number(Card) + " стоит " + Price + "; у бота " + Held;
}

bool GaveUpMove(const TGameRecord &Record) {
    return Record.Termination == TTermination::RefusedCard && !Record.Moves.empty() &&
           Record.Moves.back() == 0;
}

std::string RecordRefusal(const TGameRecord &Record, TLanguage Language) {
    const int32_t Loser = HasFlags(Record.Result, FirstPlayerLost) ? 0 : 1;
    if (Record.Termination == TTermination::InvalidSet) return SetRefusal(Record.RefusedSet, Language);
    if (Record.Termination != TTermination::RefusedCard || Record.Moves.empty()) return "";
    const auto Seat = static_cast<std::size_t>(Loser);
    return CardRefusal(Record.Final[Seat], Record.Seats[Seat].Set, Record.Moves.back(), Language);
}

std::string LossDetail(const TGameRecord &Record, TLanguage Language) {
    const bool FirstLost = HasFlags(Record.Result, FirstPlayerLost);
    if (!FirstLost && !HasFlags(Record.Result, SecondPlayerLost)) return {};
    const int32_t Loser = FirstLost ? 0 : 1;
    if (std::string Refusal = RecordRefusal(Record, Language); !Refusal.empty()) return Refusal;
    const bool Russian = Language == TLanguage::Russian;
    for (const TGameFault &Fault : Record.Faults) {
        if (Fault.Seat != Loser) continue;
        const std::string What = !Fault.Detail.empty()
                                     ? FaultDetailText(Fault.Detail, Language)
                                     : std::string(Russian ? CallFaultRow(Fault.Fault).Russian
                                                           : CallFaultRow(Fault.Fault).English);
        const std::string Call(Russian ? SeatCallRow(Fault.Call).Russian : SeatCallRow(Fault.Call).English);
        const std::string Round = Fault.Call == TSeatCall::GetTurn
                                      ? (Russian ? "раунд " : "round ") + std::to_string(Fault.Round) + ", "
                                      : "";
        return Round + Call + ": " + What;
    }
    return {};
}

}  // namespace velkaran
