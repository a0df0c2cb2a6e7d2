// The match runner: seats, options word, one game or a series, and the result text.
#include "match_runner.h"

#include "game_points.h"
#include "rules/catalogue.h"
#include "statistics_report.h"

#include <array>
#include <cassert>
#include <stdexcept>
#include <string>
#include <utility>

namespace velkaran {
namespace {

// One seat as the game loop sees it.
struct TSeat {
    TStartGameFn StartGame;
    TGetTurnFn GetTurn;
    std::string Name;
};

// A human seat plays through the game interface; a bot seat as the environment reaches bots.
TSeat WireSeat(const TSeatSetting &Setting, const TMatchEnvironment &Environment) {
    if (Setting.Human) {
        GameInterface *Window = Environment.Ui;
        return {Infallible([Window](int32_t Index, TCardList *CardSet, const TTurnInfo *Info) {
                    Window->StartGame(Index, CardSet, Info);
                }),
                [Window](int32_t Index, const TGameView *View, const TCardList *Playable,
                         const TTurnInfo *Info) { return Window->GetTurn(Index, View, Playable, Info); },
                HumanName};
    }
    TSeatCalls Calls = Environment.BotSeat(Setting.Bot);
    return {std::move(Calls.StartGame), std::move(Calls.GetTurn), Setting.Bot.Name};
}

bool IsSeries(const TMatchSettings &Settings) {
    return !Settings.First.Human && !Settings.Second.Human && Settings.ModeItem != 0;
}

void AppendStatistics(std::vector<std::string> &Lines, const std::string &Heading,
                      const TStatisticsTotal &Total, const std::string &DecimalSeparator) {
    Lines.push_back(Heading);
    WriteStatistics(Lines, Total, DecimalSeparator);
}

// The outcome line of a single game; empty when no bit of the code names an outcome.
std::string OutcomeLine(int32_t Code, const std::string &FirstName, const std::string &SecondName) {
    std::string Line;
    if (HasFlags(Code, FirstPlayerLost)) Line = "Выиграл второй игрок (" + SecondName + ")";
    if (HasFlags(Code, SecondPlayerLost)) Line = "Выиграл первый игрок (" + FirstName + ")";
    if (HasFlags(Code, TurnLimitReached)) Line = "Ничья";
    if (HasFlags(Code, ErrorOrPass)) Line += " (ошибка или пас противника)";
    if (HasFlags(Code, TimeLimitExceeded)) Line += " (превышение лимита времени противника)";
    return Line;
}

std::vector<std::string> PlaySingleGame(const std::array<TSeat, 2> &Seats, const TGameOptions &Options,
                                        const TMatchEnvironment &Environment) {
    TGameResult Result;
    PlayGame(Seats[0].StartGame, Seats[1].StartGame, Seats[0].GetTurn, Seats[1].GetTurn, Options, Result,
             *Environment.Ui, Environment.Clock);
    if (Environment.OnGameEnd) Environment.OnGameEnd(TPlayedGame{1, {0, 1}, &Result});

    const TGamePoints Points = GamePoints(Result);
    const std::string &N1 = Options.FirstName;
    const std::string &N2 = Options.SecondName;
    std::vector<std::string> Lines{
        "Первый игрок : " + N1,
        "Второй игрок : " + N2,
        "Количество ходов : " + std::to_string(static_cast<uint32_t>(Result.FinalInfo.Turn)),
        OutcomeLine(Result.Result, N1, N2),
        "Очки первого игрока : " + std::to_string(Points.First),
        "Очки второго игрока : " + std::to_string(Points.Second),
        "",
        "",
    };
    AppendStatistics(Lines, "Статистика первого игрока (" + N1 + ")",
                     ToTotal(Result.FinalState[0].Statistics), Environment.DecimalSeparator);
    Lines.insert(Lines.end(), {"", ""});
    AppendStatistics(Lines, "Статистика второго игрока (" + N2 + ")",
                     ToTotal(Result.FinalState[1].Statistics), Environment.DecimalSeparator);
    return Lines;
}

// What a series counts for one player of the main window, wide enough that nothing wraps.
struct TPlayerTally {
    int64_t Wins = 0;
    int64_t Errors = 0;
    uint64_t Points = 0;
    TStatisticsTotal Statistics;
};

// Counts one game of a series. Player[s] is the player of the main window in seat s.
void CountGame(const TGameResult &Result, const std::array<int, 2> &Player,
               std::array<TPlayerTally, 2> &Tally, int64_t &Draws) {
    TPlayerTally &First = Tally[Player[0]];
    TPlayerTally &Second = Tally[Player[1]];
    const int32_t Code = Result.Result;
    if (HasFlags(Code, FirstPlayerLost)) ++Second.Wins;
    if (HasFlags(Code, SecondPlayerLost)) ++First.Wins;
    if (HasFlags(Code, TurnLimitReached)) ++Draws;
    if (HasFlags(Code, FirstPlayerLost | ErrorOrPass)) ++First.Errors;
    if (HasFlags(Code, SecondPlayerLost | ErrorOrPass)) ++Second.Errors;
    const TGamePoints Points = GamePoints(Result);
    First.Points += Points.First;
    Second.Points += Points.Second;
    AddStatistics(First.Statistics, Result.FinalState[0].Statistics);
    AddStatistics(Second.Statistics, Result.FinalState[1].Statistics);
}

// N games with player 1 of the main window in seat 1, then N with the seats exchanged.
std::vector<std::string> PlaySeries(const std::array<TSeat, 2> &Seats, TGameOptions Options,
                                    const TMatchSettings &Settings, const TMatchEnvironment &Environment) {
    const int64_t GamesPerHalf = Settings.GameCount > 0 ? Settings.GameCount : 0;
    std::array<TPlayerTally, 2> Tally;
    int64_t Draws = 0;
    TSeriesProgress Progress;
    Progress.GamesTotal = 2 * GamesPerHalf;
    TGameResult Result;
    int64_t Number = 0;

    for (int Half = 0; Half < 2; ++Half) {
        const std::array<int, 2> Player = Half == 0 ? std::array{0, 1} : std::array{1, 0};
        const TSeat &First = Seats[Player[0]];
        const TSeat &Second = Seats[Player[1]];
        Options.FirstName = First.Name;
        Options.SecondName = Second.Name;
        for (int64_t Game = 0; Game < GamesPerHalf; ++Game) {
            PlayGame(First.StartGame, Second.StartGame, First.GetTurn, Second.GetTurn, Options, Result,
                     *Environment.Ui, Environment.Clock);
            CountGame(Result, Player, Tally, Draws);
            if (Environment.OnGameEnd) Environment.OnGameEnd(TPlayedGame{++Number, Player, &Result});
            if (Environment.OnSeriesGame) {
                ++Progress.GamesPlayed;
                Progress.FirstWins = Tally[0].Wins;
                Progress.SecondWins = Tally[1].Wins;
                Progress.Draws = Draws;
                Environment.OnSeriesGame(Progress);
            }
        }
    }

    const std::string &N1 = Seats[0].Name;
    const std::string &N2 = Seats[1].Name;
    std::vector<std::string> Lines{
        "Первый игрок : " + N1,
        "Второй игрок : " + N2,
        "Количество игр: " + std::to_string(2 * static_cast<int64_t>(Settings.GameCount)),
        N1 + " : количество побед " + std::to_string(Tally[0].Wins),
        N2 + " : количество побед " + std::to_string(Tally[1].Wins),
        "Количество ничей " + std::to_string(Draws),
        N1 + " : количество ошибок " + std::to_string(Tally[0].Errors),
        N2 + " : количество ошибок " + std::to_string(Tally[1].Errors),
        N1 + " : " + std::to_string(Tally[0].Points) + " очков",
        N2 + " : " + std::to_string(Tally[1].Points) + " очков",
        "",
        "",
    };
    AppendStatistics(Lines, "Статистика первого игрока (" + N1 + ")", Tally[0].Statistics,
                     Environment.DecimalSeparator);
    Lines.insert(Lines.end(), {"", ""});
    AppendStatistics(Lines, "Статистика второго игрока (" + N2 + ")", Tally[1].Statistics,
                     Environment.DecimalSeparator);
    return Lines;
}

}  // namespace

TSeatCalls InProcessSeat(const TBot &Bot) {
    if (Bot.StartGameProc == nullptr || Bot.GetTurnProc == nullptr) {
        throw std::invalid_argument("the bot \"" + Bot.Name + "\" cannot be started: it lacks an entry point");
    }
    return {Infallible(Bot.StartGameProc), Bot.GetTurnProc};
}

int32_t BuildOptionsWord(const TMatchSettings &Settings) {
    assert(Settings.TurnLimit >= 1 && Settings.TurnLimit <= TurnLimitMask &&
           "turn limit checked by the caller");
    int32_t Word = 0;
    const bool Bots = !Settings.First.Human && !Settings.Second.Human;
    if (Bots) Word |= BotsOnly;
    if (Bots && Settings.ModeItem == 0) Word |= ShowFinalPosition;
    // Masked, so that a turn limit out of range can never set a flag bit.
    return Word | (Settings.TurnLimit & TurnLimitMask) | HiddenInformation;
}

std::vector<std::string> RunMatch(const TMatchSettings &Settings, const TMatchEnvironment &Environment) {
    assert(Environment.Ui != nullptr && "the runner needs a game interface");
    const std::array<TSeat, 2> Seats{WireSeat(Settings.First, Environment),
                                     WireSeat(Settings.Second, Environment)};
    const TGameOptions Options{BuildOptionsWord(Settings), Seats[0].Name, Seats[1].Name};
    if (IsSeries(Settings)) return PlaySeries(Seats, Options, Settings, Environment);
    return PlaySingleGame(Seats, Options, Environment);
}

}  // namespace velkaran
