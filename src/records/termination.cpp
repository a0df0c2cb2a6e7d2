// The one mapping from why a game ended to the result code the players receive.
#include "termination.h"

#include <velkaran/bot.h>

namespace velkaran {

int32_t ResultCode(TTermination Kind, int32_t LoserSeat, TSeatCall Call) {
    const int32_t Lost = LoserSeat == 0 ? FirstPlayerLost : SecondPlayerLost;
    switch (Kind) {
        case TTermination::None:
            return 0;
        case TTermination::BaseDestroyed:
            return Lost;
        case TTermination::TurnLimit:
            return TurnLimitReached;
        case TTermination::InvalidSet:
        case TTermination::RefusedCard:
        case TTermination::Crashed:
            return Lost | ErrorOrPass;
        case TTermination::TooSlow:
            return Lost | TimeLimitExceeded;
        case TTermination::Hung:
            return Lost | (Call == TSeatCall::GetTurn ? TimeLimitExceeded : ErrorOrPass);
    }
    return 0;
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

std::string_view TerminationName(TTermination Kind) {
    switch (Kind) {
        case TTermination::None:
            return "not ended";
        case TTermination::BaseDestroyed:
            return "base destroyed";
        case TTermination::TurnLimit:
            return "turn limit";
        case TTermination::InvalidSet:
            return "invalid set";
        case TTermination::RefusedCard:
            return "refused card";
        case TTermination::TooSlow:
            return "too slow";
        case TTermination::Crashed:
            return "crashed";
        case TTermination::Hung:
            return "hung";
    }
    return "?";
}

std::string_view SeatCallName(TSeatCall Call) {
    switch (Call) {
        case TSeatCall::OpeningStartGame:
            return "StartGame (choosing cards)";
        case TSeatCall::GetTurn:
            return "GetTurn";
        case TSeatCall::ClosingStartGame:
            return "StartGame (the result)";
    }
    return "?";
}

std::string_view CallFaultName(TCallFault Fault) {
    switch (Fault) {
        case TCallFault::None:
            return "no fault";
        case TCallFault::Crashed:
            return "crashed";
        case TCallFault::Hung:
            return "hung";
        case TCallFault::Protocol:
            return "broke the protocol";
    }
    return "?";
}

}  // namespace velkaran
