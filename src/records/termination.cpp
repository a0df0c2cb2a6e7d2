// Reading the stored names back, and the one mapping from why a game ended to its result code.
#include "termination.h"

#include "texts/fault_text.h"

namespace velkaran {
namespace {

// The value of Rows whose stored or old stored name is Name.
template <typename TRow, std::size_t N, typename TValue>
std::optional<TValue> ByName(const TRow (&Rows)[N], TValue TRow::*Value, std::string_view Name) {
    for (const TRow &Row : Rows)
        if (Row.Stored == Name || Row.OldStored == Name) return Row.*Value;
    return std::nullopt;
}

}  // namespace

std::optional<TTermination> StoredTermination(std::string_view Name) {
    return ByName(TerminationRows, &TTerminationRow::Kind, Name);
}

std::optional<TSeatCall> StoredSeatCall(std::string_view Name) {
    return ByName(SeatCallRows, &TSeatCallRow::Call, Name);
}

std::optional<TCallFault> StoredCallFault(std::string_view Name) {
    return ByName(CallFaultRows, &TCallFaultRow::Fault, Name);
}

int32_t ResultCode(TTermination Kind, int32_t LoserSeat, TSeatCall Call) {
    const TTerminationRow &Row = TerminationRow(Kind);
    if (Kind == TTermination::None) return 0;
    if (Row.Draw) return Row.Code;
    const int32_t Lost = LoserSeat == 0 ? FirstPlayerLost : SecondPlayerLost;
    return Lost | (Call == TSeatCall::GetTurn ? Row.Code : Row.CodeInStartGame);
}

TTermination TerminationOfFault(TCallFault Fault) {
    switch (Fault) {
        case TCallFault::None:
            return TTermination::None;
        case TCallFault::Hung:
            return TTermination::Hung;
        case TCallFault::Crashed:
        case TCallFault::Protocol:
            return TTermination::Crashed;
    }
    return TTermination::None;
}

std::string FaultDetailText(const std::string &Detail, TLanguage Language) {
    return Language == TLanguage::English ? Detail : FaultDetailText(std::string_view(Detail));
}

}  // namespace velkaran
