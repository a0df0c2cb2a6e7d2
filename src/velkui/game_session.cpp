// What each of the six calls does.
#include "game_session.h"

#include "application.h"
#include "game_window.h"
#include "outcome_text.h"
#include "set_dialog.h"
#include "status_text.h"

#include "rules/player_names.h"

#include <cassert>
#include <cstring>

namespace velkaran {
namespace {

// Sets a flag for the lifetime of a call.
class BusyScope {
public:
    explicit BusyScope(bool &Flag) : Flag_(Flag) { Flag_ = true; }
    ~BusyScope() { Flag_ = false; }
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

private:
    bool &Flag_;
};

QString Q(const std::string &Text) { return QString::fromStdString(Text); }

std::string SeatNote(int32_t Seat) { return Seat == 0 ? "ходит первым" : "ходит вторым"; }

// The opponent's name from a turn information record, safe for a field without its zero byte.
std::string NameField(const TTurnInfo &Info) {
    return std::string(Info.OpponentName, strnlen(Info.OpponentName, sizeof Info.OpponentName));
}

std::vector<int32_t> Entries(const TCardList &List) {
    std::vector<int32_t> Cards;
    for (int32_t Card : List.Card)
        if (Card != 0) Cards.push_back(Card);
    return Cards;
}

// The move of a seat whose opponent resigned, until the resigning seat's own move ends the game:
// the free pass when it is playable, else a card that cannot hurt the mover's own base.
int32_t StandInCard(const TCardList *Playable) {
    if (Playable == nullptr) return 0;
    const std::vector<int32_t> Cards = Entries(*Playable);
    for (int32_t Card : Cards)
        if (Card == 50) return Card;
    for (int32_t Card : Cards)
        if (Card != 12 && Card != 30) return Card;  // these two strike their player as well
    return Cards.empty() ? 0 : Cards.front();
}

}  // namespace

GameSession &GameSession::Instance() {
    static GameSession Session;
    return Session;
}

GameWindow *GameSession::Window() {
    if (!EnsureApplication()) return nullptr;
    if (Window_.isNull()) {
        Window_ = new GameWindow;
        Window_->ShowCover(QStringLiteral("Партия начинается"),
                           QStringLiteral("Игроки выбирают наборы карт…"), QString());
    }
    if (!Window_->isVisible()) Window_->show();
    return Window_;
}

std::string GameSession::ShownName(int32_t Seat) const {
    const std::string &Name = Names_[static_cast<std::size_t>(Seat)];
    const bool Human = Human_[static_cast<std::size_t>(Seat)];
    return SeatName(Name.empty() && Human ? std::string(HumanName) : Name, Seat, BothHuman());
}

void GameSession::ShowInterface() {
    GameWindow *Shown = Window();
    if (Shown == nullptr) return;
    Shown->raise();
    Shown->activateWindow();
}

void GameSession::SetNames(const char *FirstName, const char *SecondName) {
    Names_ = {FirstName != nullptr ? FirstName : "", SecondName != nullptr ? SecondName : ""};
    for (std::size_t Seat = 0; Seat < 2; ++Seat) Human_[Seat] = Names_[Seat] == HumanName;
}

QString GameSession::Resigner(int32_t Seat) const { return BothHuman() ? Q(ShownName(Seat)) : QString(); }

bool GameSession::HandOver(GameWindow &Shown, int32_t Seat, const QString &Purpose) {
    const QString Name = Q(ShownName(Seat));
    const QString Other = Q(ShownName(1 - Seat));
    Shown.ShowCover(QStringLiteral("Очередь: %1").arg(Name),
                    QStringLiteral("%1 должен %2. %3, пожалуйста, не смотрите на экран. %1, нажмите кнопку, "
                                   "когда будете готовы.")
                        .arg(Name, Purpose, Other),
                    QStringLiteral("Я — %1, показать").arg(Name));
    return Shown.Await(true, Resigner(Seat)).Kind == TAnswerKind::Acknowledged;
}

void GameSession::Learn(int32_t Seat, const TTurnInfo &Info) {
    Human_[static_cast<std::size_t>(Seat)] = true;
    std::string &Other = Names_[static_cast<std::size_t>(1 - Seat)];
    if (Other.empty()) Other = NameField(Info);
    if (Other == HumanName) Human_[static_cast<std::size_t>(1 - Seat)] = true;
}

void GameSession::StartGame(int32_t Seat, TCardList *CardSet, const TTurnInfo &Info) {
    Learn(Seat, Info);
    if (Busy_) return;
    GameWindow *Shown = Window();
    if (Shown == nullptr) return;  // the set stays all 0: the host refuses it
    if (CardSet == nullptr) {
        ShowOutcome(*Shown, Info);
        return;
    }
    if (ResignedSeat_ >= 0) return;
    BusyScope Busy(Busy_);
    const auto Index = static_cast<std::size_t>(Seat);
    if (BothHuman() && !HandOver(*Shown, Seat, QStringLiteral("выбрать набор карт"))) {
        ResignedSeat_ = Seat;
        return;
    }
    Shown->ShowCover(QStringLiteral("Выбор набора карт"),
                     BothHuman() ? QStringLiteral("%1 выбирает набор…").arg(Q(ShownName(Seat)))
                                 : QStringLiteral("Выберите 15 карт в открывшемся окне."),
                     QString());
    SetDialog Dialog(Shown,
                     BothHuman() ? QStringLiteral("Выбор набора карт — %1").arg(Q(ShownName(Seat)))
                                 : QStringLiteral("Выбор набора карт"),
                     Q(ShownName(1 - Seat)), LastSets_[Index]);
    if (Dialog.exec() != QDialog::Accepted) {
        ResignedSeat_ = Seat;
        Shown->ShowCover(QStringLiteral("Партия окончена"), QStringLiteral("Набор не выбран."), QString());
        return;
    }
    const std::vector<int32_t> Cards = Dialog.ChosenCards();
    assert(Cards.size() == CardSetSize && "the dialog confirms exactly 15 cards");
    for (std::size_t Slot = 0; Slot < Cards.size() && Slot < CardSetSize; ++Slot)
        CardSet->Card[Slot] = Cards[Slot];
    Sets_[Index] = LastSets_[Index] = Cards;
    Shown->ShowCover(QStringLiteral("Набор выбран"), QStringLiteral("Партия сейчас начнётся…"), QString());
}

int32_t GameSession::GetTurn(int32_t Seat, const TGameView &View, const TCardList *Playable,
                             const TTurnInfo &Info) {
    Learn(Seat, Info);
    if (ResignedSeat_ == Seat) return 0;
    if (ResignedSeat_ >= 0) return StandInCard(Playable);
    if (Busy_) return 0;
    GameWindow *Shown = Window();
    if (Shown == nullptr) return 0;
    BusyScope Busy(Busy_);
    if (BothHuman() && !HandOver(*Shown, Seat, QStringLiteral("сделать ход"))) {
        ResignedSeat_ = Seat;
        Shown->ShowCover(QStringLiteral("%1 сдаётся").arg(Q(ShownName(Seat))),
                         QStringLiteral("Партия заканчивается."), QString());
        return 0;
    }
    const int32_t Other = 1 - Seat;
    const TPlayerStatus &Opponent = View[Other];
    TTurnScreen Screen;
    Screen.TurnLine = Q(TurnLine(Info.Turn, ShownName(Seat), BothHuman()));
    Screen.LastMove = Q(LastMoveText(Info.LastMove, Info.Turn, Seat, Playable != nullptr, Opponent.Shield));
    Screen.Own = {Q(ShownName(Seat)), Q(SeatNote(Seat)), View[Seat]};
    Screen.Opponent = {Q(ShownName(Other)), Q(SeatNote(Other)), Opponent};
    if (Playable != nullptr) Screen.Playable = Entries(*Playable);
    Screen.Hand = Sets_[static_cast<std::size_t>(Seat)].empty() ? Screen.Playable
                                                                : Sets_[static_cast<std::size_t>(Seat)];
    Shown->ShowTurn(Screen);

    const TAnswer Answer = Shown->Await(true, Resigner(Seat));
    if (Answer.Kind == TAnswerKind::Resigned || Answer.Kind == TAnswerKind::None) {
        ResignedSeat_ = Seat;
        Shown->ShowCover(
            BothHuman() ? QStringLiteral("%1 сдаётся").arg(Q(ShownName(Seat))) : QStringLiteral("Вы сдались"),
            QStringLiteral("Партия заканчивается."), QString());
        return 0;
    }
    if (BothHuman())
        Shown->ShowCover(QStringLiteral("Ход сделан"),
                         QStringLiteral("Передайте место: следующий ход — %1.").arg(Q(ShownName(Other))),
                         QString());
    else
        Shown->ShowMoveMade(Q(WaitingLine(Info.Turn)));
    return Answer.Kind == TAnswerKind::Card ? Answer.Card : 0;
}

void GameSession::ShowOutcome(GameWindow &Shown, const TTurnInfo &Info) {
    if (ResignedSeat_ >= 0 || OutcomeShown_) return;
    BusyScope Busy(Busy_);
    OutcomeShown_ = true;
    const TOutcome Outcome =
        BothHuman() ? SharedOutcome(Info, {ShownName(0), ShownName(1)}) : SeatOutcome(Info, false);
    Shown.setWindowTitle(QStringLiteral("Velkaran — итог партии"));
    Shown.ShowCover(Q(Outcome.Headline), Q(Outcome.Reason + "\n" + Outcome.Length),
                    QStringLiteral("Продолжить"));
    Shown.Await(false);
}

void GameSession::ShowGame(const TGameView &View, const TTurnInfo &Info) {
    if (Busy_) return;
    GameWindow *Shown = Window();
    if (Shown == nullptr) return;
    BusyScope Busy(Busy_);
    const TSeatNames Names = {ShownName(0), ShownName(1)};
    const TOutcome Outcome = FinalPositionOutcome(View, Info, Names);
    TFinalScreen Screen;
    Screen.Headline = Q(Outcome.Headline);
    Screen.Reason = Q(Outcome.Reason);
    Screen.Detail = Q(OutcomeDetail_);
    OutcomeDetail_.clear();
    Screen.Length = Q(Outcome.Length);
    Screen.LastMove = Q(FinalMoveText(Info.LastMove));
    for (int32_t Seat = 0; Seat < 2; ++Seat)
        Screen.Players[static_cast<std::size_t>(Seat)] = {Q(Names[static_cast<std::size_t>(Seat)]),
                                                          Q(SeatNote(Seat)), View[Seat]};
    Shown->setWindowTitle(QStringLiteral("Velkaran — итог партии"));
    Shown->ShowFinal(Screen);
    Shown->raise();
    Shown->Await(false);
}

void GameSession::HideInterface() {
    if (!Busy_) {
        delete Window_.data();  // no call of ours is on the stack: the host calls this between games
        Window_ = nullptr;
    } else if (!Window_.isNull()) {
        Window_->hide();
    }
    Names_ = {};
    Human_ = {};
    Sets_ = {};
    ResignedSeat_ = -1;
    OutcomeShown_ = false;
}

}  // namespace velkaran
