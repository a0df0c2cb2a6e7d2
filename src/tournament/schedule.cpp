// The encounters of a format, and the arithmetic from a game's index to its place and back.
#include "schedule.h"

namespace velkaran {

TSchedule::TSchedule(const TTournamentConfig &Config) : Config(Config) {
    const auto Bots = static_cast<int32_t>(Config.Bots.size());
    if (Config.Format == TTournamentFormat::Gauntlet) {
        for (int32_t Other = 0; Other < Bots; ++Other)
            if (Other != Config.Gauntlet) Encounters_.push_back({Config.Gauntlet, Other});
        return;
    }
    for (int32_t A = 0; A < Bots; ++A)
        for (int32_t B = A + 1; B < Bots; ++B) Encounters_.push_back({A, B});
}

TScheduledGame TSchedule::Game(int64_t Index) const {
    const auto Count = static_cast<int64_t>(Encounters_.size());
    TScheduledGame Game;
    Game.Index = Index;
    Game.Leg = static_cast<int32_t>(Index % 2);
    Game.Encounter = static_cast<int32_t>(Index / 2 % Count);
    Game.Pair = Index / 2 / Count;
    const TEncounter &Encounter = Encounters_[static_cast<std::size_t>(Game.Encounter)];
    Game.First = Game.Leg == 0 ? Encounter.A : Encounter.B;
    Game.Second = Game.Leg == 0 ? Encounter.B : Encounter.A;
    return Game;
}

int64_t TSchedule::IndexOf(int32_t Encounter, int64_t Pair, int32_t Leg) const {
    const auto Count = static_cast<int64_t>(Encounters_.size());
    if (Encounter < 0 || Encounter >= Count || Pair < 0 || Pair >= Config.Pairs || Leg < 0 || Leg > 1)
        return -1;
    return (Pair * Count + Encounter) * 2 + Leg;
}

}  // namespace velkaran
