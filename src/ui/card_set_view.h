// A player's card set in the replay viewer: fifteen small cards, the one just played marked and
// those the player cannot pay for greyed.
#pragma once

#include "summary/replay_text.h"

#include <QWidget>

#include <vector>

class QLabel;

namespace velkaran {

class TCardSetView : public QWidget {
public:
    explicit TCardSetView(QWidget *Parent = nullptr);

    // Shows Cards in set order; each card label is named "card_<N>" and carries the properties
    // "payable" and "justPlayed".
    void ShowCards(const std::vector<TReplayCard> &Cards);

private:
    std::vector<QLabel *> Labels;
};

}  // namespace velkaran
