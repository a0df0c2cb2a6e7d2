// The dialog in which a human chooses the 15 cards of a game out of the 50.
#pragma once

#include <velkaran/bot.h>

#include <QDialog>

#include <array>
#include <cstdint>
#include <vector>

class QLabel;
class QPushButton;
class QTableWidget;

namespace velkaran {

// Lists the 50 cards (table "cardTable", one row per card, in card order) with their costs and
// effects; a click on a row picks or drops it. The count ("countLabel") runs along, no more than 15
// can be picked, and "confirmButton" is enabled only at exactly 15. Leaving the dialog otherwise
// asks first ("giveUpQuestion"), since a game without a set is lost.
class SetDialog final : public QDialog {
public:
    // Title: the caption; Opponent: the opponent's shown name; Initial: the cards picked at the
    // start (anything outside 1..50 or beyond 15 cards is ignored).
    SetDialog(QWidget *Parent, const QString &Title, const QString &Opponent,
              const std::vector<int32_t> &Initial);

    // The picked cards in ascending order.
    std::vector<int32_t> ChosenCards() const;

    void reject() override;

private:
    void showEvent(QShowEvent *Event) override;
    void resizeEvent(QResizeEvent *Event) override;
    void Toggle(int Row);
    void ShowRow(int Row);
    void ShowCount();

    std::array<bool, CardCount> Chosen_{};
    QTableWidget *Table_;
    QLabel *Count_;
    QPushButton *Clear_;
    QPushButton *Confirm_;
};

}  // namespace velkaran
