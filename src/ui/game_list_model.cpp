#include "game_list_model.h"

#include "match_run.h"

#include "summary/results_text.h"

#include <algorithm>
#include <climits>

namespace velkaran {

namespace {

constexpr int NumberColumn = 0;
constexpr int RoundsColumn = 4;

}  // namespace

void TGameListModel::SetResults(std::shared_ptr<const TMatchResults> Shown) {
    beginResetModel();
    Results = std::move(Shown);
    Filter = {};
    Reorder();
    endResetModel();
}

void TGameListModel::SetFilter(const TGameFilter &Wanted) {
    beginResetModel();
    Filter = Wanted;
    Reorder();
    endResetModel();
}

void TGameListModel::sort(int Wanted, Qt::SortOrder SortOrder) {
    if (Wanted < 0 || Wanted >= columnCount()) return;
    emit layoutAboutToBeChanged();
    Column = static_cast<TGameColumn>(Wanted);
    Ascending = SortOrder == Qt::AscendingOrder;
    Reorder();
    emit layoutChanged();
}

void TGameListModel::Reorder() {
    Order = Results ? OrderGames(Results->Summary.Games(), Filter, Column, Ascending)
                    : std::vector<std::size_t>{};
    // A view takes an int of rows; a series is far from that many games in practice.
    if (Order.size() > static_cast<std::size_t>(INT_MAX)) Order.resize(INT_MAX);
}

int64_t TGameListModel::GameAt(int Row) const {
    if (Row < 0 || static_cast<std::size_t>(Row) >= Order.size()) return -1;
    return static_cast<int64_t>(Order[static_cast<std::size_t>(Row)]);
}

int TGameListModel::RowOf(int64_t Game) const {
    const auto Found = std::find(Order.begin(), Order.end(), static_cast<std::size_t>(Game));
    return Found == Order.end() ? -1 : static_cast<int>(Found - Order.begin());
}

TTextRows TGameListModel::RowsText(const std::vector<int> &Rows) const {
    TTextRows Text;
    if (!Results) return Text;
    const auto Add = [this, &Text](std::size_t Row) {
        Text.push_back(GameRowText(Results->Summary.Games()[Order[Row]], Results->Names));
    };
    if (Rows.empty())
        for (std::size_t Row = 0; Row < Order.size(); ++Row) Add(Row);
    for (const int Row : Rows)
        if (Row >= 0 && static_cast<std::size_t>(Row) < Order.size()) Add(static_cast<std::size_t>(Row));
    return Text;
}

int TGameListModel::rowCount(const QModelIndex &Parent) const {
    return Parent.isValid() ? 0 : static_cast<int>(Order.size());
}

int TGameListModel::columnCount(const QModelIndex &Parent) const {
    return Parent.isValid() ? 0 : static_cast<int>(GameListHeader().size());
}

QVariant TGameListModel::data(const QModelIndex &Index, int Role) const {
    if (!Index.isValid() || !Results || Index.row() >= rowCount()) return {};
    if (Role == Qt::TextAlignmentRole) {
        const bool Number = Index.column() == NumberColumn || Index.column() == RoundsColumn;
        return QVariant::fromValue(Qt::AlignVCenter | (Number ? Qt::AlignRight : Qt::AlignLeft));
    }
    if (Role != Qt::DisplayRole && Role != Qt::ToolTipRole) return {};
    const TGameRow &Row = Results->Summary.Games()[Order[static_cast<std::size_t>(Index.row())]];
    const std::vector<std::string> Cells = GameRowText(Row, Results->Names);
    return QString::fromStdString(Cells[static_cast<std::size_t>(Index.column())]);
}

QVariant TGameListModel::headerData(int Section, Qt::Orientation Orientation, int Role) const {
    if (Orientation != Qt::Horizontal || Role != Qt::DisplayRole) return {};
    const std::vector<std::string> Header = GameListHeader();
    if (Section < 0 || static_cast<std::size_t>(Section) >= Header.size()) return {};
    return QString::fromStdString(Header[static_cast<std::size_t>(Section)]);
}

}  // namespace velkaran
