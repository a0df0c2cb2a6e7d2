// The agreement of a Russian noun with the number before it.
#include "plural.h"

namespace velkaran {

std::string_view PluralForm(int64_t Count, const TPlural &Word) {
    // The remainder of the absolute value, without negating INT64_MIN.
    const int64_t LastTwo = Count < 0 ? -(Count % 100) : Count % 100;
    const int64_t Last = LastTwo % 10;
    if (LastTwo >= 11 && LastTwo <= 14) return Word.Many;
    if (Last == 1) return Word.One;
    if (Last >= 2 && Last <= 4) return Word.Few;
    return Word.Many;
}

std::string CountText(int64_t Count, const TPlural &Word) {
    return std::to_string(Count) + " " + std::string(PluralForm(Count, Word));
}

}  // namespace velkaran
