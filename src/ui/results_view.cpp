#include "results_view.h"

#include "game_list_model.h"
#include "match_run.h"

#include "summary/results_text.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace velkaran {

namespace {

QTableWidget *NewTable(const char *Name, QWidget *Parent) {
    auto *Table = new QTableWidget(Parent);
    Table->setObjectName(QString::fromLatin1(Name));
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->setSelectionMode(QAbstractItemView::NoSelection);
    Table->setFocusPolicy(Qt::NoFocus);
    Table->verticalHeader()->setVisible(false);
    Table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    Table->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    return Table;
}

// Fills Table with Text and makes it exactly as large as its cells: the summary never scrolls.
void ShowTable(QTableWidget *Table, const TTextTable &Text) {
    Table->clear();
    Table->setColumnCount(static_cast<int>(Text.Header.size()));
    Table->setRowCount(static_cast<int>(Text.Rows.size()));
    QStringList Header;
    for (const std::string &Cell : Text.Header) Header.append(QString::fromStdString(Cell));
    Table->setHorizontalHeaderLabels(Header);
    for (std::size_t Row = 0; Row < Text.Rows.size(); ++Row) {
        for (std::size_t Column = 0; Column < Text.Rows[Row].size(); ++Column) {
            auto *Item = new QTableWidgetItem(QString::fromStdString(Text.Rows[Row][Column]));
            // Names and words to the left, numbers to the right.
            Item->setTextAlignment(Qt::AlignVCenter | (Column == 0 ? Qt::AlignLeft : Qt::AlignRight));
            Table->setItem(static_cast<int>(Row), static_cast<int>(Column), Item);
        }
    }
    Table->resizeColumnsToContents();
    Table->resizeRowsToContents();
    int Height = Table->horizontalHeader()->sizeHint().height() + 2 * Table->frameWidth();
    for (int Row = 0; Row < Table->rowCount(); ++Row) Height += Table->rowHeight(Row);
    int Width = 2 * Table->frameWidth();
    for (int Column = 0; Column < Table->columnCount(); ++Column) Width += Table->columnWidth(Column);
    Table->setFixedSize(Width, Height);
}

}  // namespace

TResultsView::TResultsView(QWidget *Parent)
    : QWidget(Parent),
      HeadlineLabel(new QLabel(this)),
      StandingsTable(NewTable("StandingsTable", this)),
      EloLabel(new QLabel(this)),
      ThinkingTimeTable(NewTable("ThinkingTimeTable", this)),
      TerminationsTable(NewTable("TerminationsTable", this)),
      GameList(new QTableView(this)),
      Games(new TGameListModel(this)) {
    setObjectName(QStringLiteral("ResultsView"));
    HeadlineLabel->setObjectName(QStringLiteral("HeadlineLabel"));
    QFont Headline = HeadlineLabel->font();
    Headline.setBold(true);
    Headline.setPixelSize(14);
    HeadlineLabel->setFont(Headline);
    HeadlineLabel->setTextFormat(Qt::PlainText);
    EloLabel->setObjectName(QStringLiteral("EloLabel"));
    EloLabel->setTextFormat(Qt::PlainText);
    EloLabel->setWordWrap(true);
    EloLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);

    GameList->setObjectName(QStringLiteral("GameList"));
    GameList->setModel(Games);
    GameList->setSelectionBehavior(QAbstractItemView::SelectRows);
    GameList->setSelectionMode(QAbstractItemView::SingleSelection);
    GameList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GameList->verticalHeader()->setVisible(false);
    GameList->verticalHeader()->setDefaultSectionSize(GameList->fontMetrics().height() + 6);
    GameList->horizontalHeader()->setStretchLastSection(false);
    GameList->setToolTip(QStringLiteral("Двойной щелчок или Enter — просмотр игры"));
    GameList->installEventFilter(this);
    connect(GameList, &QTableView::doubleClicked, this, [this](const QModelIndex &Index) {
        if (Index.isValid() && OnOpenGame) OnOpenGame(Index.row());
    });

    auto *GamesCaption = new QLabel(QStringLiteral("Игры (двойной щелчок — просмотр):"), this);
    auto *Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(8, 8, 8, 8);
    Layout->setSpacing(6);
    Layout->addWidget(HeadlineLabel);
    Layout->addWidget(StandingsTable, 0, Qt::AlignLeft);
    Layout->addWidget(EloLabel);
    Layout->addWidget(ThinkingTimeTable, 0, Qt::AlignLeft);
    Layout->addWidget(TerminationsTable, 0, Qt::AlignLeft);
    Layout->addWidget(GamesCaption);
    Layout->addWidget(GameList, 1);
}

void TResultsView::ShowResults(std::shared_ptr<const TMatchResults> Results) {
    Games->SetResults(Results);
    if (!Results) {
        HeadlineLabel->setText(QStringLiteral("Итогов нет"));
        for (QTableWidget *Table : {StandingsTable, ThinkingTimeTable, TerminationsTable})
            ShowTable(Table, {});
        EloLabel->clear();
        return;
    }
    const TResultsText Text =
        ResultsText(Results->Summary, Results->Names, Results->Scope, Results->DecimalSeparator);
    HeadlineLabel->setText(QString::fromStdString(Text.Headline));
    ShowTable(StandingsTable, Text.Standings);
    EloLabel->setText(QString::fromStdString(Text.Elo));
    ShowTable(ThinkingTimeTable, Text.ThinkingTime);
    ShowTable(TerminationsTable, Text.Terminations);
    TerminationsTable->setVisible(!Text.Terminations.Rows.empty());
    // Wide enough for the longest cell of the first rows and the header, with some air.
    GameList->resizeColumnsToContents();
    for (int Column = 0; Column < Games->columnCount(); ++Column)
        GameList->setColumnWidth(Column, GameList->columnWidth(Column) + 16);
    if (Games->rowCount() > 0) SelectGame(0);
}

int64_t TResultsView::SelectedGame() const {
    const QModelIndexList Rows = GameList->selectionModel()->selectedRows();
    return Rows.isEmpty() ? -1 : Rows.front().row();
}

void TResultsView::SelectGame(int64_t Game) {
    if (Game < 0 || Game >= Games->rowCount()) return;
    const QModelIndex Index = Games->index(static_cast<int>(Game), 0);
    GameList->selectionModel()->setCurrentIndex(
        Index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    GameList->scrollTo(Index);
}

bool TResultsView::eventFilter(QObject *Watched, QEvent *Event) {
    if (Watched == GameList && Event->type() == QEvent::KeyPress) {
        const int Key = static_cast<QKeyEvent *>(Event)->key();
        if ((Key == Qt::Key_Return || Key == Qt::Key_Enter) && SelectedGame() >= 0 && OnOpenGame) {
            OnOpenGame(SelectedGame());
            return true;
        }
    }
    return QWidget::eventFilter(Watched, Event);
}

}  // namespace velkaran
