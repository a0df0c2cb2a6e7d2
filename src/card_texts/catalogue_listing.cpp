// The card catalogue listed, as text and as data.
#include "catalogue_listing.h"

#include "card_words.h"
#include "rules/catalogue.h"
#include "rules/turn_rules.h"

#include <cstdio>

namespace velkaran {
namespace {

constexpr char Indent[] = "                     ";  // under the name, past the number and the costs

// The number and the three costs, aligned under "Card   En   Me   El  ".
std::string NumberAndCost(int32_t Card, const TCardCost &Cost) {
    char Text[64];
    std::snprintf(Text, sizeof Text, "%4d %4d %4d %4d  ", Card, Cost.Energy, Cost.Metal, Cost.Elements);
    return Text;
}

}  // namespace

std::vector<std::string> CatalogueLines() {
    std::vector<std::string> Lines{"Card   En   Me   El  Name / effect (ru, en)", ""};
    for (int32_t Card = 1; Card <= CardCount; ++Card) {
        Lines.push_back(NumberAndCost(Card, CardCosts[Card]) + CardName(Card) + " / " +
                        EnglishCardName(Card));
        Lines.push_back(Indent + EffectSentence(Card));
        Lines.push_back(Indent + EnglishEffectSentence(Card));
        Lines.emplace_back();
    }
    Lines.push_back("Every card costs En (energy), Me (metal) and El (electro-elements); card 50 is free.");
    return Lines;
}

nlohmann::json CatalogueJson() {
    nlohmann::json Cards = nlohmann::json::array();
    for (int32_t Card = 1; Card <= CardCount; ++Card) {
        const TCardCost &Cost = CardCosts[Card];
        Cards.push_back({
            {"card", Card},
            {"cost", {{"energy", Cost.Energy}, {"metal", Cost.Metal}, {"elements", Cost.Elements}}},
            {"text", std::string(CardDescriptions[Card])},
            {"name", {{"ru", CardName(Card)}, {"en", EnglishCardName(Card)}}},
            {"effect", {{"ru", EffectSentence(Card)}, {"en", EnglishEffectSentence(Card)}}},
        });
    }
    TGameState State{};
    NewGameState(State);
    const TPlayer &Start = State[0];
    const nlohmann::json Player = {{"base", Start.Base},
                                   {"shield", Start.Shield},
                                   {"batteries", Start.Batteries},
                                   {"mines", Start.Mines},
                                   {"laboratories", Start.Laboratories},
                                   {"energy", Start.Energy},
                                   {"metal", Start.Metal},
                                   {"elements", Start.Elements}};
    return {{"format", "velkaran-cards"}, {"version", 1}, {"start", Player}, {"cards", std::move(Cards)}};
}

}  // namespace velkaran
