// How a card's cost reads on screen, taken from the catalogue.
#pragma once

#include "rules/catalogue.h"

#include <velkaran/bot.h>

#include <cstdint>
#include <string>

namespace velkaran {

// The cost in the short names the card texts use, e.g. "En 12 · Me 5 · El 2"; "Бесплатно" when free.
std::string CostText(const TCardCost &Cost);

// What Status lacks to pay Cost, e.g. "Не хватает: En 3, El 1"; empty when it can pay.
std::string ShortfallText(const TCardCost &Cost, const TPlayerStatus &Status);

}  // namespace velkaran
