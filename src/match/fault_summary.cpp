// Counting faults per player and saying where they happened.
#include "fault_summary.h"

#include "rules/catalogue.h"

#include <cmath>

namespace velkaran {
namespace {

std::string SeatText(int32_t Seat) { return Seat == 0 ? "the first player" : "the second player"; }

// "GetTurn as the second player, round 3 of game 1"
std::string Where(const TGameFault &Fault, int64_t Game) {
    std::string Text = std::string(SeatCallName(Fault.Call)) + " as " + SeatText(Fault.Seat);
    if (Fault.Call == TSeatCall::GetTurn) Text += ", round " + std::to_string(Fault.Round);
    return Text + " of game " + std::to_string(Game);
}

// The seat that lost a game ended by the time limit.
int32_t LoserSeat(int32_t Code) { return HasFlags(Code, FirstPlayerLost) ? 0 : 1; }

}  // namespace

void TFaultSummary::Add(const TPlayedGame &Game) {
    const TGameResult &Result = *Game.Result;
    bool Counted[2] = {false, false};
    for (const TGameFault &Fault : Result.Faults) {
        TPlayerFaults &Player = Players[static_cast<std::size_t>(Game.PlayerOfSeat[Fault.Seat])];
        if (Fault.Fault == TCallFault::Crashed) ++Player.Crashed;
        if (Fault.Fault == TCallFault::Hung) ++Player.Hung;
        if (Fault.Fault == TCallFault::Protocol) ++Player.Protocol;
        if (Player.First.empty()) Player.First = Where(Fault, Game.Number) + ": " + Fault.Detail;
        Counted[Fault.Seat] = true;
    }
    if (Result.Termination == TTermination::TooSlow) {
        const int32_t Seat = LoserSeat(Result.Result);
        TPlayerFaults &Player = Players[static_cast<std::size_t>(Game.PlayerOfSeat[Seat])];
        ++Player.TooSlow;
        if (Player.First.empty()) {
            const TGameFault Slow{Seat, TSeatCall::GetTurn, Result.FinalInfo.Turn, TCallFault::None, ""};
            Player.First = Where(Slow, Game.Number) + ": a move of " +
                           std::to_string(std::llround(Result.LongestMoveMs[Seat])) + " ms";
        }
        Counted[Seat] = true;
    }
    for (int32_t Seat = 0; Seat < 2; ++Seat)
        if (Counted[Seat]) ++Players[static_cast<std::size_t>(Game.PlayerOfSeat[Seat])].Games;
}

std::vector<std::string> TFaultSummary::Lines(const std::array<std::string, 2> &Labels, int64_t GamesPlayed) const {
    std::vector<std::string> Result;
    for (std::size_t I = 0; I < 2; ++I) {
        const TPlayerFaults &Player = Players[I];
        if (Player.Games == 0) continue;
        std::string Kinds;
        const auto Kind = [&Kinds](int64_t Count, const char *Name) {
            if (Count == 0) return;
            Kinds += (Kinds.empty() ? "" : ", ") + std::to_string(Count) + " " + Name;
        };
        Kind(Player.Crashed, "crashed");
        Kind(Player.Hung, "hung");
        Kind(Player.Protocol, "broke the protocol");
        Kind(Player.TooSlow, "too slow");
        Result.push_back(Labels[I] + " faulted or lost by the time limit in " + std::to_string(Player.Games) +
                         " of " + std::to_string(GamesPlayed) + " games: " + Kinds + "; first: " + Player.First);
    }
    return Result;
}

std::optional<std::string> TFaultSummary::FirstFault(const TPlayedGame &Game,
                                                     const std::array<std::string, 2> &Labels) {
    if (Game.Result->Faults.empty()) return std::nullopt;
    const TGameFault &Fault = Game.Result->Faults.front();
    return Labels[static_cast<std::size_t>(Game.PlayerOfSeat[Fault.Seat])] + " " +
           std::string(CallFaultName(Fault.Fault)) + " in " + Where(Fault, Game.Number) + ": " + Fault.Detail;
}

}  // namespace velkaran
