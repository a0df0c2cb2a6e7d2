// Ranges that merge as they meet.
#include "index_ranges.h"

#include <algorithm>
#include <iterator>

namespace velkaran {

bool TIndexRanges::Insert(int64_t Index) {
    auto After = Spans.upper_bound(Index);  // the first range that starts beyond Index
    if (After != Spans.begin()) {
        const auto Before = std::prev(After);
        if (Index < Before->second) return false;
        if (Index == Before->second) {  // extends the range before it, which may now meet the next
            Before->second = Index + 1;
            if (After != Spans.end() && After->first == Before->second) {
                Before->second = After->second;
                Spans.erase(After);
            }
            ++Size;
            return true;
        }
    }
    if (After != Spans.end() && After->first == Index + 1) {  // extends the next range downwards
        const int64_t End = After->second;
        Spans.erase(After);
        Spans.emplace(Index, End);
    } else {
        Spans.emplace(Index, Index + 1);
    }
    ++Size;
    return true;
}

bool TIndexRanges::Contains(int64_t Index) const {
    const auto After = Spans.upper_bound(Index);
    return After != Spans.begin() && Index < std::prev(After)->second;
}

int64_t TIndexRanges::NextAbsent(int64_t From) const {
    const auto After = Spans.upper_bound(From);
    if (After == Spans.begin()) return From;
    const auto Before = std::prev(After);
    return From < Before->second ? Before->second : From;
}

int64_t TIndexRanges::CountIn(int64_t First, int64_t End) const {
    int64_t Held = 0;
    auto Span = Spans.upper_bound(First);
    if (Span != Spans.begin()) --Span;
    for (; Span != Spans.end() && Span->first < End; ++Span)
        Held += std::max<int64_t>(0, std::min(End, Span->second) - std::max(First, Span->first));
    return Held;
}

}  // namespace velkaran
