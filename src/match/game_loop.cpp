// The game loop: one whole game between two seats, from the card sets to the result.
#include "game_loop.h"

#include "game_recording.h"
#include "records/refusal.h"

#include "rules/catalogue.h"
#include "rules/player_names.h"
#include "rules/turn_rules.h"

#include <algorithm>
#include <string_view>

namespace velkaran {
namespace {

// What tells the two seats of a game apart.
struct TSeat {
    int32_t Index;                  // 0 for the first player, 1 for the second
    const TStartGameFn &StartGame;  // the seat's StartGame
    const TGetTurnFn &GetTurn;      // the seat's GetTurn
    std::string_view OpponentName;  // the name this seat sees in OpponentName
    int32_t WonBit;                 // the result bit that says this seat won
};

// The rounds after which a game is a draw. The field holds 1..65535; a 0 counts as 65536, so
// that every game ends even when the caller forgot the limit.
int32_t TurnLimit(int32_t Options) {
    const int32_t Limit = Options & TurnLimitMask;
    return Limit == 0 ? TurnLimitMask + 1 : Limit;
}

// The name as the game interface takes it: null for an empty name.
const char *NameOrNull(const std::string &Name) { return Name.empty() ? nullptr : Name.c_str(); }

// One game in progress. The records handed to the players (View, List, Info) are scratch
// copies refilled before every call, so a player that writes through them changes nothing
// that the game relies on; the shared turn information lives in Result.FinalInfo.
class Game {
public:
    Game(const TStartGameFn &FirstStartGame, const TStartGameFn &SecondStartGame,
         const TGetTurnFn &FirstGetTurn, const TGetTurnFn &SecondGetTurn, const TGameOptions &Options,
         TGameResult &Result, GameInterface &Ui, const TTimeSource &Clock)
        : Options(Options),
          Result(Result),
          Ui(Ui),
          Clock(Clock),
          Seats{TSeat{0, FirstStartGame, FirstGetTurn, this->Options.SecondName, SecondPlayerLost},
                TSeat{1, SecondStartGame, SecondGetTurn, this->Options.FirstName, FirstPlayerLost}} {}

    // Plays the game to its end and fills Result.
    void Play() {
        NewGameState(State, Options.Start);
        Result.Start = Options.Start;
        Result.Result = 0;
        Result.Termination = TTermination::None;
        Result.Faults.clear();
        Result.Moves.clear();
        Result.MoveTimesMs.clear();
        Result.LongestMoveMs[0] = Result.LongestMoveMs[1] = 0;
        Result.RefusedSet = TCardList{};
        Result.FinalInfo = TTurnInfo{};
        Result.FinalInfo.Options = Options.Options;
        if (!HasFlags(Options.Options, BotsOnly)) {
            OpenInterface();
            Ui.SetPlayerNames(NameOrNull(Options.FirstName), NameOrNull(Options.SecondName));
        }
        int32_t Code = ChooseCards(Seats[0]);
        if (Code == 0) Code = ChooseCards(Seats[1]);
        if (Code == 0) Code = PlayRounds();
        Finish(Code);
    }

    // After an exception from a seat, the clock or the interface: keeps the state of the moment
    // in Result.FinalState and closes the game interface if this game opened it.
    void Abandon() noexcept {
        Result.FinalState = State;
        if (!InterfaceOpen) return;
        InterfaceOpen = false;
        try {
            Ui.HideGameInterface();
        } catch (...) {
            // The exception already on its way out is the one the caller hears of.
        }
    }

private:
    // Copies the shared turn information into the scratch record, with Name as the opponent.
    void PrepareInfo(std::string_view Name) {
        Info = Result.FinalInfo;
        SetOpponentName(Info.OpponentName, Name);
    }

    void OpenInterface() {
        InterfaceOpen = true;
        Ui.ShowGameInterface();
    }

    // Asks Seat for its card set and stores it; returns the code that ends the game, or 0.
    int32_t ChooseCards(const TSeat &Seat) {
        List = TCardList{};
        PrepareInfo(Seat.OpponentName);
        const TCallOutcome Outcome = Seat.StartGame(Seat.Index, &List, &Info);
        if (Outcome.Fault != TCallFault::None) return Fault(Seat, TSeatCall::OpeningStartGame, Outcome);
        if (!IsValidCardSet(List)) {
            Result.RefusedSet = List;
            return End(TTermination::InvalidSet, Seat, TSeatCall::OpeningStartGame);
        }
        State[Seat.Index].Cards = List;
        return 0;
    }

    // Ends the game with Kind, Seat losing unless it is a draw; returns the result code.
    int32_t End(TTermination Kind, const TSeat &Seat, TSeatCall Call) {
        Result.Termination = Kind;
        return ResultCode(Kind, Seat.Index, Call);
    }

    // Records the fault of Seat's Call and ends the game with Seat's loss; returns the code.
    int32_t Fault(const TSeat &Seat, TSeatCall Call, const TCallOutcome &Outcome) {
        RecordFault(Seat, Call, Outcome);
        return End(TerminationOfFault(Outcome.Fault), Seat, Call);
    }

    void RecordFault(const TSeat &Seat, TSeatCall Call, const TCallOutcome &Outcome) {
        Faulted[Seat.Index] = true;
        Result.Faults.push_back(
            TGameFault{Seat.Index, Call, Result.FinalInfo.Turn, Outcome.Fault, Outcome.Detail});
    }

    // Plays rounds until one ends the game; returns the code it ends with.
    int32_t PlayRounds() {
        const int32_t Limit = TurnLimit(Options.Options);
        for (;;) {
            ++Result.FinalInfo.Turn;  // at most 65536: the limit test below stops it
            if (const int32_t Code = Move(Seats[0])) return Code;
            if (const int32_t Code = Move(Seats[1])) return Code;
            Produce(State);
            if (Result.FinalInfo.Turn == Limit)
                return End(TTermination::TurnLimit, Seats[0], TSeatCall::GetTurn);
        }
    }

    // Asks Seat for its move, times the call and plays the card; returns the code that ends
    // the game, or 0. The host's clock brackets the GetTurn call alone (for a bot in a worker,
    // the whole exchange with it): that measure decides the time limit and is every figure of
    // thinking time.
    int32_t Move(const TSeat &Seat) {
        const int32_t Mover = Seat.Index;
        TPlayer &Player = State[Mover];
        MakeView(State, Result.FinalInfo.Options, Mover, View);
        PrepareInfo(Seat.OpponentName);
        const bool CanPlay = GetPlayableCards(Player, List) > 0;
        if (CanPlay && State[Opponent(Mover)].Shield > HiddenShieldLimit) Info.LastMove = 0;
        const double Start = Clock();
        const TTurnAnswer Answer = Seat.GetTurn(Mover, &View, CanPlay ? &List : nullptr, &Info);
        const double Duration = Clock() - Start;
        Player.Statistics.TotalTime += Duration;
        Result.LongestMoveMs[Mover] = std::max(Result.LongestMoveMs[Mover], Duration);
        if (Answer.Outcome.Fault != TCallFault::None) {
            Result.FinalInfo.LastMove = 0;
            return Fault(Seat, TSeatCall::GetTurn, Answer.Outcome);
        }
        Result.FinalInfo.LastMove = CanPlay ? Answer.Card : 0;
        Result.Moves.push_back(Result.FinalInfo.LastMove);
        Result.MoveTimesMs.push_back(Duration);
        if (CanPlay && !PlayCard(State, Mover, Answer.Card))
            return End(TTermination::RefusedCard, Seat, TSeatCall::GetTurn);
        return JudgeAfterMove(Seat, Duration);
    }

    // The tests after a move, in their order: a slow move between bots, then the first
    // player's base, then the second's. Returns the code that ends the game, or 0.
    int32_t JudgeAfterMove(const TSeat &Seat, double Duration) {
        if (Duration > Options.MoveLimitMs && HasFlags(Options.Options, BotsOnly))
            return End(TTermination::TooSlow, Seat, TSeatCall::GetTurn);
        if (IsBaseDestroyed(State[0])) return End(TTermination::BaseDestroyed, Seats[0], TSeatCall::GetTurn);
        if (IsBaseDestroyed(State[1])) return End(TTermination::BaseDestroyed, Seats[1], TSeatCall::GetTurn);
        return 0;
    }

    // Records the outcome, tells both seats, shows the final position of a single bot game
    // and closes the game interface.
    void Finish(int32_t Code) {
        Result.FinalState = State;
        Result.Result = Code;
        TellResult(Seats[0], Code);
        TellResult(Seats[1], Code);
        if (HasFlags(Options.Options, ShowFinalPosition)) {
            // The window is told the real outcome, so that it never has to guess it from the board.
            Result.FinalInfo.Result = Code;
            Ui.SetPlayerNames(NameOrNull(Options.FirstName), NameOrNull(Options.SecondName));
            OpenInterface();
            MakeView(State, 0, 0, View);
            // The window says why the loser lost, as the game's record would.
            TGameRecord Ended;
            FillRecord(Ended, Result, {}, {}, {});
            const std::string Detail = LossDetail(Ended, TLanguage::Russian);
            Ui.SetOutcomeDetail(Detail.empty() ? nullptr : Detail.c_str());
            Ui.ShowGame(&View, 0, &Result.FinalInfo);
        }
        InterfaceOpen = false;
        Ui.HideGameInterface();
    }

    // The closing StartGame call: the code as Seat sees it, with ReceiverWon when Seat won.
    // A seat whose call faulted in this game is not called again; a fault here changes nothing.
    void TellResult(const TSeat &Seat, int32_t Code) {
        if (Faulted[Seat.Index]) return;
        PrepareInfo(Seat.OpponentName);
        Info.Result = HasFlags(Code, Seat.WonBit) ? Code | ReceiverWon : Code;
        const TCallOutcome Outcome = Seat.StartGame(Seat.Index, nullptr, &Info);
        if (Outcome.Fault != TCallFault::None) RecordFault(Seat, TSeatCall::ClosingStartGame, Outcome);
    }

    const TGameOptions Options;  // private copy: the caller's record may change during the game
    TGameResult &Result;
    GameInterface &Ui;
    const TTimeSource &Clock;
    const TSeat Seats[2];
    bool InterfaceOpen = false;        // ShowGameInterface was called and HideGameInterface not yet
    bool Faulted[2] = {false, false};  // a call of the seat faulted: it gets no further call
    TGameState State{};
    TGameView View{};
    TCardList List{};
    TTurnInfo Info{};
};

}  // namespace

void PlayGame(const TStartGameFn &FirstStartGame, const TStartGameFn &SecondStartGame,
              const TGetTurnFn &FirstGetTurn, const TGetTurnFn &SecondGetTurn, const TGameOptions &Options,
              TGameResult &Result, GameInterface &Ui, const TTimeSource &Clock) {
    Game Current(FirstStartGame, SecondStartGame, FirstGetTurn, SecondGetTurn, Options, Result, Ui, Clock);
    try {
        Current.Play();
    } catch (...) {
        Current.Abandon();
        throw;
    }
}

}  // namespace velkaran
