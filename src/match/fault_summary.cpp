// Counting faults, slow moves and refused answers per player, and saying where they happened.
#include "fault_summary.h"

#include "records/refusal.h"
#include "rules/catalogue.h"
#include "texts/fault_text.h"
#include "texts/plural.h"

#include <cmath>
#include <filesystem>

namespace velkaran {
namespace {

// "GetTurn as the second player, round 3 of game 1"
std::string Where(const TGameFault &Fault, int64_t Game) {
    std::string Text = std::string(SeatCallRow(Fault.Call).English) + " as " +
                       (Fault.Seat == 0 ? "the first player" : "the second player");
    if (Fault.Call == TSeatCall::GetTurn) Text += ", round " + std::to_string(Fault.Round);
    return Text + " of game " + std::to_string(Game);
}

// "партия 1, раунд 3, вызов GetTurn (второй игрок)"
std::string RussianWhere(const TGameFault &Fault, int64_t Game) {
    std::string Text = "партия " + std::to_string(Game);
    if (Fault.Call == TSeatCall::GetTurn) Text += ", раунд " + std::to_string(Fault.Round);
    return Text + ", вызов " + std::string(SeatCallRow(Fault.Call).Russian) +
           (Fault.Seat == 0 ? " (первый игрок)" : " (второй игрок)");
}

// The seat that lost a game.
int32_t LoserSeat(int32_t Code) { return HasFlags(Code, FirstPlayerLost) ? 0 : 1; }

}  // namespace

TFaultSummary::TFaultSummary(std::size_t Players) : Players(Players) {}

void TFaultSummary::Add(const TPlayedGame &Game) {
    const TGameRecord &Record = *Game.Record;
    bool Counted[2] = {false, false};
    const auto Count = [&](const TGameFault &Fault, int64_t TPlayerFaults::*Kind, const std::string &English,
                           const std::string &Russian) {
        TPlayerFaults &Player = Players[static_cast<std::size_t>(Game.PlayerOfSeat[Fault.Seat])];
        ++(Player.*Kind);
        if (!Player.First) Player.First = TFirst{Fault, Game.Number, English, Russian};
        Counted[Fault.Seat] = true;
    };
    for (const TGameFault &Fault : Record.Faults) {
        int64_t TPlayerFaults::*Kind = &TPlayerFaults::Crashed;
        if (Fault.Fault == TCallFault::Hung) Kind = &TPlayerFaults::Hung;
        if (Fault.Fault == TCallFault::Protocol) Kind = &TPlayerFaults::Protocol;
        Count(Fault, Kind, Fault.Detail, FaultDetailText(Fault.Detail, TLanguage::Russian));
    }
    const int32_t Loser = LoserSeat(Record.Result);
    if (Record.Termination == TTermination::TooSlow) {
        const std::string Detail =
            "a move of " +
            std::to_string(std::llround(Record.Seats[static_cast<std::size_t>(Loser)].LongestMoveMs)) + " ms";
        Count(TGameFault{Loser, TSeatCall::GetTurn, Record.Rounds, TCallFault::None, Detail},
              &TPlayerFaults::TooSlow, Detail, FaultDetailText(Detail, TLanguage::Russian));
    }
    if (Record.Termination == TTermination::InvalidSet || Record.Termination == TTermination::RefusedCard) {
        const TSeatCall Call =
            Record.Termination == TTermination::InvalidSet ? TSeatCall::OpeningStartGame : TSeatCall::GetTurn;
        Count(TGameFault{Loser, Call, Record.Rounds, TCallFault::None, ""}, &TPlayerFaults::Refused,
              RecordRefusal(Record, TLanguage::English), RecordRefusal(Record, TLanguage::Russian));
    }
    for (int32_t Seat = 0; Seat < 2; ++Seat) {
        TPlayerFaults &Player = Players[static_cast<std::size_t>(Game.PlayerOfSeat[Seat])];
        ++Player.Played;
        if (Counted[Seat]) ++Player.Games;
    }
}

std::vector<std::string> TFaultSummary::Report(std::span<const std::string> Labels,
                                               TLanguage Language) const {
    const bool English = Language == TLanguage::English;
    std::vector<std::string> Result;
    for (std::size_t I = 0; I < Players.size() && I < Labels.size(); ++I) {
        const TPlayerFaults &Player = Players[I];
        if (Player.Games == 0 || Labels[I].empty()) continue;
        const std::pair<const char *, const char *> Names[] = {{"crashed", "сбой"},
                                                               {"hung", "завис"},
                                                               {"broke the protocol", "нарушил протокол"},
                                                               {"too slow", "превысил лимит времени"},
                                                               {"refused", "ответ отклонён"}};
        const int64_t Counts[] = {Player.Crashed, Player.Hung, Player.Protocol, Player.TooSlow,
                                  Player.Refused};
        std::string Kinds;
        for (std::size_t Kind = 0; Kind < std::size(Counts); ++Kind) {
            if (Counts[Kind] == 0) continue;
            Kinds += std::string(Kinds.empty() ? "" : ", ") +
                     (English ? Names[Kind].first : Names[Kind].second) + (English ? ": " : " — ") +
                     std::to_string(Counts[Kind]);
        }
        const TFirst &First = *Player.First;
        const std::string Games = std::to_string(Player.Games);
        const std::string Played = std::to_string(Player.Played);
        if (English) {
            Result.push_back(Labels[I] + " faulted, broke a rule or lost by the time limit in " + Games +
                             " of " + Played + " games (" + Kinds +
                             "); first: " + Where(First.Where, First.Game) +
                             (First.English.empty() ? "" : ": " + First.English));
        } else {
            Result.push_back("Бот " + Labels[I] + ": сбои, нарушения правил или проигрыш по времени в " +
                             Games + " из " + CountText(Player.Played, OfGamesOfSeriesWord) + " (" + Kinds +
                             "). Впервые: " + RussianWhere(First.Where, First.Game) +
                             (First.Russian.empty() ? "" : ": " + First.Russian) + ".");
        }
    }
    return Result;
}

std::vector<std::string> TFaultSummary::Lines(std::span<const std::string> Labels) const {
    return Report(Labels, TLanguage::English);
}

std::vector<std::string> TFaultSummary::RussianLines(std::span<const std::string> Labels) const {
    return Report(Labels, TLanguage::Russian);
}

std::optional<std::string> TFaultSummary::FirstFault(const TPlayedGame &Game,
                                                     std::span<const std::string> Labels) {
    if (Game.Record->Faults.empty()) return std::nullopt;
    const TGameFault &Fault = Game.Record->Faults.front();
    return Labels[static_cast<std::size_t>(Game.PlayerOfSeat[Fault.Seat])] + " " +
           std::string(CallFaultRow(Fault.Fault).English) + " in " + Where(Fault, Game.Number) + ": " +
           Fault.Detail;
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
