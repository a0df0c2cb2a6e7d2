// A game interface for tests: records every call with copies of what it received, answers a
// human seat's StartGame and GetTurn through optional scripts, and can serve as a scripted
// player of either seat. Header-only.
#pragma once

#include "players/game_interface.h"
#include "players/player_seat.h"

#include <velkaran/bot.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velkaran::testing {

// The six functions of the game interface.
enum class TUiCallKind { ShowGameInterface, SetPlayerNames, StartGame, GetTurn, ShowGame, HideGameInterface };

// The function's own name, "ShowGameInterface" .. "HideGameInterface".
inline std::string_view KindName(TUiCallKind Kind) {
    switch (Kind) {
        case TUiCallKind::ShowGameInterface:
            return "ShowGameInterface";
        case TUiCallKind::SetPlayerNames:
            return "SetPlayerNames";
        case TUiCallKind::StartGame:
            return "StartGame";
        case TUiCallKind::GetTurn:
            return "GetTurn";
        case TUiCallKind::ShowGame:
            return "ShowGame";
        case TUiCallKind::HideGameInterface:
            return "HideGameInterface";
    }
    return "?";
}

// One recorded call. Pointer arguments are copied as they were on entry; a null pointer is
// recorded as an empty optional. Fields a kind of call does not have stay empty or 0.
struct TRecordedCall {
    TUiCallKind Kind{};
    std::optional<std::string> FirstName;   // SetPlayerNames
    std::optional<std::string> SecondName;  // SetPlayerNames
    int32_t PlayerIndex = 0;                // StartGame, GetTurn
    std::optional<TCardList> CardSet;       // StartGame: the list on entry (before the script fills it)
    std::optional<TCardList> Playable;      // GetTurn
    std::optional<TGameView> View;          // GetTurn, ShowGame
    std::optional<TTurnInfo> Info;          // StartGame, GetTurn; ShowGame's FinalInfo
    int32_t Reserved = 0;                   // ShowGame's second argument
    int32_t Answer = 0;                     // GetTurn: the card returned
    const void *InfoAddress = nullptr;      // where Info pointed, for identity checks
};

// Records the calls it receives in Calls, in order. When Journal is set, also appends
// "<Label>.<function>" to it, so several fakes (the interface and the players) can share
// one sequence. Scripts: OnStartGame fills a card set; OnGetTurn chooses a card (default 0);
// OnCall runs after every call has been recorded and may throw to simulate a fault.
class RecordingGameInterface final : public GameInterface {
public:
    using TStartScript = std::function<void(int32_t, TCardList *, const TTurnInfo *)>;
    using TTurnScript =
        std::function<int32_t(int32_t, const TGameView *, const TCardList *, const TTurnInfo *)>;

    explicit RecordingGameInterface(std::string Label = "ui", std::vector<std::string> *Journal = nullptr)
        : Label(std::move(Label)), Journal(Journal) {}

    std::string Label;
    std::vector<std::string> *Journal;
    std::vector<TRecordedCall> Calls;
    TStartScript OnStartGame;
    TTurnScript OnGetTurn;
    std::function<void(const TRecordedCall &)> OnCall;

    void ShowGameInterface() override { Record(Of(TUiCallKind::ShowGameInterface)); }

    void SetPlayerNames(const char *FirstName, const char *SecondName) override {
        TRecordedCall Call = Of(TUiCallKind::SetPlayerNames);
        if (FirstName) Call.FirstName = FirstName;
        if (SecondName) Call.SecondName = SecondName;
        Record(std::move(Call));
    }

    void StartGame(int32_t PlayerIndex, TCardList *CardSet, const TTurnInfo *Info) override {
        TRecordedCall Call = Of(TUiCallKind::StartGame);
        Call.PlayerIndex = PlayerIndex;
        if (CardSet) Call.CardSet = *CardSet;
        if (Info) Call.Info = *Info;
        Call.InfoAddress = Info;
        Enter(std::move(Call));
        if (OnStartGame) OnStartGame(PlayerIndex, CardSet, Info);
        Leave();
    }

    int32_t GetTurn(int32_t PlayerIndex, const TGameView *View, const TCardList *Playable,
                    const TTurnInfo *Info) override {
        TRecordedCall Call = Of(TUiCallKind::GetTurn);
        Call.PlayerIndex = PlayerIndex;
        if (View) Call.View = *View;
        if (Playable) Call.Playable = *Playable;
        if (Info) Call.Info = *Info;
        Call.InfoAddress = Info;
        const std::size_t At = Calls.size();
        Enter(std::move(Call));
        const int32_t Answer = OnGetTurn ? OnGetTurn(PlayerIndex, View, Playable, Info) : 0;
        Calls[At].Answer = Answer;
        Leave();
        return Answer;
    }

    void ShowGame(const TGameView *View, int32_t Reserved, const TTurnInfo *FinalInfo) override {
        TRecordedCall Call = Of(TUiCallKind::ShowGame);
        if (View) Call.View = *View;
        Call.Reserved = Reserved;
        if (FinalInfo) Call.Info = *FinalInfo;
        Call.InfoAddress = FinalInfo;
        Record(std::move(Call));
    }

    void HideGameInterface() override { Record(Of(TUiCallKind::HideGameInterface)); }

    // The kinds of the recorded calls, in order.
    std::vector<TUiCallKind> Kinds() const {
        std::vector<TUiCallKind> Result;
        for (const TRecordedCall &Call : Calls) Result.push_back(Call.Kind);
        return Result;
    }

    // The recorded calls of one kind, in order.
    std::vector<TRecordedCall> CallsOf(TUiCallKind Kind) const {
        std::vector<TRecordedCall> Result;
        for (const TRecordedCall &Call : Calls)
            if (Call.Kind == Kind) Result.push_back(Call);
        return Result;
    }

    // How many calls of one kind were recorded.
    std::size_t Count(TUiCallKind Kind) const {
        std::size_t Result = 0;
        for (const TRecordedCall &Call : Calls) Result += Call.Kind == Kind;
        return Result;
    }

    // This fake's StartGame as a seat function; the fake must outlive the seat.
    TStartGameFn StartGameSeat() {
        return Infallible(
            [this](int32_t Index, TCardList *Set, const TTurnInfo *Info) { StartGame(Index, Set, Info); });
    }

    // This fake's GetTurn as a seat function; the fake must outlive the seat.
    TGetTurnFn GetTurnSeat() {
        return [this](int32_t Index, const TGameView *View, const TCardList *Playable,
                      const TTurnInfo *Info) { return GetTurn(Index, View, Playable, Info); };
    }

private:
    static TRecordedCall Of(TUiCallKind Kind) {
        TRecordedCall Call;
        Call.Kind = Kind;
        return Call;
    }

    // Records and journals a call on entry, before any script runs.
    void Enter(TRecordedCall Call) {
        Calls.push_back(std::move(Call));
        if (Journal) Journal->push_back(Label + "." + std::string(KindName(Calls.back().Kind)));
    }

    // Runs OnCall on the finished record; it may throw.
    void Leave() {
        if (OnCall) OnCall(Calls.back());
    }

    void Record(TRecordedCall Call) {
        Enter(std::move(Call));
        Leave();
    }
};

}  // namespace velkaran::testing
