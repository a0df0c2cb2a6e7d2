// The cards in words: their names and what they do, in Russian as the game shows them and in
// English for bot authors, all read from the catalogue.
#pragma once

#include <cstdint>
#include <string>

namespace velkaran {

// The card's number, family and rank as its text begins, e.g. "(12) Атака2 3".
std::string CardTitle(int32_t Card);

// The card's family and rank without its number, e.g. "Атака2 3"; empty outside 1..50.
std::string CardName(int32_t Card);

// The same in English, e.g. "Attack2 3"; empty outside 1..50.
std::string EnglishCardName(int32_t Card);

// What the card does, as its text states after the costs, e.g. "->25, <-10".
std::string CardEffect(int32_t Card);

// What Card (1..50) does, as one Russian sentence: the short codes of its catalogue text ("->25",
// "<-10", "SS+7", "SB+9", "Base-5", "Shield-10", "En+1") written out, its words kept as they are.
// Cards whose catalogue text says less than the card does (26, 49) are told as they play.
// Empty for a number outside 1..50.
std::string EffectSentence(int32_t Card);

// What Card (1..50) does, as one English sentence, exact to the rules where the catalogue text is
// short; the same amounts as the Russian sentence. Empty for a number outside 1..50.
std::string EnglishEffectSentence(int32_t Card);

}  // namespace velkaran
