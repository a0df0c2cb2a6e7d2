#include "card_set_view.h"

#include <velkaran/bot.h>
#include "velkui/card_tile.h"

#include <QGridLayout>
#include <QLabel>
#include <QStyle>

namespace velkaran {

namespace {

constexpr int Columns = 5;

}  // namespace

TCardSetView::TCardSetView(QWidget *Parent) : QWidget(Parent) {
    auto *Grid = new QGridLayout(this);
    Grid->setContentsMargins(0, 0, 0, 0);
    Grid->setSpacing(4);
    for (int Index = 0; Index < CardSetSize; ++Index) {
        auto *Label = new QLabel(this);
        Label->setProperty("replayCard", true);
        Label->setTextFormat(Qt::PlainText);
        Label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        Label->setWordWrap(true);
        Label->setMinimumWidth(84);
        Grid->addWidget(Label, Index / Columns, Index % Columns);
        Labels.push_back(Label);
    }
}

void TCardSetView::ShowCards(const std::vector<TReplayCard> &Cards) {
    for (std::size_t Index = 0; Index < Labels.size(); ++Index) {
        QLabel *Label = Labels[Index];
        const bool Shown = Index < Cards.size();
        Label->setVisible(Shown);
        if (!Shown) continue;
        const TReplayCard &Card = Cards[Index];
        Label->setObjectName(QStringLiteral("card_%1").arg(Card.Card));
        Label->setText(QString::fromStdString(Card.Title + "\n" + Card.Cost));
        Label->setToolTip(CardToolTip(Card.Card));
        Label->setProperty("payable", Card.Payable);
        Label->setProperty("justPlayed", Card.JustPlayed);
        Label->style()->unpolish(Label);  // re-read the style sheet for the properties
        Label->style()->polish(Label);
    }
}

}  // namespace velkaran
