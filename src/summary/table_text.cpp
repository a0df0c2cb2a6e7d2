#include "table_text.h"

namespace velkaran {

std::string TabSeparatedText(const TTextRows &Rows) {
    std::string Text;
    for (const std::vector<std::string> &Row : Rows) {
        for (std::size_t Column = 0; Column < Row.size(); ++Column) {
            if (Column > 0) Text += '\t';
            for (const char Character : Row[Column])
                Text += Character == '\t' || Character == '\n' || Character == '\r' ? ' ' : Character;
        }
        Text += '\n';
    }
    return Text;
}

std::string CsvText(const TTextRows &Rows, char Separator) {
    std::string Text;
    for (const std::vector<std::string> &Row : Rows) {
        for (std::size_t Column = 0; Column < Row.size(); ++Column) {
            if (Column > 0) Text += Separator;
            const std::string &Cell = Row[Column];
            if (Cell.find_first_of(std::string{Separator, '"', '\n', '\r'}) == std::string::npos) {
                Text += Cell;
                continue;
            }
            Text += '"';
            for (const char Character : Cell) {
                if (Character == '"') Text += '"';
                Text += Character;
            }
            Text += '"';
        }
        Text += "\r\n";
    }
    return Text;
}

char CsvSeparator(const std::string &DecimalSeparator) { return DecimalSeparator == "," ? ';' : ','; }

}  // namespace velkaran
