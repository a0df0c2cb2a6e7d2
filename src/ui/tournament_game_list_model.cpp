#include "tournament_game_list_model.h"

#include "summary/tournament_summary.h"

#include <algorithm>
#include <climits>

namespace velkaran {

void TTournamentGameListModel::SetSummary(std::shared_ptr<const TTournamentSummary> Shown) {
    beginResetModel();
    Summary = std::move(Shown);
    Filter = {};
    Reorder();
    endResetModel();
}

void TTournamentGameListModel::SetFilter(const TTournamentGameFilter &Wanted) {
    beginResetModel();
    Filter = Wanted;
    Reorder();
    endResetModel();
}

void TTournamentGameListModel::sort(int Wanted, Qt::SortOrder SortOrder) {
    if (Wanted < 0 || Wanted >= columnCount()) return;
    emit layoutAboutToBeChanged();
    Column = static_cast<TTournamentGameColumn>(Wanted);
    Ascending = SortOrder == Qt::AscendingOrder;
    Reorder();
    emit layoutChanged();
}

void TTournamentGameListModel::Reorder() {
    Order = Summary ? OrderTournamentGames(Summary->Games, Filter, Column, Ascending, Summary->Names)
                    : std::vector<std::size_t>{};
    // A view takes an int of rows; a tournament is far from that many games in practice.
    if (Order.size() > static_cast<std::size_t>(INT_MAX)) Order.resize(INT_MAX);
}

int64_t TTournamentGameListModel::GameAt(int Row) const {
    if (Row < 0 || static_cast<std::size_t>(Row) >= Order.size()) return -1;
    return static_cast<int64_t>(Order[static_cast<std::size_t>(Row)]);
}

int TTournamentGameListModel::RowOf(int64_t Game) const {
    const auto Found = std::find(Order.begin(), Order.end(), static_cast<std::size_t>(Game));
    return Found == Order.end() ? -1 : static_cast<int>(Found - Order.begin());
}

TTextRows TTournamentGameListModel::RowsText() const {
    TTextRows Text;
    if (!Summary) return Text;
    for (const std::size_t Game : Order)
        Text.push_back(TournamentGameRowText(Summary->Games[Game], Summary->Names));
    return Text;
}

int TTournamentGameListModel::rowCount(const QModelIndex &Parent) const {
    return Parent.isValid() ? 0 : static_cast<int>(Order.size());
}

int TTournamentGameListModel::columnCount(const QModelIndex &Parent) const {
    return Parent.isValid() ? 0 : static_cast<int>(TournamentGameListHeader().size());
}

QVariant TTournamentGameListModel::data(const QModelIndex &Index, int Role) const {
    if (!Index.isValid() || !Summary || Index.row() >= rowCount()) return {};
    const auto Column = static_cast<TTournamentGameColumn>(Index.column());
    if (Role == Qt::TextAlignmentRole) {
        const bool Number =
            Column == TTournamentGameColumn::Number || Column == TTournamentGameColumn::Rounds;
        return QVariant::fromValue(Qt::AlignVCenter | (Number ? Qt::AlignRight : Qt::AlignLeft));
    }
    if (Role != Qt::DisplayRole && Role != Qt::ToolTipRole) return {};
    const TTournamentGameRow &Row = Summary->Games[Order[static_cast<std::size_t>(Index.row())]];
    const std::vector<std::string> Cells = TournamentGameRowText(Row, Summary->Names);
    return QString::fromStdString(Cells[static_cast<std::size_t>(Index.column())]);
}

QVariant TTournamentGameListModel::headerData(int Section, Qt::Orientation Orientation, int Role) const {
    if (Orientation != Qt::Horizontal || Role != Qt::DisplayRole) return {};
    const std::vector<std::string> Header = TournamentGameListHeader();
    if (Section < 0 || static_cast<std::size_t>(Section) >= Header.size()) return {};
    return QString::fromStdString(Header[static_cast<std::size_t>(Section)]);
}

}  // namespace velkaran
