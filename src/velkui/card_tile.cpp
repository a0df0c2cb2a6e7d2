// One card of the hand as a button.
#include "card_tile.h"

#include "card_texts/card_cost_text.h"
#include "card_texts/card_words.h"
#include "rules/catalogue.h"

#include <QLabel>
#include <QVBoxLayout>

namespace velkaran {
namespace {

QLabel *MakeLabel(QWidget *Parent, const char *Name) {
    auto *Label = new QLabel(Parent);
    Label->setObjectName(Name);
    Label->setWordWrap(true);
    Label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return Label;
}

}  // namespace

QString CardToolTip(int32_t Card) {
    return QStringLiteral("<b>%1</b><br>%2")
        .arg(QString::fromStdString(CardTitle(Card)).toHtmlEscaped(),
             QString::fromStdString(EffectSentence(Card)).toHtmlEscaped());
}

CardTile::CardTile(QWidget *Parent)
    : QPushButton(Parent),
      Title_(MakeLabel(this, "title")),
      Effect_(MakeLabel(this, "effect")),
      Cost_(MakeLabel(this, "cost")) {
    setProperty("cardTile", true);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    QFont Bold = Title_->font();
    Bold.setBold(true);
    Title_->setFont(Bold);
    Effect_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Cost_->setProperty("cost", true);
    auto *Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(8, 6, 8, 6);
    Layout->setSpacing(3);
    Layout->addWidget(Title_);
    Layout->addWidget(Effect_, 1);
    Layout->addWidget(Cost_);
}

void CardTile::ShowCard(int32_t Card, bool Playable, const TPlayerStatus &Own) {
    Card_ = Card;
    setObjectName(QStringLiteral("card_%1").arg(Card));
    setEnabled(Playable);
    Title_->setText(QString::fromStdString(CardTitle(Card)));
    Effect_->setText(QString::fromStdString(CardEffect(Card)));
    const std::string Shortfall = Playable ? std::string() : ShortfallText(CardCosts[Card], Own);
    Cost_->setText(QString::fromStdString(Shortfall.empty() ? CostText(CardCosts[Card]) : Shortfall));
    setToolTip(CardToolTip(Card));
    setAccessibleName(Title_->text());
}

QSize CardTile::sizeHint() const { return {180, 96}; }

}  // namespace velkaran
