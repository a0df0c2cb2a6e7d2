// The rule a refused set or card breaks.
#include "refusal_reason.h"

#include "rules/affordability.h"
#include "rules/catalogue.h"
#include "rules/turn_rules.h"

namespace velkaran {
namespace {

std::string CostText(int32_t Energy, int32_t Metal, int32_t Elements) {
    return "En " + std::to_string(Energy) + ", Me " + std::to_string(Metal) + ", El " +
           std::to_string(Elements);
}

}  // namespace

std::string SetRefusalReason(const TCardList &Set) {
    for (int I = 0; I < CardSetSize; ++I)
        if (!IsCardNumber(Set[I]))
            return "entry " + std::to_string(I + 1) + " is " + std::to_string(Set[I]) +
                   ": every entry must be a card from 1 to " + std::to_string(CardCount);
    for (int I = 0; I < CardSetSize; ++I)
        for (int J = I + 1; J < CardSetSize; ++J)
            if (Set[I] == Set[J])
                return "card " + std::to_string(Set[I]) + " is chosen twice (entries " +
                       std::to_string(I + 1) + " and " + std::to_string(J + 1) + "): the " +
                       std::to_string(CardSetSize) + " cards must all differ";
    return {};
}

std::string CardRefusalReason(const TPlayer &Player, int32_t Card) {
    TCardList Playable;
    const int32_t Count = GetPlayableCards(Player, Playable);
    if (Card == 0)
        return "it could pay for " + std::to_string(Count) + (Count == 1 ? " card" : " cards") +
               ", and a bot that can pay for a card must play one (card 50 passes)";
    if (!IsCardNumber(Card))
        return std::to_string(Card) + " is not a card (cards are 1 to " + std::to_string(CardCount) + ")";
    bool InSet = false;
    for (int I = 0; I < CardSetSize; ++I) InSet = InSet || Player.Cards[I] == Card;
    if (!InSet) return "card " + std::to_string(Card) + " is not in its set";
    const TCardCost &Cost = CardCosts[Card];
    if (!CanPay(Player, Cost))
        return "card " + std::to_string(Card) + " costs " + CostText(Cost.Energy, Cost.Metal, Cost.Elements) +
               " and it had " + CostText(Player.Energy, Player.Metal, Player.Elements);
    return {};
}

}  // namespace velkaran
