// The list of a match's games as a table model: a row per game that passes the filter, in the
// order asked for, its cells made on demand, so that a series of any length costs no more than its
// small rows and one index each.
#pragma once

#include "summary/game_order.h"
#include "summary/table_text.h"

#include <QAbstractTableModel>

#include <cstdint>
#include <memory>
#include <vector>

namespace velkaran {

struct TMatchResults;

class TGameListModel : public QAbstractTableModel {
public:
    explicit TGameListModel(QObject *Parent = nullptr) : QAbstractTableModel(Parent) {}

    // Shows the games of Results (none for null), every one, by number.
    void SetResults(std::shared_ptr<const TMatchResults> Results);
    // Shows only the games that pass Filter, in the present order.
    void SetFilter(const TGameFilter &Filter);
    // The game (its index in the match) of row Row; -1 for none.
    int64_t GameAt(int Row) const;
    // The row that shows game Game; -1 when it is filtered out.
    int RowOf(int64_t Game) const;
    // The cells of the rows Rows (all rows for none), as the list shows them.
    TTextRows RowsText(const std::vector<int> &Rows = {}) const;

    int rowCount(const QModelIndex &Parent = {}) const override;
    int columnCount(const QModelIndex &Parent = {}) const override;
    QVariant data(const QModelIndex &Index, int Role) const override;
    QVariant headerData(int Section, Qt::Orientation Orientation, int Role) const override;
    void sort(int Column, Qt::SortOrder Order) override;

private:
    void Reorder();

    std::shared_ptr<const TMatchResults> Results;
    TGameFilter Filter;
    TGameColumn Column = TGameColumn::Number;
    bool Ascending = true;
    std::vector<std::size_t> Order;  // the games shown, row by row
};

}  // namespace velkaran
