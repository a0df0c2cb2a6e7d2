// Reading the stored names back, and the one mapping from why a game ended to its result code.
#include "termination.h"

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

}  // namespace velkaran

namespace velkaran {
namespace {

// Detail after Prefix when it starts so, else nothing.
std::optional<std::string> After(const std::string &Detail, std::string_view Prefix) {
    if (!Detail.starts_with(Prefix)) return std::nullopt;
    return Detail.substr(Prefix.size());
}

}  // namespace

std::string FaultDetailText(const std::string &Detail, TLanguage Language) {
    if (Language == TLanguage::English) return Detail;
    if (const auto Signal = After(Detail, "killed by ")) {
        const std::string Name = Signal->substr(0, Signal->find(' '));
        return "завершён сигналом " + (Name == "signal" ? Signal->substr(7) : Name);
    }
    if (const auto Status = After(Detail, "exited with status ")) return "завершился с кодом " + *Status;
    if (const auto Wait = After(Detail, "no answer within ")) {
        if (Wait->ends_with(" ms")) return "нет ответа за " + Wait->substr(0, Wait->size() - 3) + " мс";
    }
    if (const auto Move = After(Detail, "a move of ")) {
        if (Move->ends_with(" ms")) return "ход длился " + Move->substr(0, Move->size() - 3) + " мс";
    }
    if (const auto Call = After(Detail, "the sandbox refused the system call "))
        return "песочница запретила системный вызов " + *Call;
    if (const auto What = After(Detail, "an exception left the bot (")) {
        if (What->ends_with(")"))
            return "из бота вышло исключение «" + What->substr(0, What->size() - 1) + "»";
    }
    if (Detail == "stopped answering on its pipes to the host") return "перестал отвечать программе";
    if (const auto Bytes = After(Detail, "sent ")) {
        if (Bytes->ends_with(" bytes that are not an answer"))
            return "прислал вместо ответа " + Bytes->substr(0, Bytes->find(' ')) + " байт";
    }
    if (Detail == "the worker had already ended") return "рабочий процесс бота уже завершился";
    return "";
}

}  // namespace velkaran
