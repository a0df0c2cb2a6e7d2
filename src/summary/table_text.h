// Tables of the results view as text for other programs: tab-separated for the clipboard (pastes
// into a spreadsheet), and CSV for a file.
#pragma once

#include <string>
#include <vector>

namespace velkaran {

using TTextRows = std::vector<std::vector<std::string>>;

// Rows as lines of tab-separated cells, each line ending in "\n"; a tab or a line break inside a
// cell becomes a blank, so that every cell stays in its place.
std::string TabSeparatedText(const TTextRows &Rows);

// Rows as CSV (RFC 4180): cells joined by Separator, a cell that holds the separator, a quote or a
// line break quoted (its quotes doubled), lines ending in CR LF. Where "," is the decimal separator,
// spreadsheets expect ";" between cells: see CsvSeparator.
std::string CsvText(const TTextRows &Rows, char Separator);

// The cell separator of CSV files for a locale whose decimal separator is DecimalSeparator.
char CsvSeparator(const std::string &DecimalSeparator);

}  // namespace velkaran
