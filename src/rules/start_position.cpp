// The standard start and the checks every other start position must pass.
#include "start_position.h"

#include "turn_rules.h"

namespace velkaran {

TStartPosition StandardStartPosition() {
    TGameState State;
    NewGameState(State);
    return {{State[0], State[1]}};
}

bool IsStandardStart(const TStartPosition &Start) { return Start == StandardStartPosition(); }

std::string StartPositionProblem(const TStartPosition &Start) {
    struct TField {
        const char *Name;
        int32_t TPlayerStatus::*Value;
        int32_t Least;
    };
    static constexpr TField Fields[] = {{"base", &TPlayerStatus::Base, 1},
                                        {"shield", &TPlayerStatus::Shield, 0},
                                        {"batteries", &TPlayerStatus::Batteries, 3},
                                        {"mines", &TPlayerStatus::Mines, 2},
                                        {"laboratories", &TPlayerStatus::Laboratories, 2},
                                        {"energy", &TPlayerStatus::Energy, 0},
                                        {"metal", &TPlayerStatus::Metal, 0},
                                        {"elements", &TPlayerStatus::Elements, 0}};
    for (std::size_t Side = 0; Side < 2; ++Side) {
        const TPlayerStatus &Status = Start.Sides[Side];
        const std::string Whose = Side == 0 ? "the first side's " : "the second side's ";
        for (const TField &Field : Fields) {
            const int32_t Value = Status.*Field.Value;
            if (Value < Field.Least)
                return Whose + Field.Name + " is " + std::to_string(Value) + ", below " +
                       std::to_string(Field.Least);
            if (Value > MaxStartValue)
                return Whose + Field.Name + " is " + std::to_string(Value) + ", above " +
                       std::to_string(MaxStartValue);
        }
        if (Status.Laboratories > LaboratoryLimit(Status.Base))
            return Whose + "laboratories are " + std::to_string(Status.Laboratories) +
                   ", more than a base of " + std::to_string(Status.Base) + " allows (" +
                   std::to_string(LaboratoryLimit(Status.Base)) + ")";
    }
    return "";
}

}  // namespace velkaran
