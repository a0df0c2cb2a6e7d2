#include "settings_rules.h"

#include "bot_choice.h"

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

std::string SeatBlockedReason(const TSeatChoice &Seat, const char *Player) {
    if (SeatCanStart(Seat.Human, Seat.Selected)) return {};
    const std::string Prefix = std::string(Player) + ": ";
    if (Seat.Selected == nullptr) return Prefix + "в папке программы нет ни одного бота (*.so).";
    const std::string Library = LibraryFileName(Seat.Selected->Path);
    const std::string Bot = Library.empty() ? "выбранный бот" : "бот «" + Library + "»";
    if (Seat.Problem.empty()) return Prefix + Bot + " недоступен.";
    return Prefix + Bot + " недоступен: " + Seat.Problem + (Seat.Problem.back() == '.' ? "" : ".");
}

}  // namespace

bool CanStartMatch(bool FirstHuman, const TBot *FirstSelected, bool SecondHuman, const TBot *SecondSelected) {
    return SeatCanStart(FirstHuman, FirstSelected) && SeatCanStart(SecondHuman, SecondSelected);
}

std::string StartBlockedReason(const TSeatChoice &First, const TSeatChoice &Second) {
    const std::string FirstReason = SeatBlockedReason(First, "Игрок №1");
    const std::string SecondReason = SeatBlockedReason(Second, "Игрок №2");
    if (FirstReason.empty() || SecondReason.empty()) return FirstReason + SecondReason;
    return FirstReason + "\n" + SecondReason;
}

}  // namespace velkaran
