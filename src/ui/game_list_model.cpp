#include "game_list_model.h"

#include "match_run.h"

#include "summary/results_text.h"

#include <climits>

namespace velkaran {

namespace {

constexpr int NumberColumn = 0;
constexpr int RoundsColumn = 4;

}  // namespace

void TGameListModel::SetResults(std::shared_ptr<const TMatchResults> Shown) {
    beginResetModel();
    Results = std::move(Shown);
    endResetModel();
}

int TGameListModel::rowCount(const QModelIndex &Parent) const {
    if (Parent.isValid() || !Results) return 0;
    // A view takes an int of rows; a series is far from that many games in practice.
    const auto Rows = Results->Summary.Games().size();
    return Rows > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(Rows);
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
    if (Role != Qt::DisplayRole) return {};
    const TGameRow &Row = Results->Summary.Games()[static_cast<std::size_t>(Index.row())];
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
