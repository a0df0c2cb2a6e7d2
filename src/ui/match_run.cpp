#include "match_run.h"

#include "match/match_tally.h"
#include "rules/player_names.h"

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
    TMatchEnvironment Playing = Environment;
    Playing.Stop = &Stop;
    Playing.OnGameEnd = [this, Outer = Environment.OnGameEnd](const TPlayedGame &Game) {
        CountGame(Game);
        if (Outer) Outer(Game);
    };
    Playing.OnSeriesGame = [this](const TSeriesProgress &Now) {
        const std::lock_guard<std::mutex> Guard(ProgressLock);
        Progress_ = Now;
    };
    try {
        TMatchOutcome Outcome = RunMatch(Settings, Playing);
        Lines_ = std::move(Outcome.Lines);
        Counted->Scope.Stopped = Counted->Scope.Series && Outcome.Stopped;
    } catch (const std::exception &Failure) {
        Failure_ = Failure.what();
    } catch (...) {
        Failure_ = "Игра прервана неизвестной ошибкой.";
    }
}

void TMatchRun::CountGame(const TPlayedGame &Game) {
    ++Games;
    Faults.Add(Game);
    static const std::vector<double> NoTimes;
    Counted->Summary.Add(*Game.Record, Game.PlayerOfSeat, Game.MoveTimesMs ? *Game.MoveTimesMs : NoTimes);
    if (Counted->Archive && !Counted->Archive->Append(*Game.Record)) Counted->Archive.reset();
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
