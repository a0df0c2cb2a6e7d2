// Which rule a refused set or card breaks, in words, for a bot's author.
#pragma once

#include "rules/game_state.h"

#include <velkaran/bot.h>

#include <string>

namespace velkaran {

// Why Set is not a valid card set, e.g. "entry 4 is 0: every entry must be a card from 1 to 50";
// empty when it is valid.
std::string SetRefusalReason(const TCardList &Set);

// Why Player (its set and resources as the rules hold them) may not play Card now, e.g. "card 37 is
// not in its set" or "card 31 costs En 26, Me 16, El 10 and it had En 20, Me 16, El 10"; empty when
// it may.
std::string CardRefusalReason(const TPlayer &Player, int32_t Card);

}  // namespace velkaran
