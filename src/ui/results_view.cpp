#include "results_view.h"

#include "game_list_model.h"
#include "match_run.h"
#include "summary_table.h"

#include "records/atomic_file.h"
#include "summary/results_text.h"
#include "summary/table_text.h"

#include <QClipboard>
#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace velkaran {

namespace {

QString AskCsvFileName(QWidget *Parent) {
    return QFileDialog::getSaveFileName(Parent, QStringLiteral("Экспорт в CSV"), QString(),
                                        QStringLiteral("CSV (*.csv);;Все файлы (*)"));
}

void ShowExportError(QWidget *Parent, const QString &Text) {
    QMessageBox::warning(Parent, QStringLiteral("Экспорт в CSV"), Text);
}

QComboBox *NewFilter(const char *Name, const QString &ToolTip, QWidget *Parent) {
    auto *Filter = new QComboBox(Parent);
    Filter->setObjectName(QString::fromLatin1(Name));
    Filter->setToolTip(ToolTip);
    Filter->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return Filter;
}

}  // namespace

TResultsView::TResultsView(QWidget *Parent)
    : QWidget(Parent),
      HeadlineLabel(new QLabel(this)),
      StandingsTable(NewSummaryTable("StandingsTable", this)),
      EloLabel(new QLabel(this)),
      ThinkingTimeTable(NewSummaryTable("ThinkingTimeTable", this)),
      TerminationsTable(NewSummaryTable("TerminationsTable", this)),
      GameList(new QTableView(this)),
      WinnerFilter(NewFilter("WinnerFilter", QStringLiteral("Показать игры по победителю"), this)),
      EndingFilter(
          NewFilter("EndingFilter", QStringLiteral("Показать игры по тому, как они окончились"), this)),
      FirstPlayerFilter(
          NewFilter("FirstPlayerFilter", QStringLiteral("Показать игры по тому, кто ходил первым"), this)),
      ExportButton(new QPushButton(QStringLiteral("CSV…"), this)),
      AskCsvFile(AskCsvFileName),
      ShowError(ShowExportError),
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
    GameList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    GameList->setSortingEnabled(true);
    GameList->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
    GameList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GameList->verticalHeader()->setVisible(false);
    GameList->verticalHeader()->setDefaultSectionSize(GameList->fontMetrics().height() + 6);
    GameList->horizontalHeader()->setStretchLastSection(false);
    GameList->setToolTip(QStringLiteral("Двойной щелчок или Enter — просмотр игры"));
    GameList->installEventFilter(this);
    connect(GameList, &QTableView::doubleClicked, this, [this](const QModelIndex &Index) {
        if (Index.isValid() && OnOpenGame && Games->GameAt(Index.row()) >= 0)
            OnOpenGame(Games->GameAt(Index.row()));
    });
    for (QComboBox *Filter : {WinnerFilter, EndingFilter, FirstPlayerFilter})
        connect(Filter, &QComboBox::currentIndexChanged, this, [this] { ApplyFilter(); });
    ExportButton->setObjectName(QStringLiteral("ExportButton"));
    ExportButton->setToolTip(QStringLiteral("Сохранить таблицы и список игр в файл CSV"));
    ExportButton->setAutoDefault(false);
    connect(ExportButton, &QPushButton::clicked, this, [this] { ExportButtonClick(ExportButton); });
    for (QTableWidget *Table : {StandingsTable, ThinkingTimeTable, TerminationsTable})
        Table->installEventFilter(this);

    auto *GamesCaption = new QLabel(QStringLiteral("Игры (двойной щелчок — просмотр):"), this);
    auto *GamesBar = new QHBoxLayout;
    GamesBar->addWidget(GamesCaption);
    GamesBar->addStretch();
    GamesBar->addWidget(WinnerFilter);
    GamesBar->addWidget(EndingFilter);
    GamesBar->addWidget(FirstPlayerFilter);
    GamesBar->addWidget(ExportButton);
    auto *Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(8, 8, 8, 8);
    Layout->setSpacing(6);
    Layout->addWidget(HeadlineLabel);
    Layout->addWidget(StandingsTable, 0, Qt::AlignLeft);
    Layout->addWidget(EloLabel);
    Layout->addWidget(ThinkingTimeTable, 0, Qt::AlignLeft);
    Layout->addWidget(TerminationsTable, 0, Qt::AlignLeft);
    Layout->addLayout(GamesBar);
    Layout->addWidget(GameList, 1);
}

void TResultsView::ShowResults(std::shared_ptr<const TMatchResults> Results) {
    Shown = Results;
    Games->SetResults(Results);
    GameList->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
    {
        // The filters name this match's players and the endings it had.
        const QSignalBlocker QuietWinner(WinnerFilter), QuietEnding(EndingFilter),
            QuietFirst(FirstPlayerFilter);
        WinnerFilter->clear();
        EndingFilter->clear();
        FirstPlayerFilter->clear();
        WinnerFilter->addItem(QStringLiteral("Любой исход"));
        EndingFilter->addItem(QStringLiteral("Любое окончание"));
        FirstPlayerFilter->addItem(QStringLiteral("Любой первый ход"));
        if (Results) {
            for (int Player = 0; Player < 2; ++Player) {
                const QString Name = QString::fromStdString(Results->Names[static_cast<std::size_t>(Player)]);
                WinnerFilter->addItem(QStringLiteral("победа %1").arg(Name), Player);
                FirstPlayerFilter->addItem(QStringLiteral("первым ходил %1").arg(Name), Player);
            }
            WinnerFilter->addItem(QStringLiteral("ничья"), -1);
            for (int Kind = 0; Kind < TerminationKinds; ++Kind)
                if (Results->Summary.Terminations()[static_cast<std::size_t>(Kind)] > 0)
                    EndingFilter->addItem(
                        QString::fromStdString(TerminationText(static_cast<TTermination>(Kind))), Kind);
        }
    }
    if (!Results) {
        HeadlineLabel->setText(QStringLiteral("Итогов нет"));
        for (QTableWidget *Table : {StandingsTable, ThinkingTimeTable, TerminationsTable})
            ShowTextTable(Table, {});
        EloLabel->clear();
        return;
    }
    const TResultsText Text =
        ResultsText(Results->Summary, Results->Names, Results->Scope, Results->DecimalSeparator);
    HeadlineLabel->setText(QString::fromStdString(Text.Headline));
    ShowTextTable(StandingsTable, Text.Standings);
    EloLabel->setText(QString::fromStdString(Text.Elo));
    ShowTextTable(ThinkingTimeTable, Text.ThinkingTime);
    ThinkingTimeTable->setVisible(!Text.ThinkingTime.Rows.empty());
    ShowTextTable(TerminationsTable, Text.Terminations);
    TerminationsTable->setVisible(!Text.Terminations.Rows.empty());
    // Wide enough for the longest cell of the first rows and the header, with some air.
    GameList->resizeColumnsToContents();
    for (int Column = 0; Column < Games->columnCount(); ++Column)
        GameList->setColumnWidth(Column, std::min(GameList->columnWidth(Column) + 16, 400));
    if (Games->rowCount() > 0) SelectGame(0);
}

void TResultsView::ApplyFilter() {
    const int64_t Chosen = SelectedGame();
    TGameFilter Filter;
    if (WinnerFilter->currentIndex() > 0) Filter.Winner = WinnerFilter->currentData().toInt();
    if (EndingFilter->currentIndex() > 0)
        Filter.Ending = static_cast<TTermination>(EndingFilter->currentData().toInt());
    if (FirstPlayerFilter->currentIndex() > 0) Filter.FirstPlayer = FirstPlayerFilter->currentData().toInt();
    Games->SetFilter(Filter);
    if (Games->RowOf(Chosen) >= 0)
        SelectGame(Chosen);
    else if (Games->rowCount() > 0)
        SelectGame(Games->GameAt(0));
}

int64_t TResultsView::SelectedGame() const {
    const QModelIndex Current = GameList->selectionModel()->currentIndex();
    if (Current.isValid() && GameList->selectionModel()->isRowSelected(Current.row()))
        return Games->GameAt(Current.row());
    const QModelIndexList Rows = GameList->selectionModel()->selectedRows();
    return Rows.isEmpty() ? -1 : Games->GameAt(Rows.front().row());
}

void TResultsView::SelectGame(int64_t Game) {
    const int Row = Games->RowOf(Game);
    if (Row < 0) return;
    const QModelIndex Index = Games->index(Row, 0);
    GameList->selectionModel()->setCurrentIndex(
        Index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    GameList->scrollTo(Index);
}

std::string TResultsView::CopiedText(const QTableView *Table) const { return CopiedTableText(Table); }

bool TResultsView::ExportCsv(const QString &Path, std::string &Error) const {
    TTextRows Rows;
    if (Shown) {
        const TResultsText Text =
            ResultsText(Shown->Summary, Shown->Names, Shown->Scope, Shown->DecimalSeparator);
        Rows.push_back({Text.Headline});
        for (const TTextTable *Table : {&Text.Standings, &Text.ThinkingTime, &Text.Terminations}) {
            if (Table->Rows.empty()) continue;
            Rows.emplace_back();
            Rows.push_back(Table->Header);
            Rows.insert(Rows.end(), Table->Rows.begin(), Table->Rows.end());
        }
        Rows.emplace_back();
        Rows.push_back({Text.Elo});
        Rows.emplace_back();
        Rows.push_back(GameListHeader());
        const TTextRows Listed = Games->RowsText();
        Rows.insert(Rows.end(), Listed.begin(), Listed.end());
    }
    const std::string Csv = CsvText(Rows, CsvSeparator(Shown ? Shown->DecimalSeparator : "."));
    return WriteFileAtomically(
        Path.toStdString(), [&Csv](int Fd) { return WriteAll(Fd, Csv.data(), Csv.size()); }, Error);
}

void TResultsView::ExportButtonClick(QObject *) {
    const QString Path = AskCsvFile(this);
    if (Path.isEmpty()) return;
    std::string Error;
    if (!ExportCsv(Path, Error)) ShowError(this, QString::fromStdString(Error));
}

bool TResultsView::eventFilter(QObject *Watched, QEvent *Event) {
    if (Event->type() != QEvent::KeyPress) return QWidget::eventFilter(Watched, Event);
    auto *Key = static_cast<QKeyEvent *>(Event);
    if (Key->matches(QKeySequence::Copy)) {
        if (const auto *Table = qobject_cast<const QTableView *>(Watched)) {
            QGuiApplication::clipboard()->setText(QString::fromStdString(CopiedText(Table)));
            return true;
        }
    }
    if (Watched == GameList && (Key->key() == Qt::Key_Return || Key->key() == Qt::Key_Enter) &&
        SelectedGame() >= 0 && OnOpenGame) {
        OnOpenGame(SelectedGame());
        return true;
    }
    return QWidget::eventFilter(Watched, Event);
}

}  // namespace velkaran
