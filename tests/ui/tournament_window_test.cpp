// The tournament results window over documents that velkaran-tournament wrote with the sample bots
// in their workers: its standings are the command-line report's, and a damaged or foreign file is
// refused with a message.
#include "ui/tournament_view.h"

#include "summary/tournament_summary.h"
#include "ui/replay_form.h"

#include <QComboBox>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

namespace velkaran::testing {

class TournamentWindowTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir Folder;
    QString Document;
    QStringList Report;  // velkaran-tournament's standard output, line by line

private slots:
    void initTestCase() {
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
};

}  // namespace velkaran::testing

QTEST_MAIN(velkaran::testing::TournamentWindowTest)
#include "tournament_window_test.moc"
