#include "settings_rules.h"

#include "players/bot_library.h"

namespace velkaran {

TSettingsEnabling SettingsEnabling(bool FirstHuman, bool SecondHuman, int ModeItem) {
    const bool BotsOnly = !FirstHuman && !SecondHuman;
    return {.FirstBotList = !FirstHuman,
            .SecondBotList = !SecondHuman,
            .ModeGroup = BotsOnly,
            .GameCount = BotsOnly && ModeItem == SeriesModeItem};
}

namespace {

bool SeatCanStart(bool Human, const TBot *Selected) { return Human || (Selected && Selected->Available); }

}  // namespace

bool CanStartMatch(bool FirstHuman, const TBot *FirstSelected, bool SecondHuman, const TBot *SecondSelected) {
    return SeatCanStart(FirstHuman, FirstSelected) && SeatCanStart(SecondHuman, SecondSelected);
}

}  // namespace velkaran
