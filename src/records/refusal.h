// Why the rules refused what a bot answered, in words: a card set, or a card it played.
#pragma once

#include "game_record.h"

#include "rules/game_state.h"

#include <cstdint>
#include <string>

namespace velkaran {

// Why the rules refuse Set as a card set ("card 18 twice in the set", "the set holds 14 cards,
// not 15", "card 51 is out of range"); empty when they accept it.
std::string SetRefusal(const TCardList &Set, TLanguage Language);

// Why the rules refuse Card for a player with Status and Set ("card 37 is not in its set", "card 12
// costs En 6, Me 4; it has En 3", "card 51 is out of range", or for 0 that it could pay for a card);
// empty when they accept it.
std::string CardRefusal(const TPlayerStatus &Status, const TCardList &Set, int32_t Card, TLanguage Language);

// True when Record ended on a refused card that was no card at all (0) while one was playable: the
// player gave its move up (a human resigning, a bot passing without the pass card).
bool GaveUpMove(const TGameRecord &Record);

// The refusal that ended Record (its invalid set or its refused card); empty for any other end.
std::string RecordRefusal(const TGameRecord &Record, TLanguage Language);

// Why the loser of Record lost, beyond how the game ended: the rules' refusal of its set or card,
// or what the host saw of its first fault, with the call ("раунд 3, GetTurn: завершён сигналом
// SIGSEGV (...)", "round 3, GetTurn: killed by SIGSEGV ..."); empty for a draw and for a game
// without either.
std::string LossDetail(const TGameRecord &Record, TLanguage Language);

}  // namespace velkaran
