// The list of a tournament's games as a table model: a row per game that passes the filter, in the
// order asked for, its cells made on demand, so that 100,000 games cost one index each.
#pragma once

#include "summary/table_text.h"
#include "summary/tournament_games.h"

#include <QAbstractTableModel>

#include <cstdint>
#include <memory>
#include <vector>

namespace velkaran {

struct TTournamentSummary;

class TTournamentGameListModel : public QAbstractTableModel {
public:
    explicit TTournamentGameListModel(QObject *Parent = nullptr) : QAbstractTableModel(Parent) {}

    // Shows the games of Summary (none for null), every one, by number.
    void SetSummary(std::shared_ptr<const TTournamentSummary> Summary);
    // Shows only the games that pass Filter, in the present order.
    void SetFilter(const TTournamentGameFilter &Filter);
    // The game (its row in the summary, and its record's number in the archive) of row Row; -1 for none.
    int64_t GameAt(int Row) const;
    // The row that shows game Game; -1 when it is filtered out.
    int RowOf(int64_t Game) const;
    // The cells of every row, as the list shows them.
    TTextRows RowsText() const;

    int rowCount(const QModelIndex &Parent = {}) const override;
    int columnCount(const QModelIndex &Parent = {}) const override;
    QVariant data(const QModelIndex &Index, int Role) const override;
    QVariant headerData(int Section, Qt::Orientation Orientation, int Role) const override;
    void sort(int Column, Qt::SortOrder Order) override;

private:
    void Reorder();

    std::shared_ptr<const TTournamentSummary> Summary;
    TTournamentGameFilter Filter;
    TTournamentGameColumn Column = TTournamentGameColumn::Number;
    bool Ascending = true;
    std::vector<std::size_t> Order;  // the games shown, row by row
};

}  // namespace velkaran
