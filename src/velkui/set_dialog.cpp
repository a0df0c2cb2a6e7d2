// The dialog in which a human chooses the 15 cards of a game.
#include "set_dialog.h"

#include "window_placement.h"

#include "card_texts/card_cost_text.h"
#include "card_texts/card_words.h"
#include "card_tile.h"
#include "leave_question.h"
#include "rules/catalogue.h"
#include "status_text.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QShowEvent>
#include <QStyle>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace velkaran {
namespace {

const QColor PickedRowColour(0xe3, 0xee, 0xd3);

enum { TitleColumn, EnergyColumn, MetalColumn, ElementsColumn, EffectColumn, ColumnCount };

QTableWidgetItem *CostItem(int32_t Amount) {
    auto *Item = new QTableWidgetItem(Amount == 0 ? QString() : QString::number(Amount));
    Item->setTextAlignment(Qt::AlignCenter);
    return Item;
}

int PickedCount(const std::array<bool, CardCount> &Chosen) {
    int Count = 0;
    for (bool Picked : Chosen) Count += Picked ? 1 : 0;
    return Count;
}

}  // namespace

SetDialog::SetDialog(QWidget *Parent, const QString &Title, const QString &Opponent,
                     const std::vector<int32_t> &Initial)
    : QDialog(Parent),
      Table_(new QTableWidget(CardCount, ColumnCount, this)),
      Count_(new QLabel(this)),
      Clear_(new QPushButton(QStringLiteral("Снять все"), this)),
      Confirm_(new QPushButton(QStringLiteral("Начать игру"), this)) {
    setObjectName("VelkuiSetDialog");
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(Title);
    for (int32_t Card : Initial)
        if (IsCardNumber(Card) && PickedCount(Chosen_) < CardSetSize)
            Chosen_[static_cast<std::size_t>(Card - 1)] = true;

    auto *Intro = new QLabel(
        QStringLiteral("Выберите %1 разных карт. Набор остаётся с вами всю партию: сыгранная карта не "
                       "расходуется, её можно играть снова, пока хватает ресурсов. Соперник: %2.")
            .arg(CardSetSize)
            .arg(Opponent),
        this);
    Intro->setWordWrap(true);

    Table_->setObjectName("cardTable");
    Table_->setHorizontalHeaderLabels({QStringLiteral("Карта"), QStringLiteral("En"), QStringLiteral("Me"),
                                       QStringLiteral("El"), QStringLiteral("Действие")});
    Table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table_->setSelectionMode(QAbstractItemView::NoSelection);
    Table_->setFocusPolicy(Qt::StrongFocus);
    Table_->setWordWrap(true);
    Table_->setAlternatingRowColors(true);
    Table_->verticalHeader()->setVisible(false);
    Table_->horizontalHeader()->setSectionResizeMode(TitleColumn, QHeaderView::Fixed);
    Table_->horizontalHeader()->setSectionResizeMode(EffectColumn, QHeaderView::Stretch);
    Table_->setColumnWidth(TitleColumn, 210);
    for (int Column : {EnergyColumn, MetalColumn, ElementsColumn}) Table_->setColumnWidth(Column, 44);
    for (int32_t Card = 1; Card <= CardCount; ++Card) {
        const int Row = Card - 1;
        Table_->setItem(Row, TitleColumn, new QTableWidgetItem(QString::fromStdString(CardTitle(Card))));
        Table_->setItem(Row, EnergyColumn, CostItem(CardCosts[Card].Energy));
        Table_->setItem(Row, MetalColumn, CostItem(CardCosts[Card].Metal));
        Table_->setItem(Row, ElementsColumn, CostItem(CardCosts[Card].Elements));
        Table_->setItem(Row, EffectColumn, new QTableWidgetItem(QString::fromStdString(CardEffect(Card))));
        for (int Column = 0; Column < ColumnCount; ++Column)
            Table_->item(Row, Column)->setToolTip(CardToolTip(Card));
    }
    connect(Table_, &QTableWidget::cellClicked, this, [this](int Row, int) { Toggle(Row); });
    auto *Space = new QShortcut(QKeySequence(Qt::Key_Space), Table_);
    Space->setContext(Qt::WidgetShortcut);
    connect(Space, &QShortcut::activated, this, [this] { Toggle(Table_->currentRow()); });

    Count_->setObjectName("countLabel");
    Count_->setProperty("count", true);
    Count_->setMinimumWidth(
        Count_->fontMetrics().horizontalAdvance(QString::fromStdString(SetCountText(50))) + 40);
    Clear_->setObjectName("clearButton");
    Confirm_->setObjectName("confirmButton");
    Confirm_->setDefault(true);
    connect(Clear_, &QPushButton::clicked, this, [this] {
        Chosen_.fill(false);
        for (int Row = 0; Row < CardCount; ++Row) ShowRow(Row);
        ShowCount();
    });
    connect(Confirm_, &QPushButton::clicked, this, &QDialog::accept);

    auto *Buttons = new QHBoxLayout;
    Buttons->addWidget(Count_);
    Buttons->addStretch(1);
    Buttons->addWidget(Clear_);
    Buttons->addWidget(Confirm_);
    auto *Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(16, 14, 16, 14);
    Layout->setSpacing(10);
    Layout->addWidget(Intro);
    Layout->addWidget(Table_, 1);
    Layout->addLayout(Buttons);
    for (int Row = 0; Row < CardCount; ++Row) ShowRow(Row);
    ShowCount();
    resize(880, 620);
}

std::vector<int32_t> SetDialog::ChosenCards() const {
    std::vector<int32_t> Cards;
    for (int32_t Card = 1; Card <= CardCount; ++Card)
        if (Chosen_[static_cast<std::size_t>(Card - 1)]) Cards.push_back(Card);
    return Cards;
}

void SetDialog::reject() {
    if (AskToLeave(this, {QStringLiteral("Выход из партии"),
                          QStringLiteral("Выйти, не выбрав набор? Партия будет проиграна."),
                          QStringLiteral("Выйти из партии"), QStringLiteral("Вернуться к выбору"),
                          "giveUpQuestion", "giveUpYes", "giveUpNo"}))
        QDialog::reject();
}

void SetDialog::showEvent(QShowEvent *Event) {
    QDialog::showEvent(Event);
    if (Event->spontaneous()) return;
    // Over the middle of the game window, and wholly on its screen.
    CentreOnParent(*this);
}

void SetDialog::resizeEvent(QResizeEvent *Event) {
    QDialog::resizeEvent(Event);
    // Rows wrap their effect text: their heights follow the table's width once the layout settled.
    QTimer::singleShot(0, Table_, [this] { Table_->resizeRowsToContents(); });
}

void SetDialog::Toggle(int Row) {
    if (Row < 0 || Row >= CardCount) return;
    bool &Picked = Chosen_[static_cast<std::size_t>(Row)];
    if (!Picked && PickedCount(Chosen_) >= CardSetSize) return;
    const bool WasFull = PickedCount(Chosen_) >= CardSetSize;
    Picked = !Picked;
    ShowRow(Row);
    if (WasFull != (PickedCount(Chosen_) >= CardSetSize))
        for (int Other = 0; Other < CardCount; ++Other) ShowRow(Other);
    ShowCount();
}

void SetDialog::ShowRow(int Row) {
    const bool Picked = Chosen_[static_cast<std::size_t>(Row)];
    const bool Open = Picked || PickedCount(Chosen_) < CardSetSize;
    for (int Column = 0; Column < ColumnCount; ++Column) {
        QTableWidgetItem *Item = Table_->item(Row, Column);
        Item->setFlags(Open ? Qt::ItemIsEnabled : Qt::NoItemFlags);
        Item->setData(Qt::BackgroundRole, Picked ? QVariant(PickedRowColour) : QVariant());
    }
    Table_->item(Row, TitleColumn)->setData(Qt::CheckStateRole, Picked ? Qt::Checked : Qt::Unchecked);
}

void SetDialog::ShowCount() {
    const int Count = PickedCount(Chosen_);
    Count_->setText(QString::fromStdString(SetCountText(Count)));
    Count_->setProperty("complete", Count == CardSetSize);
    Count_->style()->unpolish(Count_);
    Count_->style()->polish(Count_);
    Clear_->setEnabled(Count > 0);
    Confirm_->setEnabled(Count == CardSetSize);
}

}  // namespace velkaran
