// The results of a tournament: its standings, crosstable, encounters, thinking times and endings
// on tabs, and the list of its games (sortable, filterable; a double click opens one for replay).
#pragma once

#include <QDialog>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>

#include "program_message.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QTableView;
class QTableWidget;

namespace velkaran {

struct TTournamentSummary;
class TTournamentGameListModel;
class TReplayForm;

class TTournamentView : public QWidget {
public:
    explicit TTournamentView(QWidget *Parent = nullptr);

    QLabel *HeadlineLabel;
    QLabel *NotesLabel;
    QTabWidget *Tabs;
    QTableWidget *StandingsTable;
    QTableWidget *CrosstableTable;
    QTableWidget *EncountersTable;
    QTableWidget *ThinkingTimeTable;
    QTableWidget *EndingsTable;
    QTableView *GameList;     // one row per game; a double click or Return opens it; a header click sorts
    QComboBox *BotFilter;     // the games of one bot
    QComboBox *WinnerFilter;  // the games one bot won, or the draws
    QComboBox *EndingFilter;
    QPushButton *ExportButton;  // "CSV…": every table and the games listed, into a CSV file

    // Asks for the file to export to (an empty name: cancelled). Tests replace it.
    std::function<QString(QWidget *Parent)> AskCsvFile;
    // Reports a failed export. Tests replace it.
    std::function<void(QWidget *Parent, const QString &Text)> ShowError;
    // Runs when the user opens a game of the list (its row in the summary: its record's number).
    std::function<void(int64_t Game)> OnOpenGame;

    // Shows Summary (all empty for none).
    void ShowSummary(std::shared_ptr<const TTournamentSummary> Summary);
    const std::shared_ptr<const TTournamentSummary> &Shown() const { return Summary; }
    // The game chosen in the list; -1 when none is.
    int64_t SelectedGame() const;
    // Selects game Game in the list and brings it into sight (when it is listed).
    void SelectGame(int64_t Game);
    // Writes the headline, every table and the games listed to Path as CSV; false with Error.
    bool ExportCsv(const QString &Path, std::string &Error) const;
    void ExportButtonClick(QObject *Sender);

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
    void ApplyFilter();

    TTournamentGameListModel *Games;
    std::shared_ptr<const TTournamentSummary> Summary;
};

// A window of its own for a tournament's results, with "Закрыть"; its games open in a replay viewer
// of its own.
class TTournamentResultsForm : public QDialog {
public:
    explicit TTournamentResultsForm(QWidget *Parent = nullptr);

    TTournamentView *View;
    QPushButton *CloseButton;

    // Shows Summary, with Title (the document's path, say) in the title bar.
    void ShowSummary(std::shared_ptr<const TTournamentSummary> Summary, const QString &Title);
    // The replay viewer of the last game opened; null before any.
    TReplayForm *Replay() const { return ReplayForm; }

private:
    void OpenGame(int64_t Game);

    TReplayForm *ReplayForm = nullptr;
};

// Opens the tournament document at Path in a new results window (which deletes itself when
// closed) and returns it; null, after telling the user why through ShowMessage, when the document
// cannot be read or is not a tournament's.
TTournamentResultsForm *OpenTournamentDocument(QWidget *Parent, const QString &Path,
                                               const TShowMessageFn &ShowMessage = ShowProgramMessage);

}  // namespace velkaran
