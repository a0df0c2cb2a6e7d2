// Counting faults per player and saying where they happened.
#include "fault_summary.h"

#include "rules/catalogue.h"
#include "texts/fault_text.h"
#include "texts/plural.h"

#include <cmath>
#include <filesystem>

namespace velkaran {
namespace {

// "GetTurn as the second player, round 3 of game 1"
std::string Where(const TGameFault &Fault, int64_t Game) {
    std::string Text = std::string(SeatCallName(Fault.Call)) + " as " +
                       (Fault.Seat == 0 ? "the first player" : "the second player");
    if (Fault.Call == TSeatCall::GetTurn) Text += ", round " + std::to_string(Fault.Round);
    return Text + " of game " + std::to_string(Game);
}

// "партия 1, раунд 3, вызов GetTurn (второй игрок)"
std::string RussianWhere(const TGameFault &Fault, int64_t Game) {
    std::string Text = "партия " + std::to_string(Game);
    if (Fault.Call == TSeatCall::GetTurn) Text += ", раунд " + std::to_string(Fault.Round);
    const char *Call = Fault.Call == TSeatCall::GetTurn            ? "GetTurn"
                       : Fault.Call == TSeatCall::OpeningStartGame ? "StartGame (выбор карт)"
                                                                   : "StartGame (итог)";
    return Text + ", вызов " + Call + (Fault.Seat == 0 ? " (первый игрок)" : " (второй игрок)");
}

// The seat that lost a game ended by the time limit.
int32_t LoserSeat(int32_t Code) { return HasFlags(Code, FirstPlayerLost) ? 0 : 1; }

// "2 crashed, 1 too slow" with the names given for the four kinds.
template <typename TFaults>
std::string KindList(const TFaults &Player, const std::array<const char *, 4> &Names, const char *Between) {
    std::string Kinds;
    const int64_t Counts[4] = {Player.Crashed, Player.Hung, Player.Protocol, Player.TooSlow};
    for (std::size_t I = 0; I < 4; ++I) {
        if (Counts[I] == 0) continue;
        if (!Kinds.empty()) Kinds += ", ";
        Kinds += std::string(Names[I]) + Between + std::to_string(Counts[I]);
    }
    return Kinds;
}

}  // namespace

void TFaultSummary::Add(const TPlayedGame &Game) {
    const TGameRecord &Result = *Game.Record;
    bool Counted[2] = {false, false};
    const auto Count = [&](const TGameFault &Fault) {
        TPlayerFaults &Player = Players[static_cast<std::size_t>(Game.PlayerOfSeat[Fault.Seat])];
        if (Fault.Fault == TCallFault::Crashed) ++Player.Crashed;
        if (Fault.Fault == TCallFault::Hung) ++Player.Hung;
        if (Fault.Fault == TCallFault::Protocol) ++Player.Protocol;
        if (Fault.Fault == TCallFault::None) ++Player.TooSlow;
        if (!Player.First) {
            Player.First = Fault;
            Player.FirstGame = Game.Number;
        }
        Counted[Fault.Seat] = true;
    };
    for (const TGameFault &Fault : Result.Faults) Count(Fault);
    if (Result.Termination == TTermination::TooSlow) {
        const int32_t Seat = LoserSeat(Result.Result);
        Count(TGameFault{
            Seat, TSeatCall::GetTurn, Result.Rounds, TCallFault::None,
            "a move of " +
                std::to_string(std::llround(Result.Seats[static_cast<std::size_t>(Seat)].LongestMoveMs)) +
                " ms"});
    }
    for (int32_t Seat = 0; Seat < 2; ++Seat)
        if (Counted[Seat]) ++Players[static_cast<std::size_t>(Game.PlayerOfSeat[Seat])].Games;
}

std::vector<std::string> TFaultSummary::Lines(const std::array<std::string, 2> &Labels,
                                              int64_t GamesPlayed) const {
    std::vector<std::string> Result;
    for (std::size_t I = 0; I < 2; ++I) {
        const TPlayerFaults &Player = Players[I];
        if (Player.Games == 0) continue;
        const std::string Kinds =
            KindList(Player, {"crashed", "hung", "broke the protocol", "too slow"}, ": ");
        Result.push_back(Labels[I] + " faulted or lost by the time limit in " + std::to_string(Player.Games) +
                         " of " + std::to_string(GamesPlayed) + " games (" + Kinds +
                         "); first: " + Where(*Player.First, Player.FirstGame) + ": " + Player.First->Detail);
    }
    return Result;
}

std::vector<std::string> TFaultSummary::RussianLines(const std::array<std::string, 2> &Labels,
                                                     int64_t GamesPlayed) const {
    std::vector<std::string> Result;
    for (std::size_t I = 0; I < 2; ++I) {
        const TPlayerFaults &Player = Players[I];
        if (Player.Games == 0) continue;
        const std::string Kinds =
            KindList(Player, {"сбой", "завис", "нарушил протокол", "превысил лимит времени"}, " — ");
        Result.push_back("Бот " + Labels[I] + ": сбои или проигрыш по времени в " +
                         std::to_string(Player.Games) + " из " + CountText(GamesPlayed, OfGamesOfSeriesWord) +
                         " (" + Kinds + "). Впервые: " + RussianWhere(*Player.First, Player.FirstGame) +
                         ": " + FaultDetailText(Player.First->Detail) + ".");
    }
    return Result;
}

std::optional<std::string> TFaultSummary::FirstFault(const TPlayedGame &Game,
                                                     const std::array<std::string, 2> &Labels) {
    if (Game.Record->Faults.empty()) return std::nullopt;
    const TGameFault &Fault = Game.Record->Faults.front();
    return Labels[static_cast<std::size_t>(Game.PlayerOfSeat[Fault.Seat])] + " " +
           std::string(CallFaultName(Fault.Fault)) + " in " + Where(Fault, Game.Number) + ": " + Fault.Detail;
}

std::array<std::string, 2> SeatLabels(const TMatchSettings &Settings) {
    const auto Label = [](const TSeatSetting &Seat) {
        if (Seat.Human) return std::string(HumanName);
        const std::string File = std::filesystem::path(Seat.Bot.Path).filename().string();
        return "«" + Seat.Bot.Name + "»" + (File.empty() ? "" : " (" + File + ")");
    };
    return {Label(Settings.First), Label(Settings.Second)};
}

std::string JoinLines(const std::vector<std::string> &Lines) {
    std::string Text;
    for (const std::string &Line : Lines) Text += (Text.empty() ? "" : "\n") + Line;
    return Text;
}

}  // namespace velkaran
