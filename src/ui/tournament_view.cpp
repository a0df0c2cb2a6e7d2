#include "tournament_view.h"

#include "decimal_separator.h"
#include "replay_form.h"
#include "summary_table.h"
#include "tournament_game_list_model.h"

#include "records/atomic_file.h"
#include "summary/table_text.h"
#include "summary/tournament_summary.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
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

// A tab that scrolls Table when it is larger than the window (a crosstable of many bots).
QWidget *TableTab(QTableWidget *Table) {
    auto *Inner = new QWidget;
    auto *Layout = new QVBoxLayout(Inner);
    Layout->addWidget(Table, 0, Qt::AlignLeft | Qt::AlignTop);
    Layout->addStretch();
    auto *Scroll = new QScrollArea;
    Scroll->setWidget(Inner);
    Scroll->setWidgetResizable(true);
    Scroll->setFrameShape(QFrame::NoFrame);
    return Scroll;
}

}  // namespace

TTournamentView::TTournamentView(QWidget *Parent)
    : QWidget(Parent),
      HeadlineLabel(new QLabel(this)),
      NotesLabel(new QLabel(this)),
      Tabs(new QTabWidget(this)),
      StandingsTable(NewSummaryTable("StandingsTable", this)),
      CrosstableTable(NewSummaryTable("CrosstableTable", this)),
      EncountersTable(NewSummaryTable("EncountersTable", this)),
      ThinkingTimeTable(NewSummaryTable("ThinkingTimeTable", this)),
      EndingsTable(NewSummaryTable("EndingsTable", this)),
      GameList(new QTableView(this)),
      BotFilter(NewFilter("BotFilter", QStringLiteral("Показать игры одного бота"), this)),
      WinnerFilter(NewFilter("WinnerFilter", QStringLiteral("Показать игры по победителю"), this)),
      EndingFilter(
          NewFilter("EndingFilter", QStringLiteral("Показать игры по тому, как они окончились"), this)),
      ExportButton(new QPushButton(QStringLiteral("CSV…"), this)),
      AskCsvFile(AskCsvFileName),
      ShowError(ShowExportError),
      Games(new TTournamentGameListModel(this)) {
    setObjectName(QStringLiteral("TournamentView"));
    HeadlineLabel->setObjectName(QStringLiteral("HeadlineLabel"));
    QFont Headline = HeadlineLabel->font();
    Headline.setBold(true);
    Headline.setPixelSize(14);
    HeadlineLabel->setFont(Headline);
    HeadlineLabel->setTextFormat(Qt::PlainText);
    HeadlineLabel->setWordWrap(true);
    NotesLabel->setObjectName(QStringLiteral("NotesLabel"));
    NotesLabel->setTextFormat(Qt::PlainText);
    NotesLabel->setWordWrap(true);
    NotesLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Tabs->setObjectName(QStringLiteral("Tabs"));

    GameList->setObjectName(QStringLiteral("GameList"));
    GameList->setModel(Games);
    GameList->setSelectionBehavior(QAbstractItemView::SelectRows);
    GameList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    GameList->setSortingEnabled(true);
    GameList->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
    GameList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GameList->verticalHeader()->setVisible(false);
    GameList->verticalHeader()->setDefaultSectionSize(GameList->fontMetrics().height() + 6);
    GameList->setToolTip(QStringLiteral("Двойной щелчок или Enter — просмотр игры"));
    GameList->installEventFilter(this);
    connect(GameList, &QTableView::doubleClicked, this, [this](const QModelIndex &Index) {
        if (Index.isValid() && OnOpenGame && Games->GameAt(Index.row()) >= 0)
            OnOpenGame(Games->GameAt(Index.row()));
    });
    for (QComboBox *Filter : {BotFilter, WinnerFilter, EndingFilter})
        connect(Filter, &QComboBox::currentIndexChanged, this, [this] { ApplyFilter(); });
    ExportButton->setObjectName(QStringLiteral("ExportButton"));
    ExportButton->setToolTip(QStringLiteral("Сохранить таблицы и список игр в файл CSV"));
    ExportButton->setAutoDefault(false);
    connect(ExportButton, &QPushButton::clicked, this, [this] { ExportButtonClick(ExportButton); });
    for (QTableWidget *Table :
         {StandingsTable, CrosstableTable, EncountersTable, ThinkingTimeTable, EndingsTable})
        Table->installEventFilter(this);

    Tabs->addTab(TableTab(StandingsTable), QStringLiteral("Итоги"));
    Tabs->addTab(TableTab(CrosstableTable), QStringLiteral("Таблица встреч"));
    Tabs->addTab(TableTab(EncountersTable), QStringLiteral("Встречи"));
    Tabs->addTab(TableTab(ThinkingTimeTable), QStringLiteral("Время на ход"));
    Tabs->addTab(TableTab(EndingsTable), QStringLiteral("Окончания"));
    auto *GamesTab = new QWidget;
    auto *GamesBar = new QHBoxLayout;
    GamesBar->addWidget(new QLabel(QStringLiteral("Двойной щелчок — просмотр игры"), GamesTab));
    GamesBar->addStretch();
    GamesBar->addWidget(BotFilter);
    GamesBar->addWidget(WinnerFilter);
    GamesBar->addWidget(EndingFilter);
    auto *GamesLayout = new QVBoxLayout(GamesTab);
    GamesLayout->addLayout(GamesBar);
    GamesLayout->addWidget(GameList, 1);
    Tabs->addTab(GamesTab, QStringLiteral("Игры"));

    auto *Bottom = new QHBoxLayout;
    Bottom->addWidget(NotesLabel, 1);
    Bottom->addWidget(ExportButton, 0, Qt::AlignTop);
    auto *Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(8, 8, 8, 8);
    Layout->setSpacing(6);
    Layout->addWidget(HeadlineLabel);
    Layout->addLayout(Bottom);
    Layout->addWidget(Tabs, 1);
}

void TTournamentView::ShowSummary(std::shared_ptr<const TTournamentSummary> Shown) {
    Summary = Shown;
    Games->SetSummary(Shown);
    GameList->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
    {
        // The filters name this tournament's bots and the endings it had.
        const QSignalBlocker QuietBot(BotFilter), QuietWinner(WinnerFilter), QuietEnding(EndingFilter);
        BotFilter->clear();
        WinnerFilter->clear();
        EndingFilter->clear();
        BotFilter->addItem(QStringLiteral("Все боты"));
        WinnerFilter->addItem(QStringLiteral("Любой исход"));
        EndingFilter->addItem(QStringLiteral("Любое окончание"));
        if (Shown) {
            for (std::size_t Bot = 0; Bot < Shown->Names.size(); ++Bot) {
                const QString Name = QString::fromStdString(Shown->Names[Bot]);
                BotFilter->addItem(QStringLiteral("игры %1").arg(Name), static_cast<int>(Bot));
                WinnerFilter->addItem(QStringLiteral("победа %1").arg(Name), static_cast<int>(Bot));
            }
            WinnerFilter->addItem(QStringLiteral("ничья"), -1);
            std::array<bool, TerminationKinds> Occurred{};
            for (const TTournamentGameRow &Row : Shown->Games)
                Occurred[static_cast<std::size_t>(Row.Termination)] = true;
            for (int Kind = 0; Kind < TerminationKinds; ++Kind)
                if (Occurred[static_cast<std::size_t>(Kind)])
                    EndingFilter->addItem(
                        QString::fromStdString(TerminationText(static_cast<TTermination>(Kind))), Kind);
        }
    }
    if (!Shown) {
        HeadlineLabel->setText(QStringLiteral("Итогов нет"));
        NotesLabel->clear();
        for (QTableWidget *Table :
             {StandingsTable, CrosstableTable, EncountersTable, ThinkingTimeTable, EndingsTable})
            ShowTextTable(Table, {});
        return;
    }
    const TTournamentText Text = TournamentText(*Shown);
    HeadlineLabel->setText(QString::fromStdString(Text.Headline));
    QStringList Notes;
    for (const std::string &Line : Text.Notes) Notes.append(QString::fromStdString(Line));
    NotesLabel->setText(Notes.join(QLatin1Char('\n')));
    ShowTextTable(StandingsTable, Text.Standings, 2);  // place and bot
    ShowTextTable(CrosstableTable, Text.Crosstable);
    ShowTextTable(EncountersTable, Text.Encounters);
    ShowTextTable(ThinkingTimeTable, Text.ThinkingTime);
    ShowTextTable(EndingsTable, Text.Endings);
    // Wide enough for the longest cell of the first rows and the header, with some air.
    GameList->resizeColumnsToContents();
    for (int Column = 0; Column < Games->columnCount(); ++Column)
        GameList->setColumnWidth(Column, std::min(GameList->columnWidth(Column) + 16, 300));
    if (Games->rowCount() > 0) SelectGame(Games->GameAt(0));
}

void TTournamentView::ApplyFilter() {
    const int64_t Chosen = SelectedGame();
    TTournamentGameFilter Filter;
    if (BotFilter->currentIndex() > 0) Filter.Bot = BotFilter->currentData().toInt();
    if (WinnerFilter->currentIndex() > 0) Filter.Winner = WinnerFilter->currentData().toInt();
    if (EndingFilter->currentIndex() > 0)
        Filter.Ending = static_cast<TTermination>(EndingFilter->currentData().toInt());
    Games->SetFilter(Filter);
    if (Games->RowOf(Chosen) >= 0)
        SelectGame(Chosen);
    else if (Games->rowCount() > 0)
        SelectGame(Games->GameAt(0));
}

int64_t TTournamentView::SelectedGame() const {
    const QModelIndex Current = GameList->selectionModel()->currentIndex();
    if (Current.isValid() && GameList->selectionModel()->isRowSelected(Current.row()))
        return Games->GameAt(Current.row());
    const QModelIndexList Rows = GameList->selectionModel()->selectedRows();
    return Rows.isEmpty() ? -1 : Games->GameAt(Rows.front().row());
}

void TTournamentView::SelectGame(int64_t Game) {
    const int Row = Games->RowOf(Game);
    if (Row < 0) return;
    const QModelIndex Index = Games->index(Row, 0);
    GameList->selectionModel()->setCurrentIndex(
        Index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    GameList->scrollTo(Index);
}

bool TTournamentView::ExportCsv(const QString &Path, std::string &Error) const {
    TTextRows Rows;
    if (Summary) {
        const TTournamentText Text = TournamentText(*Summary);
        Rows.push_back({Text.Headline});
        for (const std::string &Line : Text.Notes) Rows.push_back({Line});
        for (const TTextTable *Table :
             {&Text.Standings, &Text.Crosstable, &Text.Encounters, &Text.ThinkingTime, &Text.Endings}) {
            Rows.emplace_back();
            Rows.push_back(Table->Header);
            Rows.insert(Rows.end(), Table->Rows.begin(), Table->Rows.end());
        }
        Rows.emplace_back();
        Rows.push_back(TournamentGameListHeader());
        const TTextRows Listed = Games->RowsText();
        Rows.insert(Rows.end(), Listed.begin(), Listed.end());
    }
    const std::string Csv = CsvText(Rows, CsvSeparator(Summary ? Summary->DecimalSeparator : "."));
    return WriteFileAtomically(
        Path.toStdString(), [&Csv](int Fd) { return WriteAll(Fd, Csv.data(), Csv.size()); }, Error);
}

void TTournamentView::ExportButtonClick(QObject *) {
    const QString Path = AskCsvFile(this);
    if (Path.isEmpty()) return;
    std::string Error;
    if (!ExportCsv(Path, Error)) ShowError(this, QString::fromStdString(Error));
}

bool TTournamentView::eventFilter(QObject *Watched, QEvent *Event) {
    if (Event->type() != QEvent::KeyPress) return QWidget::eventFilter(Watched, Event);
    auto *Key = static_cast<QKeyEvent *>(Event);
    if (Key->matches(QKeySequence::Copy)) {
        if (const auto *Table = qobject_cast<const QTableView *>(Watched)) {
            QGuiApplication::clipboard()->setText(QString::fromStdString(CopiedTableText(Table)));
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

TTournamentResultsForm::TTournamentResultsForm(QWidget *Parent)
    : QDialog(Parent),
      View(new TTournamentView(this)),
      CloseButton(new QPushButton(QStringLiteral("Закрыть"), this)) {
    setObjectName(QStringLiteral("TournamentResultsForm"));
    setWindowTitle(QStringLiteral("Турнир"));
    setSizeGripEnabled(true);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    CloseButton->setAutoDefault(false);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::close);
    View->OnOpenGame = [this](int64_t Game) { OpenGame(Game); };
    auto *Buttons = new QHBoxLayout;
    Buttons->addStretch();
    Buttons->addWidget(CloseButton);
    auto *Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(0, 0, 8, 8);
    Layout->addWidget(View, 1);
    Layout->addLayout(Buttons);
    resize(960, 640);
}

void TTournamentResultsForm::ShowSummary(std::shared_ptr<const TTournamentSummary> Summary,
                                         const QString &Title) {
    setWindowTitle(Title.isEmpty() ? QStringLiteral("Турнир") : QStringLiteral("Турнир — %1").arg(Title));
    View->ShowSummary(std::move(Summary));
}

void TTournamentResultsForm::OpenGame(int64_t Game) {
    const std::shared_ptr<const TTournamentSummary> &Summary = View->Shown();
    if (!Summary || !Summary->Archive || Game < 0 || Game >= Summary->Archive->Count()) return;
    if (ReplayForm == nullptr) ReplayForm = new TReplayForm(this);
    ReplayForm->ShowGame(Summary->Archive, Game);
    ReplayForm->show();
    ReplayForm->raise();
    ReplayForm->activateWindow();
}

TTournamentResultsForm *OpenTournamentDocument(QWidget *Parent, const QString &Path,
                                               const TShowMessageFn &ShowMessage) {
    std::string Error;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const std::shared_ptr<TTournamentSummary> Summary =
        LoadTournamentSummary(Path.toStdString(), LocaleDecimalSeparator(), Error);
    QApplication::restoreOverrideCursor();
    if (!Summary) {
        ShowMessage(Parent, TMessageKind::Error,
                    QStringLiteral("Турнир «%1» не открыт: %2").arg(Path, QString::fromStdString(Error)));
        return nullptr;
    }
    auto *Form = new TTournamentResultsForm(Parent);
    Form->setAttribute(Qt::WA_DeleteOnClose);
    Form->ShowSummary(Summary, Path);
    Form->show();
    Form->raise();
    Form->activateWindow();
    return Form;
}

}  // namespace velkaran
