// One player's status on the board.
#include "player_panel.h"

#include "status_text.h"

#include <QGridLayout>
#include <QLabel>
#include <QStyle>

#include <array>

namespace velkaran {
namespace {

// The eight status fields in record order, with the names the labels carry.
constexpr std::array<const char *, 8> FieldNames = {"Base",         "Shield", "Batteries", "Mines",
                                                    "Laboratories", "Energy", "Metal",     "Elements"};
constexpr std::array<const char *, 8> FieldCaptions = {
    "База",        "Щит",          "Батареи",     "Рудники",
    "Лаборатории", "Энергия (En)", "Металл (Me)", "Электроэлементы (El)"};
enum { Base, Shield, Batteries, Mines, Laboratories, Energy, Metal, Elements };

int32_t Field(const TPlayerStatus &Status, int Index) {
    const std::array<int32_t, 8> Values = {Status.Base,  Status.Shield,       Status.Batteries,
                                           Status.Mines, Status.Laboratories, Status.Energy,
                                           Status.Metal, Status.Elements};
    return Values[static_cast<std::size_t>(Index)];
}

QLabel *Caption(QWidget *Parent, int Index) {
    auto *Label = new QLabel(QString::fromUtf8(FieldCaptions[static_cast<std::size_t>(Index)]), Parent);
    Label->setProperty("caption", true);
    return Label;
}

}  // namespace

PlayerPanel::PlayerPanel(QWidget *Parent) : QFrame(Parent), Name_(new QLabel(this)), Note_(new QLabel(this)) {
    setProperty("playerPanel", true);
    setFrameShape(QFrame::StyledPanel);
    Name_->setObjectName("name");
    Name_->setProperty("playerName", true);
    Note_->setObjectName("note");
    Note_->setProperty("note", true);
    for (int Index = 0; Index < 8; ++Index) {
        Values_[Index] = new QLabel(this);
        Values_[Index]->setObjectName(FieldNames[static_cast<std::size_t>(Index)]);
        Values_[Index]->setProperty("value", true);
        Values_[Index]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        Values_[Index]->setMinimumWidth(52);
    }
    for (int Index = 0; Index < 3; ++Index) {
        Production_[Index] = new QLabel(this);
        Production_[Index]->setObjectName(
            QString::fromUtf8(FieldNames[static_cast<std::size_t>(Batteries + Index)]) + "_production");
        Production_[Index]->setProperty("production", true);
    }
    Values_[Base]->setProperty("large", true);
    Values_[Shield]->setProperty("large", true);

    auto *Grid = new QGridLayout(this);
    Grid->setContentsMargins(14, 10, 14, 10);
    Grid->setHorizontalSpacing(10);
    Grid->setVerticalSpacing(4);
    Grid->addWidget(Name_, 0, 0, 1, 3);
    Grid->addWidget(Note_, 0, 3, 1, 3, Qt::AlignRight | Qt::AlignVCenter);
    Grid->addWidget(Caption(this, Base), 1, 0);
    Grid->addWidget(Values_[Base], 1, 1);
    Grid->addWidget(Caption(this, Shield), 1, 3);
    Grid->addWidget(Values_[Shield], 1, 4);
    for (int Row = 0; Row < 3; ++Row) {
        Grid->addWidget(Caption(this, Energy + Row), 2 + Row, 0);
        Grid->addWidget(Values_[Energy + Row], 2 + Row, 1);
        Grid->addWidget(Caption(this, Batteries + Row), 2 + Row, 3);
        Grid->addWidget(Values_[Batteries + Row], 2 + Row, 4);
        Grid->addWidget(Production_[Row], 2 + Row, 5);
    }
    Grid->setColumnMinimumWidth(2, 18);
    Grid->setColumnStretch(5, 1);
}

void PlayerPanel::ShowStatus(const std::string &Name, const std::string &Note, const TPlayerStatus &Status) {
    const bool Hidden = IsHiddenStatus(Status);
    Shown_ = Status;
    Name_->setText(QString::fromStdString(Name));
    Note_->setText(QString::fromStdString(Note));
    for (int Index = 0; Index < 8; ++Index) {
        const bool ValueHidden = Hidden && Index != Shield;
        Values_[Index]->setText(QString::fromStdString(StatusValueText(Field(Status, Index), ValueHidden)));
        Values_[Index]->setProperty("concealed", ValueHidden);
        Values_[Index]->setProperty("changed", false);
        Values_[Index]->setToolTip(QString());
        Values_[Index]->style()->unpolish(Values_[Index]);  // re-read the style sheet for "concealed"
        Values_[Index]->style()->polish(Values_[Index]);
    }
    for (int Row = 0; Row < 3; ++Row)
        Production_[Row]->setText(
            QString::fromStdString(ProductionText(Field(Status, Batteries + Row), Hidden)));
}

void PlayerPanel::MarkChangesFrom(const TPlayerStatus &Before) {
    const bool Hidden = IsHiddenStatus(Shown_) || IsHiddenStatus(Before);
    for (int Index = 0; Index < 8; ++Index) {
        const int32_t Was = Field(Before, Index);
        const bool Changed = Was != Field(Shown_, Index) && !(Hidden && Index != Shield);
        Values_[Index]->setProperty("changed", Changed);
        Values_[Index]->setToolTip(Changed ? QStringLiteral("было %1").arg(Was) : QString());
        Values_[Index]->style()->unpolish(Values_[Index]);
        Values_[Index]->style()->polish(Values_[Index]);
    }
}

}  // namespace velkaran
