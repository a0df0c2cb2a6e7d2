// One player's status on the board: base, shield, the three buildings with their production and
// the three resources. Hidden values read "скрыто".
#pragma once

#include <velkaran/bot.h>

#include <QFrame>

#include <string>

class QLabel;

namespace velkaran {

// The panel of one player; its value labels are named after the status fields ("Base", "Shield",
// "Batteries", ..., "Elements"), the production labels "Batteries_production" and so on.
class PlayerPanel final : public QFrame {
public:
    explicit PlayerPanel(QWidget *Parent);

    // Shows Name, a short Note under it (e.g. "ходит первым") and Status, hiding what the view hides.
    void ShowStatus(const std::string &Name, const std::string &Note, const TPlayerStatus &Status);

    // Marks (property "changed", tooltip "было N") the values of the status shown last that differ
    // from Before; a hidden value is never marked.
    void MarkChangesFrom(const TPlayerStatus &Before);

private:
    QLabel *Name_;
    QLabel *Note_;
    QLabel *Values_[8];
    QLabel *Production_[3];
    TPlayerStatus Shown_{};
};

}  // namespace velkaran
