// The desktop program's windows under a real X server (an Xvfb of the test's own), driven with real
// input through xdotool: a series is started with clicks and typing, its progress window shows,
// Stop ends it and the result window says so; with a bot that hangs, the windows answer clicks
// while it hangs, and its game is lost by time. Skipped (exit status 77) without Xvfb or xdotool.
#include "ui/main_unit.h"
#include "ui/match_run.h"
#include "ui/progress_form.h"
#include "ui/results_view.h"
#include "window_test_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>

using namespace velkaran;

namespace {

constexpr int SkipStatus = 77;
constexpr int WaitMs = 60000;  // generous: the machine may be busy

// An Xvfb of this test's own: it picks a free display number itself (-displayfd) and is ended by
// its process id.
class TXServer {
public:
    ~TXServer() {
        if (Pid <= 0) return;
        kill(Pid, SIGTERM);
        waitpid(Pid, nullptr, 0);
    }

    // Starts the server; false with the reason when it cannot be had.
    bool Start(std::string &Why) {
        const QString Program = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (Program.isEmpty()) {
            Why = "Xvfb is not installed (scripts/install-deps installs it)";
            return false;
        }
        int Ready[2];
        if (pipe2(Ready, O_CLOEXEC) != 0) {
            Why = "no pipe for Xvfb's display number";
            return false;
        }
        const std::string Path = Program.toStdString();
        Pid = fork();
        if (Pid == 0) {
            dup2(Ready[1], 3);  // dup2 leaves close-on-exec off for the copy
            const int Null = open("/dev/null", O_WRONLY);
            dup2(Null, 1);
            dup2(Null, 2);
            execl(Path.c_str(), "Xvfb", "-displayfd", "3", "-screen", "0", "1366x768x24", "-nolisten", "tcp",
                  static_cast<char *>(nullptr));
            _exit(127);
        }
        close(Ready[1]);
        std::string Number;
        char Byte = 0;
        while (Pid > 0 && read(Ready[0], &Byte, 1) == 1 && Byte != '\n') Number += Byte;
        close(Ready[0]);
        if (Pid <= 0 || Number.empty()) {
            Why = "Xvfb did not start";
            return false;
        }
        Display = ":" + Number;
        return true;
    }

    std::string Display;

private:
    pid_t Pid = -1;
};

// Runs xdotool with Arguments on the test's display; false when it fails.
bool XDoTool(const QStringList &Arguments) {
    QProcess Tool;
    Tool.start(QStringLiteral("xdotool"), Arguments);
    if (!Tool.waitForFinished(20000)) {
        Tool.kill();
        Tool.waitForFinished();
        return false;
    }
    return Tool.exitStatus() == QProcess::NormalExit && Tool.exitCode() == 0;
}

// Moves the pointer onto Widget and clicks the left button there, as a user would: in the middle,
// or on the box of a check box or radio button (which spans more than its box and text).
bool Click(const QWidget *Widget) {
    const bool Box = qobject_cast<const QCheckBox *>(Widget) || qobject_cast<const QRadioButton *>(Widget);
    const QPoint Local = Box ? QPoint(8, Widget->height() / 2) : Widget->rect().center();
    const QPoint At = Widget->mapToGlobal(Local);
    return XDoTool({"mousemove", "--sync", QString::number(At.x()), QString::number(At.y()), "click", "1"});
}

// Clicks into Field, selects its text and types Text over it.
bool TypeInto(const QWidget *Field, const QString &Text) {
    return Click(Field) && XDoTool({"key", "ctrl+a"}) && XDoTool({"type", "--delay", "30", Text});
}

// The X server's visible windows whose title is Title.
bool XWindowShown(const QString &Title) { return XDoTool({"search", "--onlyvisible", "--name", Title}); }

struct TRecordedMessage {
    TMessageKind Kind;
    QString Text;
};

}  // namespace

class XServerWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // The program ignores SIGPIPE, so that a worker that died is an error of a write; Qt Test's
        // own handler would take it for a crash.
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

    // 100 + 100 games of a passive bot against itself at the highest turn limit (a fraction of a
    // second each): started, watched and stopped with real input.
    void ASeriesStartedAndStoppedWithRealInput() {
        std::filesystem::copy_file(std::filesystem::path(VELKARAN_RUN_DIR) / "passive.so", "passive.so");
        MakeForm({});
        QVERIFY(Click(Form->HumanCheckBox1));
        QTRY_VERIFY(!Form->HumanCheckBox1->isChecked());
        QVERIFY(Click(Form->BotGameOptionsRadioGroup->Item(1)));
        QTRY_COMPARE(Form->BotGameOptionsRadioGroup->ItemIndex(), 1);
        QVERIFY(TypeInto(Form->GameCountSpinEdit, QStringLiteral("100")));
        QVERIFY(TypeInto(Form->TurnLimitSpinEdit, QStringLiteral("50000")));
        QVERIFY(Click(Form->StartGameButton));
        QTRY_VERIFY_WITH_TIMEOUT(Form->MatchRunning(), WaitMs);
        QCOMPARE(Form->ReadMatchSettings().GameCount, 100);
        QCOMPARE(Form->ReadMatchSettings().TurnLimit, 50000);

        QTRY_VERIFY_WITH_TIMEOUT(Form->ProgressForm->isVisible(), WaitMs);
        QVERIFY(QTest::qWaitForWindowExposed(Form->ProgressForm, WaitMs));
        QVERIFY2(XWindowShown(QStringLiteral("Идёт серия игр")), "the X server shows no progress window");
        QTRY_VERIFY_WITH_TIMEOUT(Form->RunningMatch() && Form->RunningMatch()->Progress().GamesPlayed >= 2,
                                 WaitMs);
        QTRY_VERIFY(Form->ProgressForm->GamesLabel->text().startsWith(QStringLiteral("Сыграно ")));
        QVERIFY(Click(Form->ProgressForm->StopAfterGameButton));

        const std::vector<std::string> Lines = WaitForResult();
        QVERIFY2(Lines.size() > 10, "no result window");
        const QString Stopped = QString::fromStdString(Lines[3]);
        QVERIFY2(Stopped.startsWith(QStringLiteral("Серия остановлена после ")) &&
                     Stopped.endsWith(QStringLiteral(" из 200 игр")),
                 qPrintable(Stopped));
        const int Played = Stopped.section(u' ', 3, 3).toInt();
        QVERIFY2(Played >= 3 && Played < 200, qPrintable(Stopped));
        QCOMPARE(Headline, Stopped);
        QCOMPARE(GameRows, Played);
    }

    // A bot that hangs in every game, with a deadline of 2 s: while it hangs the window thread
    // never pauses and a click on Stop is answered at once; the game is lost by time.
    void AHangingBotKeepsTheWindowsResponsiveAndLosesByTime() {
        const std::filesystem::path Bots(VELKARAN_MISBEHAVING_BOTS_DIR);
        std::filesystem::copy_file(Bots / "looping_bot.so", "1_looping.so");
        std::filesystem::copy_file(std::filesystem::path(VELKARAN_RUN_DIR) / "passive.so", "2_passive.so");
        TWorkerPoolSettings Pool;
        Pool.CallTimeoutMs = 2000;
        MakeForm(Pool);
        QVERIFY(Click(Form->HumanCheckBox1));
        QTRY_VERIFY(!Form->HumanCheckBox1->isChecked());
        QVERIFY(Click(Form->BotGameOptionsRadioGroup->Item(1)));
        QVERIFY(TypeInto(Form->GameCountSpinEdit, QStringLiteral("3")));
        // Player 2 takes the second entry of its list: opened with a click, chosen with the keys.
        QVERIFY(Click(Form->AvailSecondBotsComboBox));
        QVERIFY(XDoTool({"key", "Down", "Return"}));
        QTRY_COMPARE(Form->AvailSecondBotsComboBox->currentIndex(), 1);
        QTRY_VERIFY(Form->StartGameButton->isEnabled());

        QElapsedTimer Pause;
        qint64 LongestPause = 0;
        QTimer Tick;
        connect(&Tick, &QTimer::timeout, [&] { LongestPause = std::max(LongestPause, Pause.restart()); });
        Pause.start();
        Tick.start(10);
        QVERIFY(Click(Form->StartGameButton));
        QTRY_VERIFY_WITH_TIMEOUT(Form->ProgressForm->isVisible(), WaitMs);
        QVERIFY(QTest::qWaitForWindowExposed(Form->ProgressForm, WaitMs));
        QTest::qWait(500);  // game 1 is hanging now
        QVERIFY(Click(Form->ProgressForm->StopAfterGameButton));
        // Answered while the first game still hangs.
        QTRY_VERIFY_WITH_TIMEOUT(!Form->ProgressForm->StopAfterGameButton->isEnabled(), 1000);
        QVERIFY(Form->RunningMatch() && Form->RunningMatch()->Progress().GamesPlayed == 0);

        const std::vector<std::string> Lines = WaitForResult();
        Tick.stop();
        QVERIFY2(Lines.size() > 10, "no result window");
        QVERIFY2(LongestPause < 1000, qPrintable(QString::number(LongestPause)));
        QCOMPARE(Lines[3], std::string("Серия остановлена после 1 из 6 игр"));
        QCOMPARE(Lines[5], std::string("Passive : количество побед 1"));
        QCOMPARE(Messages.size(), size_t(1));
        QVERIFY2(Messages[0].Text.contains(QStringLiteral("(1_looping.so)")), qPrintable(Messages[0].Text));
    }

private:
    // The program's main window over the current folder's bots in their workers, shown.
    void MakeForm(const TWorkerPoolSettings &Pool) {
        Result = std::make_unique<TGameResultForm>();
        Form = std::make_unique<TVelkaranMainForm>(*Result);
        Form->UseWorkerPoolSettings(Pool);
        Form->ShowMessage = [this](QWidget *, TMessageKind Kind, const QString &Text) {
            Messages.push_back({Kind, Text});
        };
        Form->show();
        QVERIFY(QTest::qWaitForWindowExposed(Form.get(), WaitMs));
    }

    // Waits for the result window, notes what it shows, closes it with a real click on OK and waits
    // for the main window; no lines when any of it failed.
    std::vector<std::string> WaitForResult() {
        std::vector<std::string> Lines;
        bool Closed = false;
        testing::AnswerNextModal([&](QWidget *Modal) {
            if (Modal != Result.get() || !QTest::qWaitForWindowExposed(Result.get(), WaitMs)) return;
            Lines = Result->ResultLines();
            Headline = Result->ResultsView->HeadlineLabel->text();
            GameRows = Result->ResultsView->GameList->model()->rowCount();
            Closed = Click(Result->OKButton);
        });
        if (!QTest::qWaitFor([&] { return !Form->MatchRunning() && Form->isVisible(); }, 2 * WaitMs))
            return {};
        return Closed ? Lines : std::vector<std::string>{};
    }

    std::unique_ptr<testing::TTemporarySettings> Settings;
    std::unique_ptr<QTemporaryDir> Folder;
    QString OldFolder;
    std::unique_ptr<TGameResultForm> Result;
    std::unique_ptr<TVelkaranMainForm> Form;
    std::vector<TRecordedMessage> Messages;
    QString Headline;
    int GameRows = -1;
};

int main(int argc, char **argv) {
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()) {
        std::printf("SKIP: xdotool is not installed (scripts/install-deps installs it)\n");
        return SkipStatus;
    }
    TXServer Server;
    std::string Why;
    if (!Server.Start(Why)) {
        std::printf("SKIP: %s\n", Why.c_str());
        return SkipStatus;
    }
    qputenv("DISPLAY", QByteArray::fromStdString(Server.Display));
    qputenv("QT_QPA_PLATFORM", "xcb");
    // The test's X server comes without a session bus; Qt's look for one would have libdbus try to
    // launch one for this display (and leak doing so).
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
    int Status = 0;
    {
        QApplication Application(argc, argv);
        XServerWindowTest Test;
        Status = QTest::qExec(&Test, argc, argv);
    }
    return Status;
}

#include "x_server_window_test.moc"
