#!/usr/bin/env python3
"""Greedy in Python: every turn it plays the card of its set that gains the most right now.

The same bot as the sample plug-in greedy.so, move for move: the gain of an attack is the damage it
does at once, a point taken from the base counting three times a point taken from the shield; a
building counts as a fixed gain while the bot's production of that kind is below a modest target;
it passes with card 50 when nothing it can pay for gains anything.

Run it through its manifest greedy-py.bot: copy this folder's files (and velkaran_bot.py, found
beside the script or on PYTHONPATH) into the folder of bots, then `velkaran-match greedy-py.bot
greedy.so`, or check it with `velkaran-check greedy-py.bot`.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from velkaran_bot import PASS_CARD, Bot  # noqa: E402

# Card: (kind, value, extra, total cost). Kinds: what the card does for the bot right now.
ATTACK, BASE_HIT, UNSHIELDED, SHIELD_BASE, ATTACK_BASE, BATTERY, MINE, LABORATORY, PASS = range(9)
GREEDY_CARDS = {
    1: (ATTACK, 5, 0, 4), 2: (ATTACK, 5, 0, 4), 14: (ATTACK, 18, 0, 21),
    23: (BASE_HIT, 3, 0, 4), 24: (BASE_HIT, 7, 0, 11), 25: (BASE_HIT, 7, 0, 10),
    27: (UNSHIELDED, 11, 0, 7), 28: (SHIELD_BASE, 10, 10, 22), 29: (SHIELD_BASE, 20, 15, 36),
    32: (ATTACK_BASE, 5, 25, 34), 48: (BASE_HIT, 15, 0, 36), 33: (BATTERY, 6, 0, 15),
    34: (MINE, 6, 0, 15), 35: (LABORATORY, 5, 0, 15), 50: (PASS, 0, 0, 0),
}
GREEDY_SET = [1, 2, 14, 23, 24, 25, 27, 28, 29, 32, 48, 33, 34, 35, 50]
BASE_WEIGHT = 3    # a point of base is worth three points of shield
BUILDING_GAIN = 30  # a building below its target: more than a hit of 7 on the base


def damage(kind, value, extra, shield):
    """(base loss, shield loss) of the opponent, given its shield."""
    if kind == ATTACK:
        shield_loss = min(shield, value)
        return value - shield_loss, shield_loss
    if kind == BASE_HIT:
        return value, 0
    if kind == UNSHIELDED:
        return (value if shield == 0 else 0), 0
    if kind == SHIELD_BASE:
        return value, min(shield, extra)
    if kind == ATTACK_BASE:
        shield_loss = min(shield, extra)
        return extra - shield_loss + value, shield_loss
    return 0, 0


def wants_building(kind, value, own):
    if kind == BATTERY:
        return own.batteries < value
    if kind == MINE:
        return own.mines < value
    if kind == LABORATORY:
        return own.laboratories < value
    return False


class Greedy(Bot):
    name = "Greedy Py"

    def choose_set(self, player_index, info):
        return GREEDY_SET

    def choose_card(self, player_index, view, playable, info):
        own = view[1 if player_index == 1 else 0]
        shield = view[0 if player_index == 1 else 1].shield
        best, best_gain, best_base, best_cost = PASS_CARD, 0, 0, 0
        for card in playable:
            entry = GREEDY_CARDS.get(card)
            if entry is None:
                continue
            kind, value, extra, cost = entry
            base_loss, shield_loss = damage(kind, value, extra, shield)
            gain = BUILDING_GAIN if wants_building(kind, value, own) else BASE_WEIGHT * base_loss + shield_loss
            better = (gain > best_gain or (gain == best_gain and base_loss > best_base) or
                      (gain == best_gain and base_loss == best_base and cost < best_cost))
            if gain > 0 and better:
                best, best_gain, best_base, best_cost = card, gain, base_loss, cost
        return best


if __name__ == "__main__":
    Greedy().run()
