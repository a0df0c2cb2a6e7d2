#include "summary_table.h"

#include "summary/results_text.h"
#include "summary/table_text.h"

#include <QHeaderView>
#include <QTableView>
#include <QTableWidget>

#include <map>
#include <set>

namespace velkaran {

QTableWidget *NewSummaryTable(const char *Name, QWidget *Parent) {
    auto *Table = new QTableWidget(Parent);
    Table->setObjectName(QString::fromLatin1(Name));
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->setSelectionMode(QAbstractItemView::ExtendedSelection);  // copied with Ctrl+C
    Table->verticalHeader()->setVisible(false);
    Table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    Table->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    return Table;
}

void ShowTextTable(QTableWidget *Table, const TTextTable &Text, int LeftColumns) {
    Table->clear();
    Table->setColumnCount(static_cast<int>(Text.Header.size()));
    Table->setRowCount(static_cast<int>(Text.Rows.size()));
    QStringList Header;
    for (const std::string &Cell : Text.Header) Header.append(QString::fromStdString(Cell));
    Table->setHorizontalHeaderLabels(Header);
    for (std::size_t Row = 0; Row < Text.Rows.size(); ++Row) {
        for (std::size_t Column = 0; Column < Text.Rows[Row].size(); ++Column) {
            auto *Item = new QTableWidgetItem(QString::fromStdString(Text.Rows[Row][Column]));
            // Names and words to the left, numbers to the right.
            Item->setTextAlignment(Qt::AlignVCenter |
                                   (static_cast<int>(Column) < LeftColumns ? Qt::AlignLeft : Qt::AlignRight));
            Table->setItem(static_cast<int>(Row), static_cast<int>(Column), Item);
        }
    }
    Table->resizeColumnsToContents();
    Table->resizeRowsToContents();
    int Height = Table->horizontalHeader()->sizeHint().height() + 2 * Table->frameWidth();
    for (int Row = 0; Row < Table->rowCount(); ++Row) Height += Table->rowHeight(Row);
    int Width = 2 * Table->frameWidth();
    for (int Column = 0; Column < Table->columnCount(); ++Column) Width += Table->columnWidth(Column);
    Table->setFixedSize(Width, Height);
}

std::string CopiedTableText(const QTableView *Table) {
    const QAbstractItemModel *Model = Table->model();
    QModelIndexList Selected = Table->selectionModel()->selectedIndexes();
    std::set<int> Rows, Columns;
    for (const QModelIndex &Index : Selected) {
        Rows.insert(Index.row());
        Columns.insert(Index.column());
    }
    const bool Whole = Rows.empty() || static_cast<int>(Rows.size()) == Model->rowCount();
    if (Rows.empty()) {
        for (int Row = 0; Row < Model->rowCount(); ++Row) Rows.insert(Row);
        for (int Column = 0; Column < Model->columnCount(); ++Column) Columns.insert(Column);
        for (const int Row : Rows)
            for (const int Column : Columns) Selected.append(Model->index(Row, Column));
    }
    std::map<std::pair<int, int>, std::string> Cells;
    for (const QModelIndex &Index : Selected)
        Cells[{Index.row(), Index.column()}] = Model->data(Index, Qt::DisplayRole).toString().toStdString();
    TTextRows Text;
    if (Whole) {
        Text.emplace_back();
        for (const int Column : Columns)
            Text.back().push_back(
                Model->headerData(Column, Qt::Horizontal, Qt::DisplayRole).toString().toStdString());
    }
    for (const int Row : Rows) {
        Text.emplace_back();
        for (const int Column : Columns) {
            const auto Cell = Cells.find({Row, Column});
            Text.back().push_back(Cell != Cells.end() ? Cell->second : std::string());
        }
    }
    return TabSeparatedText(Text);
}

}  // namespace velkaran
