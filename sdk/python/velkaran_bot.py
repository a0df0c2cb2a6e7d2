"""velkaran_bot: a Velkaran bot in Python, with the standard library only.

Subclass Bot, give it a name, choose_set and choose_card, and call run():

    from velkaran_bot import Bot, PASS_CARD

    class FirstCard(Bot):
        name = "First Card"

        def choose_set(self, player_index, info):
            return [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 14, 23, 24, PASS_CARD]

        def choose_card(self, player_index, view, playable, info):
            return playable[0]

    if __name__ == "__main__":
        FirstCard().run()

A manifest NAME.bot beside the bots tells the host how to start the program (see the bot guide,
docs/bot-guide.md). The host speaks the Velkaran line protocol, version 1, on the program's standard
input and output; run() does all of it. Anything the bot prints goes to standard error (print() is
redirected there), which the host relays: standard output belongs to the protocol.

The records mirror the C SDK (include/velkaran/bot.h) field by field, with names in Python style.
"""

import os
import sys
from typing import List, NamedTuple, Optional, Sequence, Tuple

PROTOCOL_VERSION = 1

CARD_COUNT = 50
CARD_SET_SIZE = 15
MAX_NAME_LENGTH = 30
PASS_CARD = 50

# The options word (TurnInfo.options).
TURN_LIMIT_MASK = 0xFFFF
HIDDEN_INFORMATION = 0x10000
BOTS_ONLY = 0x10000000
SHOW_FINAL_POSITION = 0x20000000

# Result codes (TurnInfo.result in game_over).
FIRST_PLAYER_LOST = 1
SECOND_PLAYER_LOST = 2
TURN_LIMIT_REACHED = 4
RECEIVER_WON = 8
ERROR_OR_PASS = 16
TIME_LIMIT_EXCEEDED = 32


class PlayerStatus(NamedTuple):
    """One player as a view shows it. Under hidden information an opponent whose shield is 21 or
    more shows base 0, the real shield, 0 in the buildings and -1 in the three resources."""

    base: int
    shield: int
    batteries: int
    mines: int
    laboratories: int
    energy: int
    metal: int
    elements: int


class TurnInfo(NamedTuple):
    """The turn information: the opponent's last card (0 for none or hidden), the round (0 in the
    opening call), the options word, the opponent's name, and the result code (game_over only)."""

    last_move: int
    turn: int
    options: int
    opponent_name: str
    result: int


class CardCost(NamedTuple):
    energy: int
    metal: int
    elements: int


class Card(NamedTuple):
    """A card of the catalogue: its number, English and Russian names, cost and effect."""

    number: int
    name: str
    russian_name: str
    cost: CardCost
    effect: str


GameView = Tuple[PlayerStatus, PlayerStatus]
"""Both players: entry 0 is always the first player; you are at your player_index."""


def can_pay(status: PlayerStatus, card: int) -> bool:
    """Whether status holds enough of each resource to play card (1..50)."""
    cost = CARDS[card].cost
    return cost.energy <= status.energy and cost.metal <= status.metal and cost.elements <= status.elements


class Bot:
    """A bot. Override name, choose_set and choose_card; game_over and no_playable_card are
    optional. One object serves every game of a run, in both seats when the host puts the bot in
    both: player_index tells them apart."""

    name = "Python bot"

    def choose_set(self, player_index: int, info: TurnInfo) -> Sequence[int]:
        """The 15 different cards (1..50) of your set for this game. Put the pass (50) in it."""
        raise NotImplementedError

    def choose_card(self, player_index: int, view: GameView, playable: List[int], info: TurnInfo) -> int:
        """The card to play: one of your set that you can pay for. playable lists them, in the
        order of your set; it is never empty here."""
        raise NotImplementedError

    def no_playable_card(self, player_index: int, view: GameView, info: TurnInfo) -> None:
        """Called instead of choose_card in a round in which you can pay for nothing."""

    def game_over(self, player_index: int, info: TurnInfo) -> None:
        """The end of a game: info.result is the result code as you see it (RECEIVER_WON added
        when you won), info.last_move the last card any player answered."""

    def run(self, stdin=None, stdout_fd: Optional[int] = None) -> None:
        """Speaks the line protocol with the host until it closes standard input."""
        reader = stdin if stdin is not None else sys.stdin.buffer
        out = stdout_fd if stdout_fd is not None else os.dup(1)
        if stdout_fd is None:
            # print() and stray writes to sys.stdout go to stderr, never into the protocol.
            sys.stdout = sys.stderr
        _serve(self, reader, out)


# The card table, as velkaran-match --cards --json prints it (checked by the project's tests).
# fmt: off
CARDS = {
    # cards: begin
    1: Card(1, "Attack 1", "Атака 1", CardCost(4, 0, 0),
             "Attack of strength 5 (shield first, then base)."),
    2: Card(2, "Attack 2", "Атака 2", CardCost(0, 4, 0),
             "Attack of strength 5 (shield first, then base)."),
    3: Card(3, "Attack 3", "Атака 3", CardCost(0, 0, 5),
             "Attack of strength 5 (shield first, then base)."),
    4: Card(4, "Attack 4", "Атака 4", CardCost(5, 3, 0),
             "Attack of strength 7 (shield first, then base)."),
    5: Card(5, "Attack 5", "Атака 5", CardCost(3, 5, 0),
             "Attack of strength 8 (shield first, then base)."),
    6: Card(6, "Attack 6", "Атака 6", CardCost(2, 2, 6),
             "Attack of strength 8 (shield first, then base)."),
    7: Card(7, "Attack 7", "Атака 7", CardCost(10, 3, 0),
             "Attack of strength 10 (shield first, then base)."),
    8: Card(8, "Attack 8", "Атака 8", CardCost(3, 9, 0),
             "Attack of strength 10 (shield first, then base)."),
    9: Card(9, "Attack 9", "Атака 9", CardCost(3, 3, 7),
             "Attack of strength 10 (shield first, then base)."),
    10: Card(10, "Attack2 1", "Атака2 1", CardCost(11, 4, 2),
             "Attack of strength 14 (shield first, then base)."),
    11: Card(11, "Attack2 2", "Атака2 2", CardCost(5, 11, 2),
             "Attack of strength 15 (shield first, then base)."),
    12: Card(12, "Attack2 3", "Атака2 3", CardCost(12, 5, 2),
             "Attack of strength 25 (shield first, then base), an attack of strength 10 on yourself (your shield first, then your base)."),
    13: Card(13, "Attack2 4", "Атака2 4", CardCost(14, 5, 2),
             "Attack of strength 17 (shield first, then base)."),
    14: Card(14, "Attack2 5", "Атака2 5", CardCost(6, 12, 3),
             "Attack of strength 18 (shield first, then base)."),
    15: Card(15, "Repair 1", "Ремонт 1", CardCost(5, 0, 0),
             "Your shield +7."),
    16: Card(16, "Repair 2", "Ремонт 2", CardCost(9, 0, 2),
             "Your shield +11."),
    17: Card(17, "Repair 3", "Ремонт 3", CardCost(14, 0, 3),
             "Your shield +16."),
    18: Card(18, "Repair 4", "Ремонт 4", CardCost(0, 7, 2),
             "Your base +9."),
    19: Card(19, "Repair 5", "Ремонт 5", CardCost(5, 4, 0),
             "Turns shield into base at 2:1, using at most 6 shield points: with your shield at 6 or more, your shield −6 and your base +12; otherwise your base + 2 × your shield, and your shield becomes 0."),
    20: Card(20, "Repair 6", "Ремонт 6", CardCost(0, 8, 5),
             "Your base +12."),
    21: Card(21, "Repair 7", "Ремонт 7", CardCost(0, 5, 10),
             "Your base +14."),
    22: Card(22, "Repair 8", "Ремонт 8", CardCost(16, 14, 0),
             "Your shield +15, your base +14."),
    23: Card(23, "Special attack 1", "СпецАтака 1", CardCost(0, 2, 2),
             "The opponent's base −3 (past the shield)."),
    24: Card(24, "Special attack 2", "СпецАтака 2", CardCost(3, 3, 5),
             "The opponent's base −7 (past the shield)."),
    25: Card(25, "Special attack 3", "СпецАтака 3", CardCost(2, 5, 3),
             "The opponent's base −7 (past the shield)."),
    26: Card(26, "Special attack 4", "СпецАтака 4", CardCost(4, 0, 3),
             "Spends up to 7 points of your own shield and attacks with strength 1 + 2 × (points spent), so at most 15 (shield first, then base)."),
    27: Card(27, "Special attack 5", "СпецАтака 5", CardCost(0, 3, 4),
             "If the opponent's shield is 0, the opponent's base −11; otherwise nothing happens."),
    28: Card(28, "Super attack 1", "СуперАтака 1", CardCost(17, 5, 0),
             "The opponent's base −10 (past the shield), the opponent's shield −10 (not below 0)."),
    29: Card(29, "Super attack 2", "СуперАтака 2", CardCost(16, 14, 6),
             "The opponent's base −20 (past the shield), the opponent's shield −15 (not below 0)."),
    30: Card(30, "Super attack 3", "СуперАтака 3", CardCost(18, 12, 2),
             "Attack of strength 49 (shield first, then base), an attack of strength 20 on yourself (your shield first, then your base)."),
    31: Card(31, "Super attack 4", "СуперАтака 4", CardCost(26, 16, 10),
             "Attack of strength 49 (shield first, then base)."),
    32: Card(32, "Super attack 5", "СуперАтака 5", CardCost(16, 12, 6),
             "Attack of strength 25 (shield first, then base), the opponent's base −5 (past the shield)."),
    33: Card(33, "Development 1", "Развитие 1", CardCost(4, 4, 7),
             "Batteries +1."),
    34: Card(34, "Development 2", "Развитие 2", CardCost(6, 4, 5),
             "Mines +1."),
    35: Card(35, "Development 3", "Развитие 3", CardCost(4, 9, 2),
             "Laboratories +1."),
    36: Card(36, "Development 4", "Развитие 4", CardCost(10, 8, 10),
             "Batteries +1, mines +1."),
    37: Card(37, "Development 5", "Развитие 5", CardCost(3, 15, 3),
             "Laboratories +1, your base +7."),
    38: Card(38, "Development 6", "Развитие 6", CardCost(15, 0, 0),
             "Converts up to 18 metal into electro-elements, each 1 metal giving 2 electro-elements."),
    39: Card(39, "Development 7", "Развитие 7", CardCost(3, 0, 0),
             "Converts up to 15 electro-elements into metal, one for one."),
    40: Card(40, "Development 8", "Развитие 8", CardCost(4, 0, 0),
             "Converts up to 18 metal into electro-elements, one for one."),
    41: Card(41, "Espionage 1", "Шпионаж 1", CardCost(4, 0, 4),
             "Steals up to 5 metal from the opponent."),
    42: Card(42, "Espionage 2", "Шпионаж 2", CardCost(4, 4, 0),
             "Steals up to 5 electro-elements from the opponent."),
    43: Card(43, "Espionage 3", "Шпионаж 3", CardCost(2, 5, 7),
             "If the opponent's shield is 7 or more, it loses 7 and that is all; otherwise it becomes 0 and you steal up to 5 energy from the opponent."),
    44: Card(44, "Espionage 4", "Шпионаж 4", CardCost(6, 2, 12),
             "If the opponent has more than 2 mines, it loses 1 mine; otherwise nothing happens."),
    45: Card(45, "Espionage 5", "Шпионаж 5", CardCost(2, 6, 12),
             "If the opponent has more than 3 batteries, it loses 1 battery; otherwise nothing happens."),
    46: Card(46, "Espionage 6", "Шпионаж 6", CardCost(3, 7, 16),
             "Attack of strength 15 (shield first, then base); the shield points it destroys, up to 15, become your energy."),
    47: Card(47, "Espionage 7", "Шпионаж 7", CardCost(8, 4, 20),
             "If the opponent's shield is 15 or more, it loses 15 and up to 20 of the opponent's metal are destroyed; otherwise the shield becomes 0 and you steal up to 20 metal from the opponent. The base is not touched."),
    48: Card(48, "Espionage 8", "Шпионаж 8", CardCost(12, 4, 20),
             "The opponent's base −15 (past the shield); then, if the opponent's shield is 15 or more, up to 22 of the opponent's energy are destroyed, otherwise you steal up to 22 energy. The shield keeps its value."),
    49: Card(49, "Espionage 9", "Шпионаж 9", CardCost(4, 5, 20),
             "If the opponent's shield is 10 or more, the opponent's base −10 (the shield keeps its value); otherwise you steal up to 20 electro-elements from the opponent."),
    50: Card(50, "Pass", "Пропуск хода", CardCost(0, 0, 0),
             "Energy +1, metal +1, electro-elements +1."),
    # cards: end
}
# fmt: on


def _write(out: int, text: str) -> None:
    data = text.encode("utf-8")
    while data:
        written = os.write(out, data)
        data = data[written:]


def _info(fields: List[bytes], at: int, name: bytes) -> TurnInfo:
    return TurnInfo(int(fields[at]), int(fields[at + 1]), int(fields[at + 2]), name.decode("latin-1"),
                    int(fields[at + 3]))


def _serve(bot: Bot, reader, out: int) -> None:
    hello = reader.readline()
    if hello.split() != [b"velkaran", str(PROTOCOL_VERSION).encode()]:
        raise SystemExit("velkaran_bot: the host did not greet with protocol version %d: %r" %
                         (PROTOCOL_VERSION, hello[:80]))
    _write(out, "velkaran %d %s\n" % (PROTOCOL_VERSION, bot.name))
    for line in iter(reader.readline, b""):
        line = line.rstrip(b"\n")
        kind = line[:4]
        if kind == b"turn":
            # turn P <16 view numbers> <15 playable> LAST TURN OPTIONS RESULT NAME
            fields = line.split(b" ", 37)
            index = int(fields[1])
            numbers = [int(field) for field in fields[2:33]]
            view = (PlayerStatus(*numbers[0:8]), PlayerStatus(*numbers[8:16]))
            playable = [card for card in numbers[16:31] if card != 0]
            info = _info(fields, 33, fields[37] if len(fields) > 37 else b"")
            if playable:
                card = bot.choose_card(index, view, playable, info)
            else:
                bot.no_playable_card(index, view, info)
                card = PASS_CARD  # the answer does not count, but must come
            _write(out, "play %d\n" % int(card))
        elif kind == b"star":
            # start P LAST TURN OPTIONS RESULT NAME
            fields = line.split(b" ", 6)
            index = int(fields[1])
            cards = [int(card) for card in bot.choose_set(index, _info(fields, 2, fields[6] if len(fields) > 6 else b""))]
            # Entries the bot left out stay 0, as in the C SDK: the host then refuses the set.
            cards += [0] * (CARD_SET_SIZE - len(cards))
            _write(out, "set %s\n" % " ".join(str(card) for card in cards))
        elif kind == b"end ":
            fields = line.split(b" ", 6)
            bot.game_over(int(fields[1]), _info(fields, 2, fields[6] if len(fields) > 6 else b""))
            _write(out, "ok\n")
        else:
            raise SystemExit("velkaran_bot: a line the protocol does not know: %r" % line[:80])
