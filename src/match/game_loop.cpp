// The game loop: one whole game between two seats, from the card sets to the result.
#include "game_loop.h"

#include "../rules/catalogue.h"
#include "../rules/player_names.h"
#include "../rules/turn_rules.h"

#include <string_view>

namespace velkaran {
namespace {

// A mover whose opponent's shield is above this does not learn the opponent's last card.
constexpr int32_t LastMoveShieldLimit = 20;

// What tells the two seats of a game apart.
struct TSeat {
    int32_t Index;                  // 0 for the first player, 1 for the second
    const TStartGameFn &StartGame;  // the seat's StartGame
    const TGetTurnFn &GetTurn;      // the seat's GetTurn
    std::string_view OpponentName;  // the name this seat sees in OpponentName
    int32_t LostBit;                // the result bit that says this seat lost
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
          Seats{TSeat{0, FirstStartGame, FirstGetTurn, this->Options.SecondName, FirstPlayerLost,
                      SecondPlayerLost},
                TSeat{1, SecondStartGame, SecondGetTurn, this->Options.FirstName, SecondPlayerLost,
                      FirstPlayerLost}} {}

    // Plays the game to its end and fills Result.
    void Play() {
        NewGameState(State);
        Result.Result = 0;
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
        Seat.StartGame(Seat.Index, &List, &Info);
        if (!IsValidCardSet(List)) return Seat.LostBit | ErrorOrPass;
        State[Seat.Index].Cards = List;
        return 0;
    }

    // Plays rounds until one ends the game; returns the code it ends with.
    int32_t PlayRounds() {
        const int32_t Limit = TurnLimit(Options.Options);
        for (;;) {
            ++Result.FinalInfo.Turn;  // at most 65536: the limit test below stops it
            if (const int32_t Code = Move(Seats[0])) return Code;
            if (const int32_t Code = Move(Seats[1])) return Code;
            Produce(State);
            if (Result.FinalInfo.Turn == Limit) return TurnLimitReached;
        }
    }

    // Asks Seat for its move, times the call and plays the card; returns the code that ends
    // the game, or 0. The clock brackets the GetTurn call alone.
    int32_t Move(const TSeat &Seat) {
        const int32_t Mover = Seat.Index;
        TPlayer &Player = State[Mover];
        MakeView(State, Result.FinalInfo.Options, Mover, View);
        PrepareInfo(Seat.OpponentName);
        if (GetPlayableCards(Player, List) > 0) {
            if (State[Opponent(Mover)].Shield > LastMoveShieldLimit) Info.LastMove = 0;
            const double Start = Clock();
            const int32_t Card = Seat.GetTurn(Mover, &View, &List, &Info);
            const double Duration = Clock() - Start;
            Player.Statistics.TotalTime += Duration;
            Result.FinalInfo.LastMove = Card;
            if (!PlayCard(State, Mover, Card)) return Seat.LostBit | ErrorOrPass;
            return JudgeAfterMove(Seat, Duration);
        }
        const double Start = Clock();
        Seat.GetTurn(Mover, &View, nullptr, &Info);
        const double Duration = Clock() - Start;
        Player.Statistics.TotalTime += Duration;
        Result.FinalInfo.LastMove = 0;
        return JudgeAfterMove(Seat, Duration);
    }

    // The tests after a move, in their order: a slow move between bots, then the first
    // player's base, then the second's. Returns the code that ends the game, or 0.
    int32_t JudgeAfterMove(const TSeat &Seat, double Duration) const {
        if (Duration > MoveTimeLimitMs && HasFlags(Options.Options, BotsOnly))
            return Seat.LostBit | TimeLimitExceeded;
        if (IsBaseDestroyed(State[0])) return FirstPlayerLost;
        if (IsBaseDestroyed(State[1])) return SecondPlayerLost;
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
            Ui.SetPlayerNames(NameOrNull(Options.FirstName), NameOrNull(Options.SecondName));
            OpenInterface();
            MakeView(State, 0, 0, View);
            Ui.ShowGame(&View, 0, &Result.FinalInfo);
        }
        InterfaceOpen = false;
        Ui.HideGameInterface();
    }

    // The closing StartGame call: the code as Seat sees it, with ReceiverWon when Seat won.
    void TellResult(const TSeat &Seat, int32_t Code) {
        PrepareInfo(Seat.OpponentName);
        Info.Result = HasFlags(Code, Seat.WonBit) ? Code | ReceiverWon : Code;
        Seat.StartGame(Seat.Index, nullptr, &Info);
    }

    const TGameOptions Options;  // private copy: the caller's record may change during the game
    TGameResult &Result;
    GameInterface &Ui;
    const TTimeSource &Clock;
    const TSeat Seats[2];
    bool InterfaceOpen = false;  // ShowGameInterface was called and HideGameInterface not yet
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
