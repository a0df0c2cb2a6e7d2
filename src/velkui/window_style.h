// The look of the game window and the set dialog: calm colours, clear cards, hidden values greyed.
#pragma once

namespace velkaran {

inline constexpr char WindowStyleSheet[] = R"(
QWidget#VelkuiGameWindow, QDialog#VelkuiSetDialog { background: #f3efe6; }
QLabel[headline="true"] { font-size: 22px; font-weight: bold; color: #2f2a22; }
QLabel[turnLine="true"] { font-size: 17px; font-weight: bold; color: #2f2a22; }
QLabel[lastMove="true"] { color: #4d463a; }
QLabel[notice="true"] { color: #4d463a; }
QLabel[notice="true"][alert="true"] { color: #8a4b08; font-weight: bold; }
QFrame[playerPanel="true"] { background: #fffdf8; border: 1px solid #d8cfbd; border-radius: 8px; }
QFrame[playerPanel="true"] QLabel { background: transparent; border: none; }
QLabel[playerName="true"] { font-size: 16px; font-weight: bold; color: #2f2a22; }
QLabel[note="true"] { color: #857c6b; }
QLabel[caption="true"] { color: #5b5445; }
QLabel[value="true"] { font-weight: bold; color: #1f1b15; }
QLabel[value="true"][large="true"] { font-size: 17px; }
QLabel[value="true"][concealed="true"] { color: #9a927f; font-style: italic; font-weight: normal; }
QLabel[production="true"] { color: #6d8a45; }
QPushButton[cardTile="true"] {
    background: #ffffff; border: 1px solid #c9bda3; border-radius: 7px; text-align: left; }
QPushButton[cardTile="true"]:hover { background: #fff6df; border: 2px solid #d39b2a; }
QPushButton[cardTile="true"]:pressed { background: #f7e6b8; }
QPushButton[cardTile="true"]:focus { border: 2px solid #b9822a; }
QPushButton[cardTile="true"]:disabled { background: #ebe7de; border: 1px solid #d9d3c6; }
QPushButton[cardTile="true"] QLabel { background: transparent; color: #2f2a22; }
QPushButton[cardTile="true"] QLabel:disabled { color: #a19a8b; }
QPushButton[cardTile="true"] QLabel[cost="true"] { color: #6b5f45; }
QPushButton[cardTile="true"] QLabel[cost="true"]:disabled { color: #b0643c; }
QTableWidget#cardTable::item { padding: 2px 4px; }
QLabel[count="true"] { font-weight: bold; color: #5b5445; }
QLabel[count="true"][complete="true"] { color: #3f7a2a; }
QFrame[outcomeBox="true"] { background: #fffdf8; border: 1px solid #d8cfbd; border-radius: 8px; }
QFrame[outcomeBox="true"] QLabel { background: transparent; border: none; }
)";

}  // namespace velkaran
