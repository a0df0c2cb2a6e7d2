// velkaran-check's games and what they show.
#include "bot_check.h"

#include "random_player.h"
#include "shown_text.h"

#include "match/game_recording.h"
#include "match/windows1251.h"
#include "players/bot_discovery.h"
#include "players/bot_manifest.h"
#include "players/quiet_game_interface.h"
#include "records/atomic_file.h"
#include "records/record_json.h"
#include "records/refusal.h"
#include "rules/catalogue.h"
#include "rules/player_names.h"
#include "rules/turn_rules.h"
#include "workers/line_protocol.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>

namespace velkaran {
namespace {

namespace fs = std::filesystem;

// Playing stops after this many faults of the bot (crashes, hangs, moves over the limit): each
// hang costs the whole call deadline.
constexpr int FaultsBeforeStopping = 3;
// A move slower than this share of the limit is worth a warning.
constexpr double SlowShareOfLimit = 0.25;
// A worker holding more than this is worth a warning: tournaments run several at once.
constexpr int64_t LargeMemoryKb = 1024 * 1024;

std::string FileName(const std::string &Path) { return fs::path(Path).filename().string(); }

std::string SeatText(int32_t Seat) { return Seat == 0 ? "as the first player" : "as the second player"; }

std::string Milliseconds(double Value) {
    char Text[32];
    if (Value < 1)
        std::snprintf(Text, sizeof Text, "%.1f µs", Value * 1000);
    else
        std::snprintf(Text, sizeof Text, Value < 10 ? "%.2f ms" : "%.0f ms", Value);
    return Text;
}

std::string SetText(const TCardList &Set) {
    std::string Text;
    for (int I = 0; I < CardSetSize; ++I) Text += (I == 0 ? "" : " ") + std::to_string(Set[I]);
    return Text;
}

std::string StatusText(const TPlayerStatus &Status) {
    return "base " + std::to_string(Status.Base) + ", shield " + std::to_string(Status.Shield) +
           ", batteries " + std::to_string(Status.Batteries) + ", mines " + std::to_string(Status.Mines) +
           ", laboratories " + std::to_string(Status.Laboratories) + ", En " + std::to_string(Status.Energy) +
           ", Me " + std::to_string(Status.Metal) + ", El " + std::to_string(Status.Elements);
}

// One GetTurn call the bot received, and its answer.
struct TAskedTurn {
    int32_t Seat = 0;
    TGameView View{};
    TCardList Playable{};
    bool HasPlayable = false;
    TTurnInfo Info{};
    int32_t Answer = 0;
};

// The bot's seat with everything it is asked and answers written down.
class TWatchedSeat {
public:
    explicit TWatchedSeat(TSeatCalls Inner) : Inner(std::move(Inner)) {}

    void StartGame() {
        Answers.clear();
        SetSent.reset();
        LastTurn.reset();
    }

    TSeatCalls Seat() {
        return {
            [this](int32_t Index, TCardList *CardSet, const TTurnInfo *Info) {
                const TCallOutcome Outcome = Inner.StartGame(Index, CardSet, Info);
                if (CardSet != nullptr && Outcome.Fault == TCallFault::None) SetSent = *CardSet;
                return Outcome;
            },
            [this](int32_t Index, const TGameView *View, const TCardList *Playable, const TTurnInfo *Info) {
                TAskedTurn Turn;
                Turn.Seat = Index;
                Turn.View = *View;
                Turn.HasPlayable = Playable != nullptr;
                if (Playable != nullptr) Turn.Playable = *Playable;
                Turn.Info = *Info;
                TTurnAnswer Answer = Inner.GetTurn(Index, View, Playable, Info);
                Turn.Answer = Answer.Card;
                if (Answer.Outcome.Fault == TCallFault::None) {
                    if (Playable != nullptr) ++Positions;
                    Answers.push_back(Answer.Card);
                }
                LastTurn = Turn;
                return Answer;
            },
        };
    }

    std::vector<int32_t> Answers;        // this game's answers, in order
    std::optional<TCardList> SetSent;    // the set as the bot left it in this game's opening call
    std::optional<TAskedTurn> LastTurn;  // this game's last GetTurn call
    int64_t Positions = 0;               // GetTurn calls with something playable, over all games

private:
    TSeatCalls Inner;
};

// One game of the check: who the bot meets, in which seat, with which seed for random play.
struct TPlannedGame {
    int Opponent = -1;  // index of a sample bot; -1 for the random player
    int32_t BotSeat = 0;
    uint64_t Seed = 0;
};

// What one game showed.
struct TCheckedGame {
    TPlannedGame Plan;
    std::string OpponentName;
    TGameResult Result;
    TGameRecord Record;
    std::vector<int32_t> Answers;
    std::optional<TCardList> SetSent;
    std::optional<TAskedTurn> LastTurn;
};

int32_t LoserSeat(int32_t Result) { return HasFlags(Result, FirstPlayerLost) ? 0 : 1; }

bool BotLost(const TCheckedGame &Game, TTermination Kind) {
    return Game.Result.Termination == Kind && Game.Result.Result != TurnLimitReached &&
           LoserSeat(Game.Result.Result) == Game.Plan.BotSeat;
}

// The peak resident memory of the process Pid in kB (VmHWM), or nothing.
std::optional<int64_t> PeakMemoryKb(pid_t Pid) {
    std::ifstream Status("/proc/" + std::to_string(Pid) + "/status");
    std::string Line;
    while (std::getline(Status, Line))
        if (Line.starts_with("VmHWM:")) return std::stoll(Line.substr(6));
    return std::nullopt;
}

class TBotCheck {
public:
    explicit TBotCheck(const TBotCheckSettings &Settings) : Settings(Settings) {}

    TCheckReport Run();

private:
    bool Load();
    void LoadOpponents();
    TCheckedGame Play(const TPlannedGame &Plan);
    void PlayAll();
    void CheckSets();
    void CheckAnswers();
    void CheckTimes();
    void CheckFaults();
    void CheckMemory();
    void CheckOutput();
    void CheckDeterminism();
    std::string SaveRecord(const TCheckedGame &Game, const std::string &What);
    std::string GameText(const TCheckedGame &Game) const;

    const TBotCheckSettings &Settings;
    TCheckReport Report;
    TBot Bot;
    int OutputFd = -1;
    std::unique_ptr<TBotWorkerPool> BotPool;
    std::unique_ptr<TBotWorkerPool> OpponentPool;
    std::unique_ptr<TWatchedSeat> Watched;
    std::vector<TBot> Opponents;
    std::vector<TSeatCalls> OpponentSeats;
    std::vector<TCheckedGame> Games;
    std::vector<TCheckedGame> Replays;
    int64_t RandomPositions = 0;
    bool StoppedEarly = false;
    bool RanOutOfTime = false;
    std::optional<int64_t> MemoryKb;
};

bool TBotCheck::Load() {
    const TBotLoad Load = BotPool->Probe(Settings.BotPath);
    Bot = Load.Bot;
    Report.Name = ShownText(Load.Bot.Name, MaxNameLength + 10);
    // A bot that is a program shows its handshake where a library shows its exports.
    const bool Program = IsManifestName(std::filesystem::path(Settings.BotPath).filename().string());
    switch (Load.Problem) {
        case TBotProblem::NotLoadable:
        case TBotProblem::NoGetName:
            Report.Add(Program ? "handshake" : "exports", TVerdict::Fail, ShownText(Load.Reason));
            Report.Add("name", TVerdict::Skipped, "the bot did not load");
            return false;
        case TBotProblem::NoStartGame:
        case TBotProblem::NoGetTurn:
            Report.Add("exports", TVerdict::Fail, ShownText(Load.Reason))
                .Evidence.push_back(
                    "a bot exports GetName, StartGame and GetTurn with C linkage (extern \"C\")");
            break;
        case TBotProblem::NameRefused:
            Report.Add(Program ? "handshake" : "exports", TVerdict::Pass,
                       Program ? "it greeted in the line protocol" : "GetName found");
            Report.Add("name", TVerdict::Fail, ShownText(Load.Reason))
                .Evidence.push_back("a name has at most " + std::to_string(MaxNameLength) +
                                    " characters of A-Z a-z 0-9, blank and ( ) + - . _");
            return false;
        case TBotProblem::None:
            Report.Add(
                Program ? "handshake" : "exports", TVerdict::Pass,
                Program ? "it greeted in the line protocol, version " + std::to_string(line_protocol::Version)
                        : "GetName, StartGame and GetTurn found");
            break;
    }
    const std::string &Name = Load.Bot.Name;
    if (Name.empty()) {
        Report.Add("name", TVerdict::Warn, "the name is empty: the lists and tables show an empty entry");
    } else {
        TCheckItem &Item = Report.Add("name", TVerdict::Pass,
                                      "\"" + Name + "\", " + std::to_string(Name.size()) + " of at most " +
                                          std::to_string(MaxNameLength) + " characters");
        const std::string Logged = ToWindows1251(Name);
        Item.Evidence.push_back("in the Windows-1251 result log: \"" + ShownText(Logged) + "\" (" +
                                std::to_string(Logged.size()) + " bytes)");
        if (Name == HumanName) {
            Item.Verdict = TVerdict::Warn;
            Item.Evidence.push_back("\"" + Name + "\" is what the game calls a human player");
        }
    }
    return Load.Problem == TBotProblem::None;
}

void TBotCheck::LoadOpponents() {
    if (Settings.OpponentsFolder.empty()) return;
    TBotTable Table;
    LoadBots(Table, Settings.OpponentsFolder,
             [this](const std::string &Path) { return OpponentPool->Probe(Path); });
    for (const TBot &Opponent : Table.Bots) {
        if (!Opponent.Available) continue;
        Opponents.push_back(Opponent);
        OpponentSeats.push_back(OpponentPool->Seat(Opponent));
    }
}

TCheckedGame TBotCheck::Play(const TPlannedGame &Plan) {
    TCheckedGame Game;
    Game.Plan = Plan;
    TRandomPlayer Random(Plan.Seed);
    const TSeatCalls RandomSeat = Random.Seat();
    const bool Sample = Plan.Opponent >= 0;
    const TSeatCalls &Opponent = Sample ? OpponentSeats[static_cast<std::size_t>(Plan.Opponent)] : RandomSeat;
    Game.OpponentName = Sample ? Opponents[static_cast<std::size_t>(Plan.Opponent)].Name : "Random";
    const TSeatLabel OpponentLabel{
        Sample ? FileName(Opponents[static_cast<std::size_t>(Plan.Opponent)].Path) : "", Game.OpponentName};
    const TSeatLabel BotLabel{FileName(Bot.Path), Bot.Name};

    TMatchSettings Match;
    Match.ModeItem = 1;
    Match.TurnLimit = Settings.TurnLimit;
    const int32_t Options = BuildOptionsWord(Match);
    Watched->StartGame();
    const TSeatCalls BotSeat = Watched->Seat();
    const TSeatCalls &First = Plan.BotSeat == 0 ? BotSeat : Opponent;
    const TSeatCalls &Second = Plan.BotSeat == 0 ? Opponent : BotSeat;
    TGameOptions GameOptions{Options, Plan.BotSeat == 0 ? Bot.Name : Game.OpponentName,
                             Plan.BotSeat == 0 ? Game.OpponentName : Bot.Name};
    GameOptions.MoveLimitMs = Settings.MoveLimitMs;
    QuietGameInterface Quiet;
    PlayGame(First.StartGame, Second.StartGame, First.GetTurn, Second.GetTurn, GameOptions, Game.Result,
             Quiet);
    FillRecord(Game.Record, Game.Result, TGamePlace{static_cast<int64_t>(Games.size()) + 1, 0, 0, 0},
               Plan.BotSeat == 0 ? BotLabel : OpponentLabel, Plan.BotSeat == 0 ? OpponentLabel : BotLabel);
    Game.Answers = Watched->Answers;
    Game.SetSent = Watched->SetSent;
    Game.LastTurn = Watched->LastTurn;
    if (const std::optional<int64_t> Memory = PeakMemoryKb(BotPool->WorkerPid(Bot.Path)))
        MemoryKb = std::max(MemoryKb.value_or(0), *Memory);
    return Game;
}

void TBotCheck::PlayAll() {
    int Faults = 0;
    const auto Faulted = [this](const TCheckedGame &Game) {
        return BotLost(Game, TTermination::TooSlow) || BotLost(Game, TTermination::Crashed) ||
               BotLost(Game, TTermination::Hung);
    };
    std::vector<TPlannedGame> SampleGames;
    for (int Opponent = 0; Opponent < static_cast<int>(Opponents.size()); ++Opponent)
        for (int32_t Seat = 0; Seat < 2; ++Seat) SampleGames.push_back({Opponent, Seat, 0});
    for (const TPlannedGame &Plan : SampleGames) {
        Games.push_back(Play(Plan));
        if (Faulted(Games.back()) && ++Faults >= FaultsBeforeStopping) {
            StoppedEarly = true;
            return;
        }
    }
    const auto Start = std::chrono::steady_clock::now();
    int Idle = 0;  // games in a row in which the bot got no position: more of them show nothing
    for (uint64_t Index = 0; RandomPositions < Settings.Positions && Idle < 2; ++Index) {
        if (std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count() >
            Settings.RandomPlaySeconds) {
            RanOutOfTime = true;
            return;
        }
        const int64_t Before = Watched->Positions;
        Games.push_back(Play({-1, static_cast<int32_t>(Index % 2), Settings.Seed + Index}));
        RandomPositions += Watched->Positions - Before;
        if (Faulted(Games.back()) && ++Faults >= FaultsBeforeStopping) {
            StoppedEarly = true;
            return;
        }
        Idle = Watched->Positions == Before ? Idle + 1 : 0;
    }
}

std::string TBotCheck::GameText(const TCheckedGame &Game) const {
    return SeatText(Game.Plan.BotSeat) + " against " + ShownText(Game.OpponentName) +
           (Game.Plan.Opponent < 0 ? " (seed " + std::to_string(Game.Plan.Seed) + ")" : "");
}

std::string TBotCheck::SaveRecord(const TCheckedGame &Game, const std::string &What) {
    const std::string Path =
        (fs::path(Settings.RecordFolder) / (FileName(Bot.Path) + "." + What + ".json")).string();
    const std::string Json =
        RecordToJson(Game.Record).dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
    std::string Error;
    if (!WriteFileAtomically(
            Path, [&Json](int Fd) { return WriteAll(Fd, Json.data(), Json.size()); }, Error))
        return "the game could not be saved: " + Error;
    return "the game is saved in " + Path + " (the desktop program's replay viewer opens it)";
}

void TBotCheck::CheckSets() {
    std::optional<TCardList> Sets[2];
    const TCheckedGame *Refused[2] = {nullptr, nullptr};
    for (const TCheckedGame &Game : Games) {
        const int32_t Seat = Game.Plan.BotSeat;
        if (Game.SetSent && !Sets[Seat]) Sets[Seat] = Game.SetSent;
        if (BotLost(Game, TTermination::InvalidSet) && Refused[Seat] == nullptr) Refused[Seat] = &Game;
    }
    TCheckItem &Item = Report.Add("card set", TVerdict::Pass, "a valid set in both seats");
    for (int32_t Seat = 0; Seat < 2; ++Seat) {
        const std::string Where = SeatText(Seat) + ": ";
        if (!Sets[Seat] && Refused[Seat] == nullptr) {
            Item.Evidence.push_back(Where + "the bot was never asked (it faulted before)");
            continue;
        }
        if (Refused[Seat] != nullptr) {
            Item.Verdict = TVerdict::Fail;
            Item.Summary = "an invalid set";
            const TCardList Set = Refused[Seat]->SetSent.value_or(TCardList{});
            Item.Evidence.push_back(Where + SetText(Set) + ": " + SetRefusal(Set, TLanguage::English));
            continue;
        }
        const TCardList &Set = *Sets[Seat];
        const bool Pass = std::find(std::begin(Set.Card), std::end(Set.Card), 50) != std::end(Set.Card);
        Item.Evidence.push_back(Where + SetText(Set) +
                                (Pass ? "" : " (without card 50, the pass: it must play while it can pay)"));
    }
}

void TBotCheck::CheckAnswers() {
    const TCheckedGame *First = nullptr;
    int Illegal = 0;
    for (const TCheckedGame &Game : Games)
        if (BotLost(Game, TTermination::RefusedCard)) {
            ++Illegal;
            if (First == nullptr) First = &Game;
        }
    const std::string Played = std::to_string(Watched->Positions) + " positions in " +
                               std::to_string(Games.size()) + " games (" + std::to_string(Opponents.size()) +
                               " sample bots in both seats, " + std::to_string(RandomPositions) +
                               " positions of seeded random play)";
    if (First == nullptr) {
        TCheckItem &Item =
            Report.Add("legal answers", TVerdict::Pass, "every answer was a card it could play");
        Item.Evidence.push_back(Played);
        if (Opponents.empty()) {
            Item.Verdict = TVerdict::Warn;
            Item.Evidence.push_back("no sample bots were found in \"" + Settings.OpponentsFolder + "\"");
        }
        if (RanOutOfTime)
            Item.Evidence.push_back(
                "random play stopped after " + std::to_string(std::lround(Settings.RandomPlaySeconds)) +
                " s, short of the " + std::to_string(Settings.Positions) + " positions asked for");
        return;
    }
    TCheckItem &Item = Report.Add("legal answers", TVerdict::Fail,
                                  std::to_string(Illegal) + (Illegal == 1 ? " game" : " games") +
                                      " lost by an answer the rules refuse");
    Item.Evidence.push_back(Played);
    const TAskedTurn &Turn = *First->LastTurn;
    Item.Evidence.push_back("first in round " + std::to_string(Turn.Info.Turn) + ", " + GameText(*First) +
                            ": answered " + std::to_string(Turn.Answer) + ", refused: " +
                            CardRefusal(Turn.View[Turn.Seat],
                                        First->Record.Seats[static_cast<std::size_t>(Turn.Seat)].Set,
                                        Turn.Answer, TLanguage::English));
    Item.Evidence.push_back("its status: " + StatusText(Turn.View[Turn.Seat]));
    std::string Playable;
    for (int I = 0; I < CardSetSize && Turn.Playable[I] != 0; ++I)
        Playable += (I == 0 ? "" : " ") + std::to_string(Turn.Playable[I]);
    Item.Evidence.push_back("it could play: " + Playable);
    Item.Evidence.push_back(SaveRecord(*First, "illegal"));
}

void TBotCheck::CheckTimes() {
    std::vector<double> Times;
    const TCheckedGame *Slow = nullptr;
    for (const TCheckedGame &Game : Games) {
        const std::vector<double> &Moves = Game.Result.MoveTimesMs;
        for (std::size_t I = static_cast<std::size_t>(Game.Plan.BotSeat); I < Moves.size(); I += 2)
            Times.push_back(Moves[I]);
        if (BotLost(Game, TTermination::TooSlow) && Slow == nullptr) Slow = &Game;
    }
    if (Times.empty()) {
        Report.Add("thinking time", TVerdict::Skipped, "the bot made no move");
        return;
    }
    std::sort(Times.begin(), Times.end());
    double Sum = 0;
    for (const double Time : Times) Sum += Time;
    const double Mean = Sum / static_cast<double>(Times.size());
    const double P95 =
        Times[std::min(Times.size() - 1, static_cast<std::size_t>(0.95 * static_cast<double>(Times.size())))];
    const double Max = Times.back();
    const std::string Figures = "mean " + Milliseconds(Mean) + ", 95th percentile " + Milliseconds(P95) +
                                ", max " + Milliseconds(Max) + " over " + std::to_string(Times.size()) +
                                " moves";
    TCheckItem &Item = Report.Add("thinking time", TVerdict::Pass, Figures);
    const std::string Limit =
        "the limit is " + Milliseconds(Settings.MoveLimitMs) + " per move, timed by the host";
    if (Slow != nullptr) {
        Item.Verdict = TVerdict::Fail;
        Item.Evidence.push_back(Limit);
        Item.Evidence.push_back("a move took longer than the limit in round " +
                                std::to_string(Slow->Result.FinalInfo.Turn) + ", " + GameText(*Slow));
    } else if (Max > SlowShareOfLimit * Settings.MoveLimitMs) {
        Item.Verdict = TVerdict::Warn;
        Item.Evidence.push_back(Limit);
        Item.Evidence.push_back(
            "the longest move took more than a quarter of the limit: a busy machine may make it lose");
    }
}

void TBotCheck::CheckFaults() {
    const TCheckedGame *First = nullptr;
    const TGameFault *Fault = nullptr;
    int Count = 0;
    for (const TCheckedGame &Game : Games)
        for (const TGameFault &Each : Game.Record.Faults)
            if (Each.Seat == Game.Plan.BotSeat) {
                ++Count;
                if (First == nullptr) {
                    First = &Game;
                    Fault = &Each;
                }
            }
    if (First == nullptr) {
        Report.Add("crashes and hangs", TVerdict::Pass, "none in " + std::to_string(Games.size()) + " games");
        return;
    }
    TCheckItem &Item = Report.Add("crashes and hangs", TVerdict::Fail,
                                  std::to_string(Count) + (Count == 1 ? " call" : " calls") + " faulted");
    Item.Evidence.push_back(
        "first: " + std::string(SeatCallRow(Fault->Call).English) +
        (Fault->Call == TSeatCall::GetTurn ? " in round " + std::to_string(Fault->Round) : "") + ", " +
        GameText(*First) + ": it " + std::string(CallFaultRow(Fault->Fault).English) + " (" +
        ShownText(Fault->Detail) + ")");
    if (First->LastTurn && Fault->Call == TSeatCall::GetTurn)
        Item.Evidence.push_back("its status: " + StatusText(First->LastTurn->View[First->Plan.BotSeat]));
    Item.Evidence.push_back(SaveRecord(*First, "fault"));
    if (StoppedEarly)
        Item.Evidence.push_back("the check stopped playing after " + std::to_string(FaultsBeforeStopping) +
                                " faults");
}

void TBotCheck::CheckMemory() {
    if (!MemoryKb) {
        Report.Add("memory", TVerdict::Skipped, "the worker never outlived a game to be measured");
        return;
    }
    char Text[64];
    std::snprintf(Text, sizeof Text, "the worker's peak: %.1f MB", static_cast<double>(*MemoryKb) / 1024);
    TCheckItem &Item = Report.Add("memory", TVerdict::Pass, Text);
    if (*MemoryKb > LargeMemoryKb) {
        Item.Verdict = TVerdict::Warn;
        Item.Evidence.push_back("more than 1 GB: a tournament runs a worker per bot and per game at once");
    }
}

void TBotCheck::CheckOutput() {
    BotPool.reset();  // its relay writes what is left and ends
    std::string Output;
    if (lseek(OutputFd, 0, SEEK_SET) == 0) {
        char Buffer[65536];
        ssize_t Read;
        while ((Read = read(OutputFd, Buffer, sizeof Buffer)) > 0)
            Output.append(Buffer, static_cast<std::size_t>(Read));
    }
    close(OutputFd);
    OutputFd = -1;
    if (Output.empty()) {
        Report.Add("output", TVerdict::Pass, "the bot printed nothing");
        return;
    }
    const auto Lines = std::count(Output.begin(), Output.end(), '\n');
    TCheckItem &Item =
        Report.Add("output", TVerdict::Warn,
                   "the bot printed " + std::to_string(Lines) + (Lines == 1 ? " line" : " lines") +
                       " on stdout or stderr: a long run writes them all to the host's stderr");
    std::istringstream Stream(Output);
    std::string Line;
    const std::string Prefix = FileName(Bot.Path) + ": ";  // the relay's, in front of every line
    for (int Shown = 0; Shown < 3 && std::getline(Stream, Line); ++Shown)
        Item.Evidence.push_back(ShownText(Line.starts_with(Prefix) ? Line.substr(Prefix.size()) : Line, 120));
}

void TBotCheck::CheckDeterminism() {
    std::vector<const TCheckedGame *> Again;
    for (const TCheckedGame &Game : Games) {
        const bool Clean = Game.Record.Faults.empty() && !BotLost(Game, TTermination::TooSlow);
        if (!Clean) continue;
        const bool FirstOfItsKind = std::none_of(Again.begin(), Again.end(), [&](const TCheckedGame *Other) {
            return (Other->Plan.Opponent < 0) == (Game.Plan.Opponent < 0);
        });
        if (FirstOfItsKind) Again.push_back(&Game);
    }
    if (Again.empty()) {
        Report.Add("determinism", TVerdict::Skipped, "no game ended without a fault");
        return;
    }
    for (const TCheckedGame *Game : Again) {
        const TCheckedGame Replay = Play(Game->Plan);
        if (Replay.Answers == Game->Answers && Replay.SetSent == Game->SetSent) continue;
        std::size_t At = 0;
        while (At < Replay.Answers.size() && At < Game->Answers.size() &&
               Replay.Answers[At] == Game->Answers[At])
            ++At;
        TCheckItem &Item = Report.Add("determinism", TVerdict::Warn, "a game played again went differently");
        if (Replay.SetSent != Game->SetSent)
            Item.Evidence.push_back(GameText(*Game) + ": another set, " +
                                    SetText(Replay.SetSent.value_or(TCardList{})) + " after " +
                                    SetText(Game->SetSent.value_or(TCardList{})));
        else
            Item.Evidence.push_back(
                GameText(*Game) + ": answer " + std::to_string(At + 1) + " was " +
                (At < Game->Answers.size() ? std::to_string(Game->Answers[At]) : "none") + ", then " +
                (At < Replay.Answers.size() ? std::to_string(Replay.Answers[At]) : "none"));
        Item.Evidence.push_back("a bot that is not deterministic needs more games for the same certainty");
        return;
    }
    Report.Add("determinism", TVerdict::Pass, "the same answers when a game is played again");
}

TCheckReport TBotCheck::Run() {
    Report.File = ShownText(FileName(Settings.BotPath));
    char Template[] = "/tmp/velkaran-check-output-XXXXXX";
    OutputFd = mkstemp(Template);
    if (OutputFd >= 0) unlink(Template);
    // Each pool owns its relay alone, so that ending the pool ends the relay and its last lines.
    TWorkerPoolSettings BotWorkers = Settings.Workers;
    BotWorkers.CallTimeoutMs = CallDeadlineMs(Settings.MoveLimitMs);
    BotWorkers.Run = std::make_shared<TWorkerRun>("", OutputFd >= 0 ? OutputFd : 2);
    BotPool = std::make_unique<TBotWorkerPool>(std::move(BotWorkers));
    const int Discard = open("/dev/null", O_WRONLY | O_CLOEXEC);
    TWorkerPoolSettings OpponentWorkers = Settings.Workers;
    OpponentWorkers.CallTimeoutMs = CallDeadlineMs(Settings.MoveLimitMs);
    OpponentWorkers.Run = std::make_shared<TWorkerRun>("", Discard >= 0 ? Discard : 2);
    OpponentPool = std::make_unique<TBotWorkerPool>(std::move(OpponentWorkers));

    if (Load()) {
        Watched = std::make_unique<TWatchedSeat>(BotPool->Seat(Bot));
        LoadOpponents();
        PlayAll();
        CheckSets();
        CheckAnswers();
        CheckTimes();
        CheckFaults();
        CheckDeterminism();
        CheckMemory();
    } else {
        for (const char *Check :
             {"card set", "legal answers", "thinking time", "crashes and hangs", "determinism", "memory"})
            Report.Add(Check, TVerdict::Skipped, "the bot did not load");
    }
    OpponentPool.reset();
    if (Discard >= 0) close(Discard);
    if (OutputFd >= 0) CheckOutput();
    BotPool.reset();
    return Report;
}

}  // namespace

TCheckReport CheckBot(const TBotCheckSettings &Settings) { return TBotCheck(Settings).Run(); }

}  // namespace velkaran
