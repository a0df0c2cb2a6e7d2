// A human against a bot from the main window: the human's seat plays through VelkUI's windows.
#include "ui/main_unit.h"
#include "velkui/window_driver.h"
#include "window_test_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <filesystem>

using namespace velkaran;

class HumanGameTest : public QObject {
    Q_OBJECT

private slots:
    // Player 1 leaves the set dialog: an empty set, a loss by error before the first round.
    void HumanWhoLeavesTheSetDialogLosesByError() {
        const testing::TTemporarySettings Settings;
        QTemporaryDir Folder;
        std::filesystem::copy_file(std::filesystem::path(VELKARAN_TEST_BOTS_DIR) / "good_bot.so",
                                   Folder.filePath("good.so").toStdString());
        TGameResultForm Result;
        TVelkaranMainForm Form(Result,
                               [&](TBotTable &Table) { LoadBots(Table, Folder.path().toStdString()); });
        Form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&Form));
        QVERIFY(Form.HumanCheckBox1->isChecked());
        QCOMPARE(Form.AvailSecondBotsComboBox->currentText(), QStringLiteral("Good bot"));

        bool SawSetDialog = false;
        std::vector<std::string> Shown;
        QElapsedTimer Elapsed;
        Elapsed.start();
        QTimer Human;
        connect(&Human, &QTimer::timeout, [&] {
            if (QWidget *Question = driver::TopLevel("giveUpQuestion")) {
                driver::Click(driver::Find<QWidget>(Question, "giveUpYes"));
            } else if (QWidget *Dialog = driver::TopLevel("VelkuiSetDialog"); Dialog && !SawSetDialog) {
                SawSetDialog = true;
                // Closing asks a question in a loop of its own: close after this tick has returned.
                QTimer::singleShot(0, Dialog, [Dialog] { Dialog->close(); });
            } else if (Result.isVisible()) {
                Shown = Result.ResultLines();
                driver::Click(Result.OKButton);
            } else if (Elapsed.elapsed() > 60000) {
                QCoreApplication::exit(1);  // whatever waits, give up instead of hanging
            }
        });
        Human.start(5);
        QTest::mouseClick(Form.StartGameButton, Qt::LeftButton);
        // The match thread plays; every call of the human's seat comes to this thread's windows.
        QTRY_VERIFY_WITH_TIMEOUT(!Form.MatchRunning() && Form.isVisible(), 60000);
        Human.stop();

        QVERIFY(SawSetDialog);
        QVERIFY(Shown.size() > 4);
        QCOMPARE(Shown[0], std::string("Первый игрок : _HUMAN_"));
        QCOMPARE(Shown[1], std::string("Второй игрок : Good bot"));
        QCOMPARE(Shown[2], std::string("Количество ходов : 0"));
        QCOMPARE(Shown[3], std::string("Выиграл второй игрок (Good bot) (ошибка или пас противника)"));
        QVERIFY(Form.isVisible());
    }
};

QTEST_MAIN(HumanGameTest)
#include "human_game_test.moc"
