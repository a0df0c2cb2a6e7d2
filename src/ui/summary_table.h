// The tables of the results views: a table widget as large as its cells, filled from a table of
// text, and the text Ctrl+C copies from any table view.
#pragma once

#include <string>

class QTableView;
class QTableWidget;
class QWidget;

namespace velkaran {

struct TTextTable;

// A read-only table without a row header whose cells can be selected (and copied), named Name.
QTableWidget *NewSummaryTable(const char *Name, QWidget *Parent);

// Fills Table with Text (the first LeftColumns columns, names, to the left; numbers to the right)
// and makes it exactly as large as its cells, so that a summary never scrolls.
void ShowTextTable(QTableWidget *Table, const TTextTable &Text, int LeftColumns = 1);

// The text Ctrl+C puts on the clipboard from Table: the selected cells, tab-separated, with the
// header when every row is selected (every cell when none is).
std::string CopiedTableText(const QTableView *Table);

}  // namespace velkaran
