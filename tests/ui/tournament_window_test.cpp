// Tournaments in the desktop program, with the sample bots in their workers: a document that
// velkaran-tournament wrote shows the standings of its report, a damaged or foreign file is refused
// with a message, and the tournament dialog plays, keeps and stops a tournament of its own.
#include "ui/tournament_view.h"

#include "summary/tournament_summary.h"
#include "ui/replay_form.h"
#include "ui/tournament_form.h"
#include "ui/tournament_run.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#include <sys/resource.h>
#include <unistd.h>

namespace velkaran::testing {

class TournamentWindowTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir Folder;
    QString Document;
    QStringList Report;  // velkaran-tournament's standard output, line by line

    std::vector<TTournamentBot> SampleBots() const {
        std::vector<TTournamentBot> Bots;
        for (const auto &[File, Name] : {std::pair{"greedy.so", "Greedy"}, std::pair{"passive.so", "Passive"},
                                         std::pair{"planner.so", "Planner"}})
            Bots.push_back({File, Name, ""});
        return Bots;
    }

    TRunnerSettings RunnerSettings() const {
        TRunnerSettings Settings;
        Settings.Folder = Folder.path().toStdString();
        Settings.Workers.Worker.Program = VELKARAN_WORKER_PROGRAM;
        return Settings;
    }

    // The processes this test started that still live (workers, whatever their state).
    static QStringList WorkersLeft() {
        QStringList Left;
        for (const QString &Entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
            QFile Stat(QStringLiteral("/proc/%1/stat").arg(Entry));
            if (!Stat.open(QIODevice::ReadOnly)) continue;
            const QString Text = QString::fromLatin1(Stat.readAll());
            const QStringList Fields =
                Text.mid(Text.lastIndexOf(QLatin1Char(')')) + 2).split(QLatin1Char(' '));
            if (Fields.size() > 1 && Fields[1].toLongLong() == getpid()) Left.append(Entry);
        }
        return Left;
    }

private slots:
    void initTestCase() {
        // The program leaves SIGPIPE ignored, so that a worker that died is an error of a write, not
        // the host's end; Qt Test's own handler would take it for a crash.
        std::signal(SIGPIPE, SIG_IGN);
        QVERIFY(Folder.isValid());
        for (const char *Bot : {"greedy.so", "passive.so", "planner.so"})
            QVERIFY(
                QFile::copy(QStringLiteral(VELKARAN_RUN_DIR "/") + QLatin1String(Bot), Folder.filePath(Bot)));
        QProcess Tournament;
        Tournament.setWorkingDirectory(Folder.path());
        Tournament.start(QStringLiteral(VELKARAN_TOURNAMENT_PATH),
                         {"--pairs", "3", "--concurrency", "2", "--turn-limit", "60", "--json", "t.json"});
        QVERIFY(Tournament.waitForFinished(120000));
        QCOMPARE(Tournament.exitCode(), 0);
        Report = QString::fromUtf8(Tournament.readAllStandardOutput()).split(QLatin1Char('\n'));
        Document = Folder.filePath("t.json");
    }

    // Each standings row of the window says what the report's row of the same place says.
    void StandingsAreTheReportsAndGamesOpenForReplay() {
        QStringList Messages;
        auto *Form = OpenTournamentDocument(
            nullptr, Document,
            [&Messages](QWidget *, TMessageKind, const QString &Text) { Messages.append(Text); });
        QVERIFY2(Form != nullptr, qPrintable(Messages.join(QLatin1Char('\n'))));
        const QString Separator = QLocale().decimalPoint();
        const QTableWidget *Standings = Form->View->StandingsTable;
        QCOMPARE(Standings->rowCount(), 3);
        const auto Header = std::find_if(Report.begin(), Report.end(), [](const QString &Line) {
            return Line.startsWith(QLatin1String("Rank"));
        });
        QVERIFY(Header != Report.end());
        for (int Row = 0; Row < 3; ++Row) {
            // Rank, bot, games, wins, draws, losses, points, score, rating: columns two blanks apart.
            const QStringList Cells =
                Header[Row + 1].trimmed().split(QRegularExpression(QStringLiteral(" {2,}")));
            QCOMPARE(Cells.size(), 9);
            for (int Column = 0; Column < 7; ++Column)
                QCOMPARE(Standings->item(Row, Column)->text(), Cells[Column]);
            QString Score = Cells[7];
            QCOMPARE(Standings->item(Row, 7)->text(), Score.chopped(1).replace(QLatin1Char('.'), Separator));
            QString Rating = Cells[8];
            Rating.replace(QLatin1String("inf"), QStringLiteral("∞"))
                .replace(QLatin1Char('-'), QStringLiteral("−"));
            QCOMPARE(Standings->item(Row, 8)->text(), Rating);
        }
        QVERIFY(Form->frameGeometry().width() <= 1024);
        QVERIFY(Form->minimumSizeHint().width() <= 1024);

        // One bot's games, every one of them played by it; the chosen one opens in the replay viewer.
        TTournamentView *View = Form->View;
        View->BotFilter->setCurrentIndex(2);
        const QString Bot = View->BotFilter->currentText().mid(5);  // "игры <bot>"
        const QAbstractItemModel *Games = View->GameList->model();
        QCOMPARE(Games->rowCount(), 2 * 2 * 3);  // two encounters of three pairs
        for (int Row = 0; Row < Games->rowCount(); ++Row)
            QVERIFY(Games->index(Row, 1).data().toString() == Bot ||
                    Games->index(Row, 2).data().toString() == Bot);
        View->GameList->sortByColumn(0, Qt::DescendingOrder);
        View->SelectGame(View->Shown()->Games.size() - 1);
        QVERIFY(View->SelectedGame() >= 0);
        View->OnOpenGame(View->SelectedGame());
        QVERIFY(Form->Replay() != nullptr && Form->Replay()->isVisible());
        Form->close();
    }

    // A cut file, and a document of another kind, each get a message; nothing opens.
    void DamagedOrForeignDocumentsAreRefused() {
        QFile Whole(Document);
        QVERIFY(Whole.open(QIODevice::ReadOnly));
        const QByteArray Text = Whole.readAll();
        QFile Cut(Folder.filePath("cut.json"));
        QVERIFY(Cut.open(QIODevice::WriteOnly));
        Cut.write(Text.left(Text.size() / 2));
        Cut.close();
        QFile Foreign(Folder.filePath("foreign.json"));
        QVERIFY(Foreign.open(QIODevice::WriteOnly));
        Foreign.write(R"({"format": "velkaran-match", "config": {}, "games": []})");
        Foreign.close();
        for (const QString &Path : {Folder.filePath("cut.json"), Folder.filePath("foreign.json")}) {
            QStringList Messages;
            QVERIFY(OpenTournamentDocument(nullptr, Path,
                                           [&Messages](QWidget *, TMessageKind, const QString &Text) {
                                               Messages.append(Text);
                                           }) == nullptr);
            QCOMPARE(Messages.size(), 1);
            QVERIFY2(Messages[0].startsWith(QStringLiteral("Турнир «%1» не открыт: ").arg(Path)),
                     qPrintable(Messages[0]));
        }
    }

    // A small tournament from the dialog plays to its end, shows its standings, is kept in the
    // results folder and opens in the results view.
    void ATournamentFromTheDialogRunsToItsEndAndIsKept() {
        TTournamentForm Form(SampleBots(), RunnerSettings(), Folder.filePath("results").toStdString());
        Form.PairsSpin->setValue(2);
        Form.ConcurrencySpin->setValue(2);
        Form.show();
        Form.StartButton->click();
        QVERIFY(Form.Running() != nullptr);
        QTRY_VERIFY_WITH_TIMEOUT(Form.Running()->Finished() && Form.Results() != nullptr, 120000);
        QCOMPARE(Form.StandingsTable->rowCount(), 3);
        QCOMPARE(Form.Results()->View->StandingsTable->rowCount(), 3);
        const std::string Kept = Form.Running()->KeptDocument();
        QVERIFY2(!Kept.empty(), Form.Running()->KeepFailure().c_str());
        std::string Error;
        const auto Reread = LoadTournamentSummary(Kept, ".", Error);
        QVERIFY2(Reread != nullptr, Error.c_str());
        QCOMPARE(Reread->Games.size(), std::size_t{12});
        QVERIFY(Reread->Complete);
        QVERIFY(Form.Results()->frameGeometry().width() <= 1024 && Form.frameGeometry().width() <= 1024);
        Form.Results()->close();
        QVERIFY(WorkersLeft().isEmpty());
    }

    // A stop at once ends a long tournament within moments, its games in flight abandoned and no
    // worker left; what was played is kept as a tournament stopped before its end. The window
    // thread's share of the CPU while the tournament runs is printed.
    void StopNowEndsTheTournamentAndItsWorkers() {
        TTournamentForm Form(SampleBots(), RunnerSettings(), Folder.filePath("results").toStdString());
        Form.PairsSpin->setValue(100000);
        Form.ConcurrencySpin->setValue(2);
        Form.show();
        rusage Before{};
        getrusage(RUSAGE_THREAD, &Before);
        QElapsedTimer Clock;
        Clock.start();
        Form.StartButton->click();
        QTRY_VERIFY_WITH_TIMEOUT(Form.Running()->GamesDone() >= 30, 120000);
        rusage After{};
        getrusage(RUSAGE_THREAD, &After);
        const auto Seconds = [](const timeval &Time) { return Time.tv_sec + Time.tv_usec / 1e6; };
        const double Cpu = Seconds(After.ru_utime) + Seconds(After.ru_stime) - Seconds(Before.ru_utime) -
                           Seconds(Before.ru_stime);
        qInfo("window thread: %.3f s of CPU in %.3f s of a live tournament (%.1f %%)", Cpu,
              Clock.elapsed() / 1000.0, 100.0 * Cpu / (Clock.elapsed() / 1000.0));
        QVERIFY(!WorkersLeft().isEmpty());
        Form.StopNowButton->click();
        QTRY_VERIFY_WITH_TIMEOUT(Form.Running()->Finished(), 10000);
        QVERIFY(WorkersLeft().isEmpty());
        QTRY_VERIFY(Form.Results() != nullptr);
        QVERIFY(!Form.Results()->View->Shown()->Complete);
        Form.Results()->close();
    }
};

}  // namespace velkaran::testing

QTEST_MAIN(velkaran::testing::TournamentWindowTest)
#include "tournament_window_test.moc"
