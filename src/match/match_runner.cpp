// The match runner: seats, options word, one game or a series, and the result text.
#include "match_runner.h"

#include "game_recording.h"
#include "match_tally.h"
#include "rules/catalogue.h"

#include <array>
#include <cassert>
#include <filesystem>
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

// How a seat is named in the record: the library's file name and the name it plays under.
TSeatLabel LabelOf(const TSeatSetting &Setting, const TSeat &Seat) {
    return {Setting.Human ? std::string() : std::filesystem::path(Setting.Bot.Path).filename().string(),
            Seat.Name};
}

// Declared before use: how a stop is asked for, and the text of a stopped series.
TStopRequest StopRequested(const TMatchEnvironment &Environment);
TMatchOutcome Stopped(const std::array<TSeat, 2> &Seats, const TMatchSettings &Settings,
                      const TMatchTally &Tally, const TMatchEnvironment &Environment);

TMatchOutcome PlaySingleGame(const std::array<TSeat, 2> &Seats, const std::array<TSeatLabel, 2> &Labels,
                             TGameOptions Options, const TMatchSettings &Settings,
                             const TMatchEnvironment &Environment) {
    Options.Start = PairStart(Settings.Openings, 0);
    TGameResult Result;
    PlayGame(Seats[0].StartGame, Seats[1].StartGame, Seats[0].GetTurn, Seats[1].GetTurn, Options, Result,
             *Environment.Ui, Environment.Clock);
    if (StopRequested(Environment) == TStopRequest::AtOnce) return {{StoppedGameLine}, true, 0, 1};
    TGameRecord Record;
    FillRecord(Record, Result, TGamePlace{1, 0, 0, 0}, Labels[0], Labels[1]);
    if (Environment.OnGameEnd) Environment.OnGameEnd(TPlayedGame{1, {0, 1}, &Record, &Result.MoveTimesMs});
    return {SingleGameText(Record, Environment.DecimalSeparator), false, 1, 1};
}

TStopRequest StopRequested(const TMatchEnvironment &Environment) {
    return Environment.Stop == nullptr ? TStopRequest::None
                                       : static_cast<TStopRequest>(Environment.Stop->load());
}

// The text of a series stopped after the games of Tally: the series text, and after the number
// of games the line that says how many were played.
TMatchOutcome Stopped(const std::array<TSeat, 2> &Seats, const TMatchSettings &Settings,
                      const TMatchTally &Tally, const TMatchEnvironment &Environment) {
    const int64_t Planned = 2 * static_cast<int64_t>(Settings.GameCount);
    std::vector<std::string> Lines =
        SeriesText({Seats[0].Name, Seats[1].Name}, Settings.GameCount, Tally, Environment.DecimalSeparator);
    Lines.insert(Lines.begin() + 3, SeriesStoppedLine(Tally.Games, Planned));
    return {std::move(Lines), true, Tally.Games, Planned};
}

// N games with player 1 of the main window in seat 1, then N with the seats exchanged.
TMatchOutcome PlaySeries(const std::array<TSeat, 2> &Seats, const std::array<TSeatLabel, 2> &Labels,
                         TGameOptions Options, const TMatchSettings &Settings,
                         const TMatchEnvironment &Environment) {
    const int64_t GamesPerHalf = Settings.GameCount > 0 ? Settings.GameCount : 0;
    TMatchTally Tally;
    TSeriesProgress Progress;
    Progress.GamesTotal = 2 * GamesPerHalf;
    TGameResult Result;
    TGameRecord Record;
    for (int Half = 0; Half < 2; ++Half) {
        const std::array<int, 2> Player = Half == 0 ? std::array{0, 1} : std::array{1, 0};
        const TSeat &First = Seats[Player[0]];
        const TSeat &Second = Seats[Player[1]];
        Options.FirstName = First.Name;
        Options.SecondName = Second.Name;
        for (int64_t Game = 0; Game < GamesPerHalf; ++Game) {
            Options.Start = PairStart(Settings.Openings, Game);
            PlayGame(First.StartGame, Second.StartGame, First.GetTurn, Second.GetTurn, Options, Result,
                     *Environment.Ui, Environment.Clock);
            if (StopRequested(Environment) == TStopRequest::AtOnce)
                return Stopped(Seats, Settings, Tally, Environment);
            // Game Game of the pair Game: the first half opens every pair, the second closes it.
            const TGamePlace Place{Tally.Games + 1, 0, Game, Half};
            FillRecord(Record, Result, Place, Labels[Player[0]], Labels[Player[1]]);
            Tally.Add(Record, Player);
            if (Environment.OnGameEnd)
                Environment.OnGameEnd(TPlayedGame{Tally.Games, Player, &Record, &Result.MoveTimesMs});
            if (Environment.OnSeriesGame) {
                ++Progress.GamesPlayed;
                Progress.FirstWins = Tally.Players[0].Wins;
                Progress.SecondWins = Tally.Players[1].Wins;
                Progress.Draws = Tally.Draws;
                Environment.OnSeriesGame(Progress);
            }
            // A stop asked for during the last game finds the series complete.
            if (StopRequested(Environment) != TStopRequest::None && Tally.Games < 2 * GamesPerHalf)
                return Stopped(Seats, Settings, Tally, Environment);
        }
    }
    return {
        SeriesText({Seats[0].Name, Seats[1].Name}, Settings.GameCount, Tally, Environment.DecimalSeparator),
        false, Tally.Games, 2 * GamesPerHalf};
}

}  // namespace

TSeatCalls InProcessSeat(const TBot &Bot) {
    if (Bot.StartGameProc == nullptr || Bot.GetTurnProc == nullptr) {
        throw std::invalid_argument("the bot \"" + Bot.Name +
                                    "\" cannot be started: it lacks an entry point");
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

TMatchOutcome RunMatch(const TMatchSettings &Settings, const TMatchEnvironment &Environment) {
    assert(Environment.Ui != nullptr && "the runner needs a game interface");
    const std::array<TSeat, 2> Seats{WireSeat(Settings.First, Environment),
                                     WireSeat(Settings.Second, Environment)};
    const std::array<TSeatLabel, 2> Labels{LabelOf(Settings.First, Seats[0]),
                                           LabelOf(Settings.Second, Seats[1])};
    TGameOptions Options{BuildOptionsWord(Settings), Seats[0].Name, Seats[1].Name};
    Options.MoveLimitMs = Settings.MoveLimitMs;
    if (IsSeries(Settings)) return PlaySeries(Seats, Labels, Options, Settings, Environment);
    return PlaySingleGame(Seats, Labels, Options, Settings, Environment);
}

}  // namespace velkaran
