// What the library remembers between the host's calls, and what each of the six calls does.
#pragma once

#include <velkaran/bot.h>

#include <QPointer>

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace velkaran {

class GameWindow;

// The state behind the six exported functions. One exists per process; every call comes from the
// host's GUI thread. Per game: the names, which seats are human, the sets chosen, who resigned.
// A seat that resigned answers no card to its next move, which loses it the game; until that move
// comes (its player may have had nothing to pay for), the other seat passes without being asked. For the
// whole run: the set each seat chose last, offered again in the next game.
class GameSession {
public:
    static GameSession &Instance();

    // Opens the game window (and, for a host without one, the Qt application).
    void ShowInterface();
    // The players' names (null for none); "_HUMAN_" marks a human seat.
    void SetNames(const char *FirstName, const char *SecondName);
    // The set dialog when CardSet is given (left all 0 when the human gives up), else the outcome.
    void StartGame(int32_t Seat, TCardList *CardSet, const TTurnInfo &Info);
    // The human's card; 0 after a resignation or when the application shuts down.
    int32_t GetTurn(int32_t Seat, const TGameView &View, const TCardList *Playable, const TTurnInfo &Info);
    // The final position with its outcome, until the user closes it.
    void ShowGame(const TGameView &View, const TTurnInfo &Info);
    // Why the loser lost, for the next final position only (empty for nothing).
    void SetOutcomeDetail(std::string Detail) { OutcomeDetail_ = std::move(Detail); }
    // Closes the window and forgets the game; creates nothing when no window was ever needed.
    void HideInterface();

private:
    GameSession() = default;
    // The game window, created (with the application) when needed; null when no window can be shown.
    GameWindow *Window();
    // A call for Seat: that seat is human; the opponent's name, when not given, is taken from Info.
    void Learn(int32_t Seat, const TTurnInfo &Info);
    bool BothHuman() const { return Human_[0] && Human_[1]; }
    std::string ShownName(int32_t Seat) const;
    // At one screen, covers the board and waits until the seat's player is ready. False: that
    // player closed the window and resigned.
    bool HandOver(GameWindow &Window, int32_t Seat, const QString &Purpose);
    // The name the resign question gives Seat: its shown name at one screen, none for a lone human.
    QString Resigner(int32_t Seat) const;
    void ShowOutcome(GameWindow &Window, const TTurnInfo &Info);

    QPointer<GameWindow> Window_;
    bool Busy_ = false;  // a call is waiting for the human; a nested call must not wait again
    // Per game.
    std::array<std::string, 2> Names_;
    std::string OutcomeDetail_;
    std::array<bool, 2> Human_{};
    std::array<std::vector<int32_t>, 2> Sets_;
    int32_t ResignedSeat_ = -1;  // the seat whose player gave up, -1 while nobody has
    bool OutcomeShown_ = false;
    // Per run.
    std::array<std::vector<int32_t>, 2> LastSets_;
};

}  // namespace velkaran
