// The seeded random player.
#include "random_player.h"

#include <algorithm>
#include <numeric>

namespace velkaran {

namespace {
constexpr int32_t PassCard = 50;
}

TSeatCalls TRandomPlayer::Seat() {
    return {
        [this](int32_t, TCardList *CardSet, const TTurnInfo *) {
            if (CardSet != nullptr) ChooseSet(*CardSet);
            return TCallOutcome{};
        },
        [this](int32_t, const TGameView *, const TCardList *Playable, const TTurnInfo *) {
            return TTurnAnswer(Playable == nullptr ? 0 : ChooseCard(*Playable));
        },
    };
}

void TRandomPlayer::ChooseSet(TCardList &Set) {
    std::array<int32_t, CardCount - 1> Others;
    std::iota(Others.begin(), Others.end(), 1);  // every card but the pass
    std::shuffle(Others.begin(), Others.end(), Engine);
    std::copy_n(Others.begin(), CardSetSize - 1, Set.Card);
    Set[CardSetSize - 1] = PassCard;
}

int32_t TRandomPlayer::ChooseCard(const TCardList &Playable) {
    int32_t Count = 0;
    while (Count < CardSetSize && Playable[Count] != 0) ++Count;
    if (Count == 0) return 0;
    return Playable[static_cast<int>(std::uniform_int_distribution<int32_t>(0, Count - 1)(Engine))];
}

}  // namespace velkaran
