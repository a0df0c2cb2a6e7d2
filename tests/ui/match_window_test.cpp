// Matches from the main window with the bots in real worker processes: a crashing and a hanging
// bot lose their games and are named while the windows stay responsive, a series stops at once
// however long a bot hangs, and the workers serve the next match afterwards; a series is kept and
// reopens from the results list.
#include "ui/main_unit.h"
#include "ui/match_run.h"
#include "ui/progress_form.h"
#include "ui/results_list_form.h"
#include "ui/results_view.h"
#include "window_test_support.h"

#include "players/quiet_game_interface.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <filesystem>
#include <functional>

using namespace velkaran;

namespace {

// A game interface that shows nothing and notes the detail of the last final position.
class TDetailRecorder final : public GameInterface {
public:
    void ShowGameInterface() override {}
    void SetPlayerNames(const char *, const char *) override {}
    void StartGame(int32_t, TCardList *, const TTurnInfo *) override {}
    int32_t GetTurn(int32_t, const TGameView *, const TCardList *, const TTurnInfo *) override { return 0; }
    void ShowGame(const TGameView *, int32_t, const TTurnInfo *) override { Shown = Detail; }
    void SetOutcomeDetail(const char *Text) override { Detail = Text != nullptr ? Text : ""; }
    void HideGameInterface() override {}
    QString Detail, Shown;
};

struct TRecordedMessage {
    TMessageKind Kind;
    QString Text;
};

// The window thread's longest pause: a timer that should tick every 10 ms notes the longest gap.
class TResponsiveness {
public:
    TResponsiveness() {
        Clock.start();
        QObject::connect(&Tick, &QTimer::timeout, [this] { Longest = std::max(Longest, Clock.restart()); });
        Tick.start(10);
    }
    qint64 LongestPauseMs() const { return Longest; }

private:
    QTimer Tick;
    QElapsedTimer Clock;
    qint64 Longest = 0;
};

}  // namespace

class MatchWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // The program leaves SIGPIPE ignored, so that a worker that died is an error of a write, not
        // the host's end; Qt Test's own handler would take it for a crash.
        std::signal(SIGPIPE, SIG_IGN);
    }
    void init() {
        Settings = std::make_unique<testing::TTemporarySettings>();
        Folder = std::make_unique<QTemporaryDir>();
        OldFolder = QDir::currentPath();
        QVERIFY(QDir::setCurrent(Folder->path()));
        Messages.clear();
    }
    void cleanup() {
        Form.reset();
        Result.reset();
        QDir::setCurrent(OldFolder);
        Folder.reset();
        Settings.reset();
    }

    // Two games, each hanging in round 3 past a deadline of 1.5 s: lost by time, the bot named.
    void AHangingBotLosesEachGameByTimeWhileTheWindowsStayResponsive() {
        CopyBot(VELKARAN_MISBEHAVING_BOTS_DIR, "looping_bot", "1_looping.so");
        CopyBot(VELKARAN_TEST_BOTS_DIR, "good_bot", "2_good.so");
        MakeForm(1500.0);
        ChooseSeries(0, 1, "1");

        const TResponsiveness Window;
        QTest::mouseClick(Form->StartGameButton, Qt::LeftButton);
        QTRY_VERIFY(Form->ProgressForm->isVisible());
        const std::vector<std::string> Lines = WaitForResult();
        QVERIFY(Lines.size() > 10);

        QVERIFY2(Window.LongestPauseMs() < 1000, qPrintable(QString::number(Window.LongestPauseMs())));
        QCOMPARE(Lines[4], std::string("Good bot : количество побед 2"));
        QCOMPARE(Lines[6], std::string("Misbehaving : количество ошибок 0"));  // a loss by time is no error
        QCOMPARE(Messages.size(), size_t(1));
        QCOMPARE(Messages[0].Kind, TMessageKind::Error);
        QVERIFY2(Messages[0].Text.contains(QStringLiteral("«Misbehaving» (1_looping.so)")) &&
                     Messages[0].Text.contains(QStringLiteral("завис — 2")),
                 qPrintable(Messages[0].Text));
        QCOMPARE(Terminations, QStringList({QStringLiteral("бот завис"), QStringLiteral("2")}));
        QVERIFY(Form->isVisible());
    }

    // One game against a bot that crashes: lost by error, the bot named, and why said where the user looks.
    void ACrashingBotLosesItsSingleGameAndIsNamed() {
        CopyBot(VELKARAN_TEST_BOTS_DIR, "good_bot", "1_good.so");
        CopyBot(VELKARAN_MISBEHAVING_BOTS_DIR, "crashing_bot", "2_crashing.so");
        MakeForm(1500.0);
        TDetailRecorder Final;
        Form->MatchEnvironment.Ui = &Final;
        Form->HumanCheckBox1->click();
        ChooseEntries(0, 1);

        QTest::mouseClick(Form->StartGameButton, Qt::LeftButton);
        const std::vector<std::string> Lines = WaitForResult();
        QVERIFY(Lines.size() > 10);

        QCOMPARE(Lines[3], std::string("Выиграл первый игрок (Good bot) (ошибка или пас противника)"));
        // The final position says why, and so does the text tab, below the log's text.
        QCOMPARE(Final.Shown,
                 QStringLiteral("раунд 3, GetTurn: завершён сигналом SIGSEGV (нарушение доступа к памяти)"));
        QVERIFY2(Memo.endsWith(
                     QStringLiteral("Игра 1: Misbehaving — сбой бота: раунд 3, GetTurn: завершён сигналом "
                                    "SIGSEGV (нарушение доступа к памяти)")),
                 qPrintable(Memo));
        QCOMPARE(Messages.size(), size_t(1));
        QVERIFY2(Messages[0].Text.contains(QStringLiteral("«Misbehaving» (2_crashing.so)")) &&
                     Messages[0].Text.contains(QStringLiteral("сбой — 1")),
                 qPrintable(Messages[0].Text));
    }

    // A single game that takes more than a moment shows the progress window too, without the
    // series' button.
    void ALongSingleGameShowsItsProgress() {
        CopyBot(VELKARAN_TEST_BOTS_DIR, "good_bot", "1_good.so");
        CopyBot(VELKARAN_MISBEHAVING_BOTS_DIR, "looping_bot", "2_looping.so");
        MakeForm(2000.0);
        Form->HumanCheckBox1->click();
        ChooseEntries(0, 1);

        QTest::mouseClick(Form->StartGameButton, Qt::LeftButton);
        QVERIFY(!Form->ProgressForm->isVisible());
        QTRY_VERIFY(Form->ProgressForm->isVisible());
        QCOMPARE(Form->ProgressForm->windowTitle(), QStringLiteral("Идёт игра"));
        QVERIFY(Form->ProgressForm->StopAfterGameButton->isHidden());
        const std::vector<std::string> Lines = WaitForResult();
        QVERIFY(Lines.size() > 10);

        QCOMPARE(Lines[3],
                 std::string("Выиграл первый игрок (Good bot) (превышение лимита времени противника)"));
        QCOMPARE(Messages.size(), size_t(1));
    }

    // A bot that would hang for the full 22 s: "stop now" ends the series at once, with nothing
    // counted, and ends that match's workers alone: every bot stays available, and the next match
    // finds fresh workers.
    void StopNowEndsAHangingSeriesAtOnceAndTheWorkersServeTheNextMatch() {
        CopyBot(VELKARAN_MISBEHAVING_BOTS_DIR, "looping_bot", "1_looping.so");
        CopyBot(VELKARAN_TEST_BOTS_DIR, "good_bot", "2_good.so");
        CopyBot(VELKARAN_TEST_BOTS_DIR, "good_bot", "3_other.so");
        MakeForm(TWorkerPoolSettings{}.CallTimeoutMs);
        ChooseSeries(0, 1, "3");

        QTest::mouseClick(Form->StartGameButton, Qt::LeftButton);
        QTRY_VERIFY(Form->ProgressForm->isVisible());
        // The hang is told as it lasts: which bot, for how long on the host's clock.
        QLabel *Thinking = Form->ProgressForm->ThinkingLabel;
        QTRY_VERIFY_WITH_TIMEOUT(Thinking->isVisible(), 10000);
        QVERIFY2(Thinking->text().startsWith(QStringLiteral("Ходит Misbehaving: думает уже 0:0")),
                 qPrintable(Thinking->text()));
        QElapsedTimer Stopping;
        Stopping.start();
        QTest::mouseClick(Form->ProgressForm->StopNowButton, Qt::LeftButton);
        const std::vector<std::string> Lines = WaitForResult();
        QVERIFY(Lines.size() > 10);

        QVERIFY2(Stopping.elapsed() < 8000, qPrintable(QString::number(Stopping.elapsed())));
        QCOMPARE(Lines[3], std::string("Серия остановлена после 0 из 6 игр"));
        QCOMPARE(Headline, QStringLiteral("Серия остановлена после 0 из 6 игр"));
        QVERIFY(Messages.empty());  // the abandoned game is no fault of the bots
        QCOMPARE(Form->Bots.Texts, (std::vector<std::string>{"Misbehaving", "Good bot", "Good bot"}));

        ChooseSeries(1, 1, "1");  // the good bot against itself, through the workers again
        QTest::mouseClick(Form->StartGameButton, Qt::LeftButton);
        const std::vector<std::string> Next = WaitForResult();
        QVERIFY(Next.size() > 10);
        QCOMPARE(Next[2], std::string("Количество игр: 2"));
        QVERIFY(Messages.empty());
    }

    // A series is kept as it ends; the results list shows it, opens it with the same results and
    // text, and deletes it with its log.
    void ASeriesIsKeptAndReopensFromTheResultsList() {
        CopyBot(VELKARAN_TEST_BOTS_DIR, "good_bot", "1_good.so");
        CopyBot(VELKARAN_TEST_BOTS_DIR, "good_bot", "2_other.so");
        MakeForm(TWorkerPoolSettings{}.CallTimeoutMs);
        ChooseSeries(0, 1, "2");
        QTest::mouseClick(Form->StartGameButton, Qt::LeftButton);
        const std::vector<std::string> Played = WaitForResult();
        QVERIFY(Played.size() > 10);
        const QString PlayedHeadline = Headline;
        const QString Folder = Settings->ResultsFolder();
        QCOMPARE(QDir(Folder).entryList({QStringLiteral("*.json")}, QDir::Files).size(), 1);
        QCOMPARE(QDir(Folder).entryList({QStringLiteral("*.txt")}, QDir::Files).size(), 1);

        QTest::mouseClick(Form->ResultsButton, Qt::LeftButton);
        TResultsListForm *List = Form->ResultsListForm;
        QVERIFY(List != nullptr && List->isVisible());
        QCOMPARE(List->List->rowCount(), 1);
        QCOMPARE(List->List->item(0, 1)->text(), QStringLiteral("серия"));
        QCOMPARE(List->List->item(0, 2)->text(), QStringLiteral("Good bot — Good bot"));
        QCOMPARE(List->List->item(0, 3)->text(), QStringLiteral("4"));

        const std::vector<std::string> Reopened =
            WaitForModalResult([&] { QTest::mouseClick(List->OpenButton, Qt::LeftButton); });
        QCOMPARE(Reopened, Played);
        QCOMPARE(Headline, PlayedHeadline);
        QCOMPARE(GameRows, 4);

        // A copy of it compares with it cell by cell: two rows chosen with Ctrl and a click.
        const QString Kept =
            QDir(Folder).filePath(QDir(Folder).entryList({QStringLiteral("*.json")}).front());
        QVERIFY(QFile::copy(Kept, QDir(Folder).filePath(QStringLiteral("copy.json"))));
        List->Refresh();
        QCOMPARE(List->List->rowCount(), 2);
        const QPoint Second = List->List->visualRect(List->List->model()->index(1, 0)).center();
        QTest::mouseClick(List->List->viewport(), Qt::LeftButton, Qt::ControlModifier, Second);
        QTest::mouseClick(List->CompareButton, Qt::LeftButton);
        QVERIFY(List->ComparisonForm != nullptr && List->ComparisonForm->isVisible());
        QCOMPARE(List->ComparisonTable->columnCount(), 3);
        QCOMPARE(List->ComparisonTable->item(0, 1)->text(), QStringLiteral("4"));
        for (int Row = 0; Row < List->ComparisonTable->rowCount(); ++Row)
            QCOMPARE(List->ComparisonTable->item(Row, 2)->text(),
                     List->ComparisonTable->item(Row, 1)->text());
        List->ComparisonForm->close();

        List->Confirm = [](QWidget *, const QString &) { return true; };
        QTest::mouseClick(List->DeleteButton, Qt::LeftButton);
        QTest::mouseClick(List->DeleteButton, Qt::LeftButton);
        QCOMPARE(List->List->rowCount(), 0);
        QVERIFY(QDir(Folder).entryList(QDir::Files).isEmpty());
    }

    // A bot built into the folder while the window is open appears in the lists, each keeping the
    // bot it shows.
    void ABotAddedToTheFolderAppearsAndTheChoicesStay() {
        CopyBot(VELKARAN_TEST_BOTS_DIR, "good_bot", "2_good.so");
        MakeForm(TWorkerPoolSettings{}.CallTimeoutMs);
        QCOMPARE(Form->AvailSecondBotsComboBox->count(), 1);
        CopyBot(VELKARAN_MISBEHAVING_BOTS_DIR, "crashing_bot", "1_crashing.so");
        QTRY_COMPARE_WITH_TIMEOUT(Form->AvailSecondBotsComboBox->count(), 2, 10000);
        QCOMPARE(Form->AvailSecondBotsComboBox->currentIndex(), 1);  // still 2_good.so
        QCOMPARE(Form->AvailSecondBotsComboBox->currentText(), QStringLiteral("Good bot"));
        std::filesystem::remove("2_good.so");
        QTRY_COMPARE_WITH_TIMEOUT(Form->AvailSecondBotsComboBox->count(), 1, 10000);
    }

private:
    static void CopyBot(const char *From, const char *Bot, const char *Target) {
        std::filesystem::copy_file(std::filesystem::path(From) / (std::string(Bot) + ".so"), Target);
    }

    // The program's own main window: the bots of the current folder, each in its worker, with the
    // given call deadline; matches' messages recorded, games shown to no one.
    void MakeForm(double CallTimeoutMs) {
        Result = std::make_unique<TGameResultForm>();
        Form = std::make_unique<TVelkaranMainForm>(*Result);
        TWorkerPoolSettings Pool;
        Pool.CallTimeoutMs = CallTimeoutMs;
        Form->UseWorkerPoolSettings(Pool);
        Form->MatchEnvironment.Ui = &Quiet;
        Form->ShowMessage = [this](QWidget *, TMessageKind Kind, const QString &Text) {
            Messages.push_back({Kind, Text});
        };
        Form->show();
        QVERIFY(QTest::qWaitForWindowExposed(Form.get()));
    }

    void ChooseEntries(int First, int Second) {
        Form->AvailBotsComboBox->setCurrentIndex(First);
        emit Form->AvailBotsComboBox->activated(First);
        Form->AvailSecondBotsComboBox->setCurrentIndex(Second);
        emit Form->AvailSecondBotsComboBox->activated(Second);
    }

    // Two bots, a series of Count + Count games.
    void ChooseSeries(int First, int Second, const QString &Count) {
        if (Form->HumanCheckBox1->isChecked()) Form->HumanCheckBox1->click();
        Form->BotGameOptionsRadioGroup->Item(1)->click();
        ChooseEntries(First, Second);
        Form->GameCountSpinEdit->setValue(Count.toInt());
    }

    // Waits for the result window of the match under way (a minute at most), notes what it shows
    // and closes it, and waits for the main window to be back; no lines when something failed.
    std::vector<std::string> WaitForResult() {
        const std::vector<std::string> Lines = WaitForModalResult({});
        if (!QTest::qWaitFor([this] { return !Form->MatchRunning() && Form->isVisible(); }, 60000)) return {};
        return Lines;
    }

    // Does Act (if any) and notes what the result window shows when it comes up, then closes it.
    std::vector<std::string> WaitForModalResult(const std::function<void()> &Act) {
        std::vector<std::string> Lines;
        bool Answered = false;
        testing::AnswerNextModal([&](QWidget *Modal) {
            Answered = true;
            if (Modal != Result.get()) return;
            Lines = Result->ResultLines();
            Memo = Result->ResultMemo->toPlainText();
            GameRows = Result->ResultsView->GameList->model()->rowCount();
            Headline = Result->ResultsView->HeadlineLabel->text();
            Terminations.clear();
            QTableWidget *Table = Result->ResultsView->TerminationsTable;
            for (int Column = 0; Table->rowCount() > 0 && Column < 2; ++Column)
                Terminations.append(Table->item(0, Column)->text());
            QTest::mouseClick(Result->OKButton, Qt::LeftButton);
        });
        if (Act) Act();
        if (!QTest::qWaitFor([&Answered] { return Answered; }, 60000)) return {};
        return Lines;
    }

    std::unique_ptr<testing::TTemporarySettings> Settings;
    std::unique_ptr<QTemporaryDir> Folder;
    QString OldFolder;
    std::unique_ptr<TGameResultForm> Result;
    std::unique_ptr<TVelkaranMainForm> Form;
    QuietGameInterface Quiet;
    std::vector<TRecordedMessage> Messages;
    QString Headline;
    QString Memo;
    int GameRows = 0;
    QStringList Terminations;
};

QTEST_MAIN(MatchWindowTest)
#include "match_window_test.moc"
