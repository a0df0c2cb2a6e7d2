// Columns of text aligned for a terminal: left-aligned names, right-aligned numbers.
#pragma once

#include <string>
#include <vector>

namespace velkaran {

class TTextTable {
public:
    // Headers name the columns; a column whose header starts with '<' is left-aligned (the '<'
    // is not shown), every other one right-aligned.
    explicit TTextTable(std::vector<std::string> Headers);
    void AddRow(std::vector<std::string> Cells);
    // The header line and one line per row, columns two blanks apart, widths in characters.
    std::vector<std::string> Lines() const;

private:
    std::vector<std::string> Headers;
    std::vector<bool> Left;
    std::vector<std::vector<std::string>> Rows;
};

}  // namespace velkaran
