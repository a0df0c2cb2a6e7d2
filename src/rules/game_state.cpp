// Equality of the records handed to players and of whole player records.
#include "game_state.h"

namespace velkaran {

bool operator==(const TPlayerStatus &A, const TPlayerStatus &B) {
    return A.Base == B.Base && A.Shield == B.Shield && A.Batteries == B.Batteries && A.Mines == B.Mines &&
           A.Laboratories == B.Laboratories && A.Energy == B.Energy && A.Metal == B.Metal &&
           A.Elements == B.Elements;
}

bool operator==(const TCardList &A, const TCardList &B) {
    for (int Slot = 0; Slot < CardSetSize; ++Slot)
        if (A[Slot] != B[Slot]) return false;
    return true;
}

bool operator==(const TGameView &A, const TGameView &B) { return A[0] == B[0] && A[1] == B[1]; }

bool operator==(const TPlayer &A, const TPlayer &B) {
    return static_cast<const TPlayerStatus &>(A) == static_cast<const TPlayerStatus &>(B) &&
           A.Cards == B.Cards && A.Statistics == B.Statistics;
}

}  // namespace velkaran
