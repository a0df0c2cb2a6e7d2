// How a card reads on screen: its title, its effect and its cost, taken from the catalogue.
#pragma once

#include "rules/catalogue.h"

#include <velkaran/bot.h>

#include <cstdint>
#include <string>

namespace velkaran {

// The card's number, family and rank as its text begins, e.g. "(12) Атака2 3".
std::string CardTitle(int32_t Card);

// What the card does, as its text states after the costs, e.g. "->25, <-10".
std::string CardEffect(int32_t Card);

// The cost in the short names the card texts use, e.g. "En 12 · Me 5 · El 2"; "Бесплатно" when free.
std::string CostText(const TCardCost &Cost);

// What Status lacks to pay Cost, e.g. "Не хватает: En 3, El 1"; empty when it can pay.
std::string ShortfallText(const TCardCost &Cost, const TPlayerStatus &Status);

}  // namespace velkaran
