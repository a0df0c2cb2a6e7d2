#include "match_run.h"

#include "match/match_tally.h"
#include "rules/player_names.h"
#include "summary/result_folder.h"

#include <ctime>
#include <filesystem>

namespace velkaran {

namespace {

std::string PlayerName(const TSeatSetting &Seat) {
    return Seat.Human ? std::string(HumanName) : Seat.Bot.Name;
}

}  // namespace

TMatchRun::TMatchRun(const TMatchSettings &Settings, const TMatchEnvironment &Environment)
    : Settings(Settings), Environment(Environment), Counted(std::make_shared<TMatchResults>()) {
    const bool Series = BotsOnly() && Settings.ModeItem != 0;
    Counted->Names = ShownPlayerNames({PlayerName(Settings.First), PlayerName(Settings.Second)});
    Counted->Scope = {.Series = Series, .GamesPerHalf = Settings.GameCount, .Stopped = false};
    Counted->DecimalSeparator = Environment.DecimalSeparator;
    Progress_.GamesTotal = Series ? 2 * static_cast<int64_t>(std::max(Settings.GameCount, 0)) : 1;
    Clock.start();
}

void TMatchRun::Play() {
    std::string Error;
    Counted->Archive = TRecordArchive::Create(Error);  // without it the games cannot be replayed
    if (IsSeries() && !KeepFolder.empty()) {
        std::error_code Failure;
        std::filesystem::create_directories(KeepFolder, Failure);
        Journal = TRecordJournal::Open(KeepFolder, KeepError);
        if (!Journal) KeepError = "папка результатов «" + KeepFolder + "» не принимает файлов: " + KeepError;
    }
    TMatchEnvironment Playing = Environment;
    Playing.Stop = &Stop;
    Playing.OnGameEnd = [this, Outer = Environment.OnGameEnd](const TPlayedGame &Game) {
        CountGame(Game);
        if (Outer) Outer(Game);
    };
    // Each call to a bot (its set, its moves, the game's end) is watched on the host's clock, for
    // the progress window.
    Playing.BotSeat = [this, Inner = Environment.BotSeat](const TBot &Bot) {
        TSeatCalls Calls = Inner(Bot);
        Calls.StartGame = [this, Name = Bot.Name, Call = std::move(Calls.StartGame)](
                              int32_t Index, TCardList *CardSet, const TTurnInfo *Info) {
            const TThinkingScope Watched(*this, Name);
            return Call(Index, CardSet, Info);
        };
        Calls.GetTurn = [this, Name = Bot.Name, Call = std::move(Calls.GetTurn)](
                            int32_t Index, const TGameView *View, const TCardList *Playable,
                            const TTurnInfo *Info) {
            const TThinkingScope Watched(*this, Name);
            return Call(Index, View, Playable, Info);
        };
        return Calls;
    };
    Playing.OnSeriesGame = [this](const TSeriesProgress &Now) {
        const std::lock_guard<std::mutex> Guard(ProgressLock);
        Progress_ = Now;
    };
    try {
        TMatchOutcome Outcome = RunMatch(Settings, Playing);
        Lines_ = std::move(Outcome.Lines);
        Counted->Scope.Stopped = Counted->Scope.Series && Outcome.Stopped;
        if (Journal) Keep(!Outcome.Stopped);
    } catch (const std::exception &Failure) {
        Failure_ = Failure.what();
    } catch (...) {
        Failure_ = "Игра прервана неизвестной ошибкой.";
    }
}

TMatchRun::TThinkingScope::TThinkingScope(TMatchRun &Run, const std::string &Name) : Run(Run) {
    const std::lock_guard<std::mutex> Guard(Run.ProgressLock);
    Run.ThinkingName = Name;
    Run.ThinkingSinceMs = Run.Clock.elapsed();
}

TMatchRun::TThinkingScope::~TThinkingScope() {
    const std::lock_guard<std::mutex> Guard(Run.ProgressLock);
    Run.ThinkingSinceMs = -1;
}

std::optional<TMatchRun::TThinking> TMatchRun::Thinking() const {
    const std::lock_guard<std::mutex> Guard(ProgressLock);
    if (ThinkingSinceMs < 0) return std::nullopt;
    return TThinking{ThinkingName, static_cast<double>(Clock.elapsed() - ThinkingSinceMs) / 1000.0};
}

void TMatchRun::CountGame(const TPlayedGame &Game) {
    ++Games;
    Faults.Add(Game);
    static const std::vector<double> NoTimes;
    Counted->Summary.Add(*Game.Record, Game.PlayerOfSeat, Game.MoveTimesMs ? *Game.MoveTimesMs : NoTimes);
    if (Counted->Archive && !Counted->Archive->Append(*Game.Record)) Counted->Archive.reset();
    if (Journal && !Journal->Append(*Game.Record)) {
        Journal.reset();
        KeepError = "папка результатов «" + KeepFolder + "» не приняла записи игр";
    }
}

void TMatchRun::Keep(bool Complete) {
    if (const auto Path =
            KeepMatchResult(KeepFolder, Settings, *Journal, Complete, Lines_, std::time(nullptr), KeepError))
        Kept = *Path;
    Journal.reset();
}

void TMatchRun::RequestStop(TStopRequest Request) {
    if (static_cast<int>(Request) <= Stop.load()) return;  // a stop at once is never taken back
    Stop.store(static_cast<int>(Request));
    // The game in play ends as soon as its bots' workers are gone: both seats lose by a fault, and
    // the runner, seeing the request, does not count it.
    if (Request == TStopRequest::AtOnce && BotRun) BotRun->Stop();
}

TSeriesProgress TMatchRun::Progress() const {
    const std::lock_guard<std::mutex> Guard(ProgressLock);
    return Progress_;
}

std::vector<std::string> TMatchRun::FaultReport() const {
    // A human's set or move left unmade is no fault to report.
    std::array<std::string, 2> Labels = SeatLabels(Settings);
    if (Settings.First.Human) Labels[0].clear();
    if (Settings.Second.Human) Labels[1].clear();
    return Faults.RussianLines(Labels);
}

}  // namespace velkaran
