// Counting a tournament's games: per encounter as a series, per pair for the pentanomial, per bot.
#include "tournament_results.h"

#include "match/game_points.h"
#include "records/opening_book.h"
#include "rules/catalogue.h"

namespace velkaran {

TTournamentResults::TTournamentResults(const TTournamentConfig &Config)
    : Config_(Config),
      Schedule_(Config),
      Encounters_(Schedule_.Encounters().size()),
      Bots_(Config.Bots.size()) {}

bool TTournamentResults::Add(const TGameRecord &Record, std::string &Error) {
    const TGamePlace &Place = Record.Place;
    const int64_t Index = Schedule_.IndexOf(Place.Encounter, Place.Pair, Place.Leg);
    if (Index < 0) {
        Error = "game " + std::to_string(Place.Number) + " is not a game of this tournament";
        return false;
    }
    if (Done.Contains(Index)) {
        Error = "game " + std::to_string(Place.Number) + " is there twice";
        return false;
    }
    const TScheduledGame Game = Schedule_.Game(Index);
    const int32_t Seated[2] = {Game.First, Game.Second};
    for (std::size_t Seat = 0; Seat < 2; ++Seat) {
        if (Record.Seats[Seat].File != Config_.Bots[static_cast<std::size_t>(Seated[Seat])].File) {
            Error =
                "game " + std::to_string(Place.Number) + " was played by other bots than the schedule says";
            return false;
        }
    }
    if (!(Record.Start == PairStart(Config_.Openings, Place.Pair))) {
        Error = "game " + std::to_string(Place.Number) + " did not start from its pair's start position";
        return false;
    }
    Done.Insert(Index);
    const uint64_t Start = StartFingerprint(Record.Start);
    PlayedStarts.insert(Start);

    // Player 0 of the encounter's tally is A, who sits first in leg 0.
    TEncounterResults &Encounter = Encounters_[static_cast<std::size_t>(Game.Encounter)];
    const std::array<int, 2> PlayerOfSeat = Game.Leg == 0 ? std::array{0, 1} : std::array{1, 0};
    Encounter.Tally.Add(Record, PlayerOfSeat);
    const TGamePoints Points = GamePoints(Record);
    for (int32_t Seat = 0; Seat < 2; ++Seat) {
        TBotResults &Bot = Bots_[static_cast<std::size_t>(Seated[Seat])];
        const double Score = SeatPoints(Record, Seat);
        ++Bot.Games;
        Bot.Wins += Score == 1;
        Bot.Draws += Score == 0.5;
        Bot.Losses += Score == 0;
        Bot.Points += Seat == 0 ? Points.First : Points.Second;
        if (Score == 0) ++Bot.Lost[static_cast<std::size_t>(Record.Termination)];
        ForEachPlayedCard(Record, Seat,
                          [&Bot](int32_t Card) { ++Bot.CardUses[static_cast<std::size_t>(Card)]; });
    }
    CountPair(Game.Encounter, Index - Game.Leg, Record, Start);
    return true;
}

void TTournamentResults::CountPair(int32_t EncounterIndex, int64_t PairKey, const TGameRecord &Record,
                                   uint64_t Start) {
    // A's points: A sits in seat 0 in leg 0 and in seat 1 in leg 1.
    const double PointsA = SeatPoints(Record, Record.Place.Leg == 0 ? 0 : 1);
    const uint64_t Fingerprint = GameFingerprint(Record);
    const auto Other = Pending.find(PairKey);
    if (Other == Pending.end()) {
        Pending.emplace(PairKey, TPendingLeg{PointsA, Fingerprint});
        return;
    }
    TEncounterResults &Encounter = Encounters_[static_cast<std::size_t>(EncounterIndex)];
    AddPair(Encounter.Pentanomial, Other->second.PointsA, PointsA);
    // The pair is told by its games in the order of its legs, whichever finished first.
    const bool Leg0 = Record.Place.Leg == 0;
    const uint64_t First = Leg0 ? Fingerprint : Other->second.Fingerprint;
    const uint64_t Second = Leg0 ? Other->second.Fingerprint : Fingerprint;
    if (Encounter.Census.Add(Start, First, Second))
        AddPair(Encounter.DistinctPentanomial, Other->second.PointsA, PointsA);
    Pending.erase(Other);
}

void TTournamentResults::AddMoveTimes(const TGameRecord &Record, const std::vector<double> &MoveTimesMs) {
    const int64_t Index = Schedule_.IndexOf(Record.Place.Encounter, Record.Place.Pair, Record.Place.Leg);
    if (Index < 0) return;
    const TScheduledGame Game = Schedule_.Game(Index);
    for (std::size_t I = 0; I < MoveTimesMs.size(); ++I)
        Bots_[static_cast<std::size_t>(I % 2 == 0 ? Game.First : Game.Second)].MoveTimes.Add(MoveTimesMs[I]);
}

nlohmann::json TTournamentResults::MoveTimesToJson() const {
    nlohmann::json All = nlohmann::json::array();
    for (const TBotResults &Bot : Bots_)
        All.push_back({{"bins", Bot.MoveTimes.NonEmptyBins()},
                       {"sum_ns", Bot.MoveTimes.SumNanoseconds()},
                       {"max_ms", Bot.MoveTimes.Max()},
                       {"count", Bot.MoveTimes.Count()}});
    return All;
}

bool TTournamentResults::AddSavedMoveTimes(const nlohmann::json &Json, std::string &Error) {
    try {
        if (!Json.is_array() || Json.size() != Bots_.size()) throw std::invalid_argument("one entry per bot");
        std::vector<TMoveTimeHistogram> Saved(Bots_.size());
        for (std::size_t I = 0; I < Bots_.size(); ++I) {
            const nlohmann::json &Entry = Json[I];
            const auto Bins = Entry.at("bins").get<std::vector<std::pair<int32_t, uint64_t>>>();
            if (!Saved[I].Restore(Bins, Entry.at("sum_ns").get<uint64_t>(), Entry.at("max_ms").get<double>(),
                                  Entry.at("count").get<uint64_t>()))
                throw std::invalid_argument("the parts do not fit together");
        }
        for (std::size_t I = 0; I < Bots_.size(); ++I) Bots_[I].MoveTimes.Merge(Saved[I]);
        return true;
    } catch (const std::exception &Bad) {
        Error = std::string("the thinking times are damaged: ") + Bad.what();
        return false;
    }
}

}  // namespace velkaran
