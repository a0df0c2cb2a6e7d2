// One card of the hand as a button: its title, its effect and its cost or what is missing to pay it.
#pragma once

#include <velkaran/bot.h>

#include <QPushButton>

#include <cstdint>

class QLabel;

namespace velkaran {

// The tooltip of a card wherever a window shows it: its title, then its effect in words.
QString CardToolTip(int32_t Card);

// A card button named "card_<N>"; disabled when the card cannot be played now.
class CardTile final : public QPushButton {
public:
    explicit CardTile(QWidget *Parent);

    // Shows Card (1..50); Playable enables the button. Own is the mover's status, used to tell what
    // an unplayable card lacks.
    void ShowCard(int32_t Card, bool Playable, const TPlayerStatus &Own);
    // The card shown, 0 when the tile is empty.
    int32_t Card() const { return Card_; }

    QSize sizeHint() const override;

private:
    int32_t Card_ = 0;
    QLabel *Title_;
    QLabel *Effect_;
    QLabel *Cost_;
};

}  // namespace velkaran
