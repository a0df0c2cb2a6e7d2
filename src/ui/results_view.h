// The results view of the result window: a match's standings by player and seat, its Elo, the
// thinking times, how the games ended, and the list of its games.
#pragma once

#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>

class QLabel;
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
    QTableView *GameList;  // one row per game; a double click or Return opens it

    // Shows Results (all empty for none).
    void ShowResults(std::shared_ptr<const TMatchResults> Results);
    // The game chosen in the list (0 for the first); -1 when none is.
    int64_t SelectedGame() const;
    // Selects the game with index Game in the list and brings it into sight.
    void SelectGame(int64_t Game);

    // Runs when the user opens a game of the list (its index).
    std::function<void(int64_t Game)> OnOpenGame;

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
    TGameListModel *Games;
};

}  // namespace velkaran
