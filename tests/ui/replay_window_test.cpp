// The replay viewer opened on saved record files from the main window: a match document of many
// games, a single record, files it cannot use, and a record that does not replay.
#include "ui/main_unit.h"
#include "ui/replay_form.h"
#include "velkui/player_panel.h"
#include "window_test_support.h"

#include "records/random_games.h"
#include "records/record_journal.h"
#include "records/record_json.h"
#include "summary/replay_text.h"

#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace velkaran;

namespace {

struct TRecordedMessage {
    TMessageKind Kind;
    QString Text;
};

void WriteFile(const QString &Path, const std::string &Text) {
    QFile File(Path);
    QVERIFY(File.open(QIODevice::WriteOnly));
    File.write(Text.data(), static_cast<qint64>(Text.size()));
}

}  // namespace

class ReplayWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        Settings = std::make_unique<testing::TTemporarySettings>();
        Result = std::make_unique<TGameResultForm>();
        Form = std::make_unique<TVelkaranMainForm>(*Result, [](TBotTable &) {});
        Form->ShowMessage = [this](QWidget *, TMessageKind Kind, const QString &Text) {
            Messages.push_back({Kind, Text});
        };
        Messages.clear();
    }
    void cleanup() {
        Form.reset();
        Result.reset();
        Settings.reset();
    }

    // A document as velkaran-match --json writes it: every game can be chosen and stepped to its end.
    void AMatchDocumentOpensWithEveryGame() {
        std::vector<TGameRecord> Records;
        std::string Error;
        std::unique_ptr<TRecordJournal> Journal = TRecordJournal::Open(Folder.path().toStdString(), Error);
        QVERIFY2(Journal, Error.c_str());
        for (uint32_t Seed = 10; Seed < 14; ++Seed) {
            Records.push_back(testing::RandomGameRecord(Seed));
            QVERIFY(Journal->Append(Records.back()));
        }
        const QString Path = Folder.filePath("match.json");
        QVERIFY(Journal->WriteDocument(Path.toStdString(), {{"format", "velkaran-match"}},
                                       {{"complete", true}}, Error));
        Form->AskRecordFile = [&Path](QWidget *) { return Path; };

        QTest::mouseClick(Form->OpenRecordButton, Qt::LeftButton);

        QVERIFY(Messages.empty());
        TReplayForm *Replay = Form->ReplayForm;
        QVERIFY(Replay != nullptr && Replay->isVisible());
        QVERIFY(Replay->GameSpinBox->isEnabled());
        QCOMPARE(Replay->GameSpinBox->maximum(), 4);
        QCOMPARE(Replay->TitleLabel->text(), QString::fromStdString(ReplayTitle(Records[0])));
        Replay->GameSpinBox->setValue(3);
        QCOMPARE(Replay->TitleLabel->text(), QString::fromStdString(ReplayTitle(Records[2])));
        QCOMPARE(Replay->CurrentStep(), 0);
        QTest::keyClick(Replay, Qt::Key_End);
        for (int Seat = 0; Seat < 2; ++Seat)
            QCOMPARE(testing::PanelValues(Replay->Panels[Seat]),
                     testing::StatusValues(Records[2].Final[static_cast<std::size_t>(Seat)]));
        QCOMPARE(Replay->OutcomeLabel->text(), QString::fromStdString(ReplayOutcomeText(Records[2])));
    }

    // A single record, as a file of its own; one that does not replay shows why and its recorded end.
    void ASingleRecordOpensAndOneThatDoesNotReplaySaysWhy() {
        TGameRecord Record = testing::RandomGameRecord(21);
        const QString Path = Folder.filePath("game.json");
        WriteFile(Path, RecordToJson(Record).dump());
        QVERIFY(Form->OpenRecordFile(Path));
        QVERIFY(!Form->ReplayForm->GameSpinBox->isEnabled());
        QCOMPARE(Form->ReplayForm->StepCount(), static_cast<int64_t>(Record.Moves.size()) + 1);

        Record.Moves[2] = Record.Moves[2] == 50 ? 49 : 50;  // a move the rules refuse
        WriteFile(Path, RecordToJson(Record).dump());
        QVERIFY(Form->OpenRecordFile(Path));
        const QString Why = Form->ReplayForm->HeadlineLabel->text();
        QVERIFY2(Why.startsWith(QStringLiteral("Игру нельзя воспроизвести: ход 3 (раунд 2, первый игрок)")),
                 qPrintable(Why));
        QVERIFY2(!Why.contains(QRegularExpression(QStringLiteral("[A-Za-z]"))),
                 qPrintable(Why));  // Russian only
        QVERIFY(!Form->ReplayForm->StepForwardButton->isEnabled());
        QCOMPARE(testing::PanelValues(Form->ReplayForm->Panels[1]), testing::StatusValues(Record.Final[1]));
    }

    // A document opened is offered first in the recent files' menu and opens from there; one
    // that is gone since is taken off the list with a message.
    void RecentFilesReopenAndForgetTheMissing() {
        const QString Path = Folder.filePath("recent.json");
        WriteFile(Path, RecordToJson(testing::RandomGameRecord(5)).dump());
        Form->AskRecordFile = [&Path](QWidget *) { return Path; };
        QTest::mouseClick(Form->OpenRecordButton, Qt::LeftButton);
        Form->ReplayForm->close();

        QMenu *Menu = Form->RecentFilesButton->menu();
        emit Menu->aboutToShow();
        QVERIFY(!Menu->actions().isEmpty());
        QCOMPARE(Menu->actions().front()->toolTip(), Path);
        Menu->actions().front()->trigger();
        QVERIFY(Form->ReplayForm->isVisible());
        QVERIFY(Messages.empty());

        QVERIFY(QFile::remove(Path));
        emit Menu->aboutToShow();
        Menu->actions().front()->trigger();
        QCOMPARE(Messages.size(), size_t(1));
        QVERIFY2(Messages[0].Text.contains(Path), qPrintable(Messages[0].Text));
        emit Menu->aboutToShow();
        QVERIFY(Menu->actions().front()->toolTip() != Path);
    }

    void AFileWithoutUsableRecordsIsRefusedWithTheReason_data() {
        QTest::addColumn<QString>("Text");
        QTest::addColumn<QString>("Reason");
        QTest::newRow("not JSON") << "{ games: [" << QStringLiteral("файл не является документом JSON");
        QTest::newRow("no games") << R"({"format": "velkaran-match", "games": []})"
                                  << QStringLiteral("в файле нет записей игр");
        QTest::newRow("damaged record")
            << R"({"games": [{"rounds": -1}]})" << QStringLiteral("запись игры 1 повреждена");
    }
    void AFileWithoutUsableRecordsIsRefusedWithTheReason() {
        QFETCH(QString, Text);
        QFETCH(QString, Reason);
        const QString Path = Folder.filePath("bad.json");
        WriteFile(Path, Text.toStdString());
        QVERIFY(!Form->OpenRecordFile(Path));
        QCOMPARE(Messages.size(), size_t(1));
        QCOMPARE(Messages[0].Kind, TMessageKind::Error);
        QVERIFY2(
            Messages[0].Text.startsWith(QStringLiteral("Запись игры «%1» не открыта: %2").arg(Path, Reason)),
            qPrintable(Messages[0].Text));
        QVERIFY(Form->ReplayForm == nullptr);
    }

private:
    std::unique_ptr<testing::TTemporarySettings> Settings;
    QTemporaryDir Folder;
    std::unique_ptr<TGameResultForm> Result;
    std::unique_ptr<TVelkaranMainForm> Form;
    std::vector<TRecordedMessage> Messages;
};

QTEST_MAIN(ReplayWindowTest)
#include "replay_window_test.moc"
