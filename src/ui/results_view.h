// The results view of the result window: a match's standings by player and seat, its Elo, the
// thinking times, how the games ended, and the list of its games.
#pragma once

#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QPushButton;
class QTableView;
class QTableWidget;

namespace velkaran {

struct TMatchResults;
class TGameListModel;

class TResultsView : public QWidget {
public:
    explicit TResultsView(QWidget *Parent = nullptr);

    QLabel *HeadlineLabel;
    QTableWidget *StandingsTable;
    QLabel *EloLabel;
    QTableWidget *ThinkingTimeTable;
    QTableWidget *TerminationsTable;
    QTableView *GameList;  // one row per game; a double click or Return opens it; a header click sorts
    // The games the list shows: by winner, by ending, by the player that moved first.
    QComboBox *WinnerFilter;
    QComboBox *EndingFilter;
    QComboBox *FirstPlayerFilter;
    QPushButton *ExportButton;  // "CSV…": every table and the games listed, into a CSV file

    // Asks for the file to export to (an empty name: cancelled). Tests replace it.
    std::function<QString(QWidget *Parent)> AskCsvFile;
    // Reports a failed export. Tests replace it.
    std::function<void(QWidget *Parent, const QString &Text)> ShowError;

    // Shows Results (all empty for none).
    void ShowResults(std::shared_ptr<const TMatchResults> Results);
    // The game chosen in the list (its index in the match); -1 when none is.
    int64_t SelectedGame() const;
    // Selects the game with index Game in the list and brings it into sight (when it is listed).
    void SelectGame(int64_t Game);
    // The text Ctrl+C puts on the clipboard from Table (a summary table or the game list): the
    // selected cells, tab-separated, with the header when every row is selected.
    std::string CopiedText(const QTableView *Table) const;
    // Writes every table and the games listed to Path as CSV; false with Error.
    bool ExportCsv(const QString &Path, std::string &Error) const;
    void ExportButtonClick(QObject *Sender);

    // Runs when the user opens a game of the list (its index).
    std::function<void(int64_t Game)> OnOpenGame;

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
    void ApplyFilter();

    TGameListModel *Games;
    std::shared_ptr<const TMatchResults> Shown;
};

}  // namespace velkaran
