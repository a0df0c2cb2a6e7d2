// The session's watch loop: signals, progress and saving while the runner plays.
#include "tournament_session.h"

#include "progress.h"
#include "termination_signals.h"

#include "records/bot_names.h"
#include "tournament/tournament_statistics.h"

#include <atomic>
#include <cstdio>
#include <thread>

namespace velkaran {
namespace {

using Clock = std::chrono::steady_clock;

// At least this long between two saves; longer when saving itself takes long.
constexpr auto SaveInterval = std::chrono::seconds(5);

// How long the watch loop waits for a signal before it redraws the progress.
constexpr long WatchMs = 100;

// The bot with the best score so far, for the progress line; empty before any game.
std::pair<std::string, double> Leader(const TTournamentResults &Results,
                                      const std::vector<std::string> &Names) {
    std::pair<std::string, double> Best;
    for (std::size_t Bot = 0; Bot < Results.Bots().size(); ++Bot) {
        const TBotResults &Counted = Results.Bots()[Bot];
        if (Counted.Games == 0) continue;
        const double Score = (static_cast<double>(Counted.Wins) + 0.5 * static_cast<double>(Counted.Draws)) /
                             static_cast<double>(Counted.Games);
        if (Best.first.empty() || Score > Best.second) Best = {Names[Bot], Score};
    }
    return Best;
}

}  // namespace

bool TournamentComplete(const TTournamentResults &Results) {
    if (Results.GamesDone() == Results.Schedule().Games()) return true;
    return Results.Config().Sprt && !Results.Encounters().empty() &&
           EvaluateSprt(Results.Encounters()[0].Pentanomial, *Results.Config().Sprt).Verdict !=
               TSprtVerdict::Continue;
}

TTournamentSession::TTournamentSession(std::unique_ptr<TTournamentResults> Results,
                                       std::unique_ptr<TRecordJournal> Journal, TDocument Document)
    : Results_(std::move(Results)),
      Journal(std::move(Journal)),
      Document(std::move(Document)),
      Problems(Results_->Config().Bots.size()) {}

void TTournamentSession::NoteProblems(const TGameRecord &Record) {
    const TScheduledGame Game = Results_->Schedule().Game(
        Results_->Schedule().IndexOf(Record.Place.Encounter, Record.Place.Pair, Record.Place.Leg));
    const std::lock_guard<std::mutex> Guard(Lock);
    Problems.Add(TPlayedGame{Record.Place.Number, {Game.First, Game.Second}, &Record, nullptr});
}

std::vector<std::string> TTournamentSession::ProblemLines() const {
    std::vector<std::string> Labels;
    for (const TTournamentBot &Bot : Results_->Config().Bots)
        Labels.push_back(NameWithFile(Bot.Name, Bot.File));
    const std::lock_guard<std::mutex> Guard(Lock);
    return Problems.Lines(Labels);
}

bool TTournamentSession::Count(const TGameRecord &Record, const std::vector<double> &MoveTimesMs) {
    std::string Error;
    {
        const std::lock_guard<std::mutex> Guard(Lock);
        if (!Results_->Add(Record, Error)) return true;  // the runner plays each game once
        Results_->AddMoveTimes(Record, MoveTimesMs);
        ++PlayedHere_;
        if (Journal && !Journal->Append(Record) && !JournalError)
            JournalError = "cannot keep the game records on disk";
    }
    NoteProblems(Record);
    const std::lock_guard<std::mutex> Guard(Lock);
    return !Results_->Config().Sprt || !TournamentComplete(*Results_);
}

bool TTournamentSession::Play(TTournamentRunner &Runner, int64_t First, int64_t End, bool ShowProgress) {
    std::atomic<bool> Finished{false};
    const TIndexRanges Done = Results_->DoneGames();
    std::thread Games([&] {
        Runner.Run(First, End, Done,
                   [this](const TGameRecord &Record, const std::vector<double> &MoveTimesMs) {
                       return Count(Record, MoveTimesMs);
                   });
        Finished = true;
    });

    const std::vector<std::string> Names = ShownBotNames(Results_->Config().Bots);
    TTournamentProgress Progress(ShowProgress);
    bool Interrupted = false;
    Clock::time_point NextSave = Clock::now() + SaveInterval;
    while (!Finished.load()) {
        if (TakeTermination(WatchMs) && !Interrupted) {
            Interrupted = true;
            Runner.Stop();
        }
        if (Clock::now() >= NextSave && !Interrupted) {
            const Clock::time_point Begun = Clock::now();
            std::string Error;
            if (!Save(false, Error, true) && !TerminationPending())
                std::fprintf(stderr, "\nvelkaran-tournament: %s\n", Error.c_str());
            NextSave = Clock::now() + std::max<Clock::duration>(SaveInterval, 20 * (Clock::now() - Begun));
        }
        const std::lock_guard<std::mutex> Guard(Lock);
        const auto [Name, Score] = Leader(*Results_, Names);
        Progress.Show(Results_->GamesDone(), Results_->Schedule().Games(), PlayedHere_, Name, Score);
    }
    Games.join();
    Progress.Clear();
    return Interrupted;
}

bool TTournamentSession::Save(bool Complete, std::string &Error, bool MayGiveUp) {
    if (Document.Path.empty()) return true;
    const std::lock_guard<std::mutex> Guard(Lock);
    if (JournalError) {
        Error = *JournalError;
        return false;
    }
    const std::function<bool()> Interrupted = MayGiveUp ? TerminationPending : std::function<bool()>();
    return Journal->WriteDocument(Document.Path, Document.Head, Document.Tail(*Results_, Complete), Error,
                                  Interrupted);
}

}  // namespace velkaran
