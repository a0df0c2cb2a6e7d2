// The rules that many cards share: attack, steal, destroy and convert.
#include "effects.h"

#include "player_names.h"
#include "wrapping.h"

#include <cassert>

namespace velkaran {
namespace {

int32_t &ResourceOf(TPlayer &Player, TResource Resource) {
    switch (Resource) {
        case TResource::Energy:
            return Player.Energy;
        case TResource::Metal:
            return Player.Metal;
        case TResource::Elements:
            return Player.Elements;
    }
    assert(false && "unknown resource");
    return Player.Energy;
}

}  // namespace

void Attack(TPlayer &Target, int32_t N) {
    if (Target.Shield >= N) {
        Target.Shield = WrapSub(Target.Shield, N);
    } else {
        Target.Base = WrapSub(Target.Base, WrapSub(N, Target.Shield));
        Target.Shield = 0;
    }
}

void Steal(TGameState &State, int32_t Player, TResource Resource, int32_t N) {
    assert((Player == 0 || Player == 1) && "player index out of range");
    int32_t &Taker = ResourceOf(State[Player], Resource);
    int32_t &Victim = ResourceOf(State[Opponent(Player)], Resource);
    if (Victim >= N) {
        Victim = WrapSub(Victim, N);
        Taker = WrapAdd(Taker, N);
    } else {
        Taker = WrapAdd(Taker, Victim);
        Victim = 0;
    }
}

void Destroy(TGameState &State, int32_t Player, TResource Resource, int32_t N) {
    assert((Player == 0 || Player == 1) && "player index out of range");
    int32_t &Victim = ResourceOf(State[Opponent(Player)], Resource);
    Victim = Victim >= N ? WrapSub(Victim, N) : 0;
}

void Convert(TPlayer &Player, TResource From, TResource To, int32_t N, int32_t Ratio) {
    assert(From != To && "a resource is converted into another one");
    int32_t &Source = ResourceOf(Player, From);
    int32_t &Target = ResourceOf(Player, To);
    if (Source >= N) {
        Source = WrapSub(Source, N);
        Target = WrapAdd(Target, WrapMul(N, Ratio));
    } else {
        Target = WrapAdd(Target, WrapMul(Source, Ratio));
        Source = 0;
    }
}

}  // namespace velkaran
