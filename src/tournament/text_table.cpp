// Column widths in characters (UTF-8 code points), so that names of any script line up.
#include "text_table.h"

#include "match/number_text.h"

#include <algorithm>

namespace velkaran {

TTextTable::TTextTable(std::vector<std::string> Headers_) {
    for (std::string &Header : Headers_) {
        Left.push_back(!Header.empty() && Header[0] == '<');
        Headers.push_back(Left.back() ? Header.substr(1) : Header);
    }
}

void TTextTable::AddRow(std::vector<std::string> Cells) {
    Cells.resize(Headers.size());
    Rows.push_back(std::move(Cells));
}

std::vector<std::string> TTextTable::Lines() const {
    std::vector<int> Widths;
    for (const std::string &Header : Headers) Widths.push_back(TextLength(Header));
    for (const auto &Row : Rows)
        for (std::size_t I = 0; I < Row.size(); ++I) Widths[I] = std::max(Widths[I], TextLength(Row[I]));
    const auto Line = [&](const std::vector<std::string> &Cells) {
        std::string Text;
        for (std::size_t I = 0; I < Cells.size(); ++I) {
            const std::string Padding(static_cast<std::size_t>(Widths[I] - TextLength(Cells[I])), ' ');
            if (I > 0) Text += "  ";
            Text += Left[I] ? Cells[I] + (I + 1 < Cells.size() ? Padding : "") : Padding + Cells[I];
        }
        return Text;
    };
    std::vector<std::string> Result{Line(Headers)};
    for (const auto &Row : Rows) Result.push_back(Line(Row));
    return Result;
}

}  // namespace velkaran
