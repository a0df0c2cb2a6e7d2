// The crash guard: a bot that crashes or ends the process starts the program afresh with a message.
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <filesystem>

namespace {

// Copies the built test bot Bot of Folder into Target.
void CopyBot(const char *Folder, const QString &Bot, const QString &Target) {
    std::filesystem::copy_file(std::filesystem::path(Folder) / (Bot + ".so").toStdString(),
                               Target.toStdString());
}

}  // namespace

class CrashGuardTest : public QObject {
    Q_OBJECT

private slots:
    void ABotThatFailsStartsTheProgramAfresh_data() {
        QTest::addColumn<QString>("Bot");
        QTest::addColumn<QString>("Output");
        const QString Restarted = QStringLiteral(
            "restarted: Бот \"Misbehaving\" аварийно завершился в GetTurn (%1). "
            "Игра прервана, программа запущена заново.\n"
            "entry: Misbehaving\n");
        QTest::newRow("invalid memory access") << "cli_crashing_bot" << Restarted.arg("SIGSEGV");
        QTest::newRow("runaway recursion") << "cli_recursing_bot" << Restarted.arg("SIGSEGV");
        QTest::newRow("exit") << "cli_exiting_bot" << Restarted.arg("exit");
        QTest::newRow("exception: no restart") << "cli_throwing_bot"
                                               << "entry: Misbehaving\nexception: the test bot gives up\n";
        QTest::newRow("no fault") << "cli_chatty_bot"
                                  << "entry: Chatty\n";
    }
    void ABotThatFailsStartsTheProgramAfresh() {
        QFETCH(QString, Bot);
        QFETCH(QString, Output);
        QTemporaryDir Folder;
        CopyBot(VELKARAN_CLI_TEST_BOTS_DIR, Bot, Folder.filePath("bot.so"));
        const QString Text = RunProbe(Folder.path());
        if (Bot == "cli_chatty_bot") {
            QVERIFY2(Text.startsWith(Output) && Text.endsWith("played\n"), qPrintable(Text));
        } else {
            QCOMPARE(Text, Output);
        }
    }

    void ALibraryThatCrashesWhileLoadedIsListedAsUnavailable() {
        QTemporaryDir Folder;
        CopyBot(VELKARAN_CLI_TEST_BOTS_DIR, "cli_name_crashing_bot", Folder.filePath("a.so"));
        CopyBot(VELKARAN_TEST_BOTS_DIR, "good_bot", Folder.filePath("b.so"));
        CopyBot(VELKARAN_CLI_TEST_BOTS_DIR, "cli_name_crashing_bot", Folder.filePath("c.so"));
        QCOMPARE(
            RunProbe(Folder.path()),
            QStringLiteral("restarted: Библиотека \"./c.so\" аварийно завершилась при загрузке (SIGSEGV). "
                           "Она показана как недоступная.\n"
                           "entry: Недоступно\nentry: Good bot\nentry: Недоступно\n"));
    }

private:
    // Runs the probe in Folder and returns what it printed; it must end normally.
    static QString RunProbe(const QString &Folder) {
        QProcess Probe;
        Probe.setWorkingDirectory(Folder);
        Probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        Probe.start(QStringLiteral(VELKARAN_CRASH_GUARD_PROBE), {});
        if (!Probe.waitForFinished(120000)) return QStringLiteral("the probe did not finish");
        if (Probe.exitStatus() != QProcess::NormalExit) return QStringLiteral("the probe crashed");
        return QString::fromUtf8(Probe.readAllStandardOutput());
    }
};

QTEST_MAIN(CrashGuardTest)
#include "crash_guard_test.moc"
