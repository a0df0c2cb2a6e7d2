// The clock that times the players' moves.
#include "game_loop.h"

#include <chrono>

namespace velkaran {

double GetTimeMs() {
    using Milliseconds = std::chrono::duration<double, std::milli>;
    return std::chrono::duration_cast<Milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace velkaran
