// The session's watch loop: signals, progress and saving while the runner plays.
#include "tournament_session.h"

#include "progress.h"

#include "tournament/tournament_statistics.h"

#include <signal.h>

#include <atomic>
#include <cstdio>
#include <ctime>
#include <exception>
#include <thread>

namespace velkaran {
namespace {

using Clock = std::chrono::steady_clock;

// At least this long between two saves; longer when saving itself takes long.
constexpr auto SaveInterval = std::chrono::seconds(5);

// The bot with the best score so far, for the progress line; empty before any game.
std::pair<std::string, double> Leader(const TTournamentResults &Results) {
    std::pair<std::string, double> Best;
    for (std::size_t Bot = 0; Bot < Results.Bots().size(); ++Bot) {
        const TBotResults &Counted = Results.Bots()[Bot];
        if (Counted.Games == 0) continue;
        const double Score = (static_cast<double>(Counted.Wins) + 0.5 * static_cast<double>(Counted.Draws)) /
                             static_cast<double>(Counted.Games);
        if (Best.first.empty() || Score > Best.second) Best = {Results.Config().Bots[Bot].Name, Score};
    }
    return Best;
}

}  // namespace

TTournamentSession::TTournamentSession(std::unique_ptr<TTournamentResults> Results,
                                       std::unique_ptr<TRecordJournal> Journal, TDocument Document)
    : Results_(std::move(Results)), Journal(std::move(Journal)), Document(std::move(Document)) {}

bool TTournamentSession::Count(const TGameRecord &Record, const std::vector<double> &MoveTimesMs) {
    const std::lock_guard<std::mutex> Guard(Lock);
    std::string Error;
    if (!Results_->Add(Record, Error)) return true;  // the runner plays each game once
    Results_->AddMoveTimes(Record, MoveTimesMs);
    ++PlayedHere;
    if (Journal && !Journal->Append(Record) && !JournalError)
        JournalError = "cannot keep the game records on disk";
    if (!Results_->Config().Sprt) return true;
    return EvaluateSprt(Results_->Encounters()[0].Pentanomial, *Results_->Config().Sprt).Verdict ==
           TSprtVerdict::Continue;
}

bool TTournamentSession::Play(TTournamentRunner &Runner, const std::function<bool(int64_t Index)> &Skip,
                              bool ShowProgress) {
    std::atomic<bool> Finished{false};
    std::exception_ptr Failure;
    std::thread Games([&] {
        try {
            Runner.Run(Skip, [this](const TGameRecord &Record, const std::vector<double> &MoveTimesMs) {
                return Count(Record, MoveTimesMs);
            });
        } catch (...) {
            Failure = std::current_exception();
        }
        Finished = true;
    });

    sigset_t Ending;
    sigemptyset(&Ending);
    for (const int Signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&Ending, Signal);
    TTournamentProgress Progress(ShowProgress);
    bool Interrupted = false;
    Clock::time_point NextSave = Clock::now() + SaveInterval;
    while (!Finished.load()) {
        const timespec Wait{0, 200'000'000};
        if (sigtimedwait(&Ending, nullptr, &Wait) > 0 && !Interrupted) {
            Interrupted = true;
            Runner.Stop();
        }
        if (Clock::now() >= NextSave && !Interrupted) {
            const Clock::time_point Begun = Clock::now();
            std::string Error;
            if (!Save(false, Error)) std::fprintf(stderr, "\nvelkaran-tournament: %s\n", Error.c_str());
            NextSave = Clock::now() + std::max<Clock::duration>(SaveInterval, 20 * (Clock::now() - Begun));
        }
        const std::lock_guard<std::mutex> Guard(Lock);
        const auto [Name, Score] = Leader(*Results_);
        Progress.Show(Results_->GamesDone(), Results_->Schedule().Games(), PlayedHere, Name, Score);
    }
    Games.join();
    Progress.Clear();
    if (Failure) std::rethrow_exception(Failure);
    return Interrupted;
}

bool TTournamentSession::Save(bool Complete, std::string &Error) {
    if (Document.Path.empty()) return true;
    const std::lock_guard<std::mutex> Guard(Lock);
    if (JournalError) {
        Error = *JournalError;
        return false;
    }
    return Journal->WriteDocument(Document.Path, Document.Head, Document.Tail(*Results_, Complete), Error);
}

}  // namespace velkaran
