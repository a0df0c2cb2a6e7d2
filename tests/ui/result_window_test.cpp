// The result window: how it shows the text, and saving the log by a double click, the save
// button or Ctrl+S.
#include "ui/game_result_unit.h"
#include "ui/help_form.h"
#include "ui/match_run.h"
#include "ui/progress_form.h"
#include "ui/qt_translation.h"
#include "ui/replay_form.h"
#include "ui/results_list_form.h"
#include "ui/results_view.h"
#include "ui/series_charts_view.h"
#include "velkui/player_panel.h"
#include "window_test_support.h"

#include "players/quiet_game_interface.h"

#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontInfo>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace velkaran;

namespace {

const std::vector<std::string> SampleLines = {"Первый игрок : Good bot", "", "Ничья",
                                              "    12 | 33,33%|(1) Атака 1."};

// The sample lines as the log file holds them: Windows-1251, CR LF after every line.
const QByteArray SampleLog = QByteArray(
    "\xcf\xe5\xf0\xe2\xfb\xe9 \xe8\xe3\xf0\xee\xea : Good bot\r\n"
    "\r\n"
    "\xcd\xe8\xf7\xfc\xff\r\n"
    "    12 | 33,33%|(1) \xc0\xf2\xe0\xea\xe0 1.\r\n");

QByteArray FileBytes(const QString &Path) {
    QFile File(Path);
    return File.open(QIODevice::ReadOnly) ? File.readAll() : QByteArray();
}

struct TRecordedMessage {
    TMessageKind Kind;
    QString Text;
};

// Attacks with cards 1 to 14 and plays the first card it can pay for; holds 36 to 50 and passes.
void StrikerStart(int32_t, TCardList *Set, const TTurnInfo *) {
    for (int Entry = 0; Set != nullptr && Entry < CardSetSize; ++Entry) Set->Card[Entry] = Entry + 1;
}
int32_t StrikerTurn(int32_t, const TGameView *, const TCardList *Playable, const TTurnInfo *) {
    return Playable != nullptr ? Playable->Card[0] : 0;
}
void PasserStart(int32_t, TCardList *Set, const TTurnInfo *) {
    for (int Entry = 0; Set != nullptr && Entry < CardSetSize; ++Entry) Set->Card[Entry] = 36 + Entry;
}
int32_t PasserTurn(int32_t, const TGameView *, const TCardList *, const TTurnInfo *) { return 50; }

// A series of N + N games between the striker and the passer, played here and now.
std::shared_ptr<TMatchRun> PlayedSeries(int32_t N) {
    static QuietGameInterface Quiet;
    TMatchSettings Settings;
    Settings.First.Bot =
        TBot{true, "Striker of the northern front", StrikerStart, StrikerTurn, "./striker.so"};
    Settings.Second.Bot = TBot{true, "Passer", PasserStart, PasserTurn, "./passer.so"};
    Settings.ModeItem = 1;
    Settings.GameCount = N;
    TMatchEnvironment Environment;
    Environment.Ui = &Quiet;
    auto Run = std::make_shared<TMatchRun>(Settings, Environment);
    Run->Play();
    return Run;
}

// True when Table shows all its cells without scrolling.
bool ShowsEveryCell(const QTableWidget *Table) {
    if (Table->rowCount() == 0) return true;
    const int Bottom =
        Table->rowViewportPosition(Table->rowCount() - 1) + Table->rowHeight(Table->rowCount() - 1);
    const int Right = Table->columnViewportPosition(Table->columnCount() - 1) +
                      Table->columnWidth(Table->columnCount() - 1);
    return Bottom <= Table->viewport()->height() && Right <= Table->viewport()->width();
}

}  // namespace

class ResultWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        Settings = std::make_unique<testing::TTemporarySettings>();  // Qt's file dialog keeps its state
        Form = std::make_unique<TGameResultForm>();
        Asked.clear();
        Messages.clear();
        Form->LogSaveDialog = [this](QWidget *, const TLogFileChoice &Offered) {
            Asked.append(Offered.FileName);
            return TLogFileChoice{Answer, Encoding};
        };
        Encoding = TLogEncoding::Windows1251;
        Form->ShowMessage = [this](QWidget *, TMessageKind Kind, const QString &Text) {
            Messages.push_back({Kind, Text});
        };
        Form->SetResultLines(SampleLines);
        Form->show();
        QVERIFY(QTest::qWaitForWindowExposed(Form.get()));
    }
    void cleanup() {
        Form.reset();
        Settings.reset();
    }

    void ShowsTheTextReadOnlyInAMonospacedWrappingMemo() {
        QCOMPARE(Form->windowTitle(), QStringLiteral("Результат игры"));
        QCOMPARE(Form->ResultLines(), SampleLines);
        QVERIFY(Form->ResultMemo->isReadOnly());
        QVERIFY(QFontInfo(Form->ResultMemo->font()).fixedPitch());
        QCOMPARE(Form->ResultMemo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QCOMPARE(Form->ResultMemo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(Form->ResultMemo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(Form->OKButton->text(), QStringLiteral("OK"));
        QCOMPARE(Form->Label1->text(), QStringLiteral("Двойной клик для сохранения лога"));

        Form->SetResultLines({"new"});
        QCOMPARE(Form->ResultLines(), std::vector<std::string>{"new"});
    }

    void TheViewsAndButtonsFollowTheWindowSize() {
        Form->resize(700, 500);
        QCOMPARE(Form->Views->geometry(), QRect(0, 0, 700, 500 - 34));
        QVERIFY(Form->ResultMemo->isVisible());  // a single game's text is shown first
        QVERIFY(Form->OKButton->geometry().right() < 700);
        QVERIFY(Form->OKButton->geometry().bottom() < 500);
        QVERIFY(Form->OKButton->geometry().top() > Form->Views->geometry().bottom());
        // At its narrowest the bottom strip still holds the label and the buttons side by side.
        Form->resize(Form->minimumWidth(), 200);
        QVERIFY(Form->Label1->geometry().right() < Form->ReplayButton->geometry().left());
        QVERIFY(Form->ReplayButton->geometry().right() < Form->SaveButton->geometry().left());
        QVERIFY(Form->SaveButton->geometry().right() < Form->OKButton->geometry().left());
        QVERIFY(Form->OKButton->geometry().right() < Form->width());
    }

    void OkClosesTheModalWindow() {
        Form->hide();
        testing::AnswerNextModal([this](QWidget *Modal) {
            QCOMPARE(Modal, Form.get());
            QTest::mouseClick(Form->OKButton, Qt::LeftButton);
        });
        QCOMPARE(Form->exec(), int(QDialog::Accepted));
        QVERIFY(!Form->isVisible());
    }

    void DoubleClickSavesTheLog_data() {
        QTest::addColumn<QString>("Target");
        QTest::newRow("memo") << "memo";
        QTest::newRow("label") << "label";
        QTest::newRow("free area") << "free area";
    }
    void DoubleClickSavesTheLog() {
        QFETCH(QString, Target);
        QTemporaryDir Folder;
        Answer = Folder.filePath("result log.txt");
        DoubleClick(Target);

        QCOMPARE(Asked.size(), 1);
        QCOMPARE(FileBytes(Answer), SampleLog);
        QVERIFY(Messages.empty());
        QCOMPARE(Form->ResultLines(), SampleLines);
        QVERIFY(Form->isVisible());
    }

    void SaveButtonAndCtrlSSaveTheLogAndSayWhere_data() {
        QTest::addColumn<bool>("ByKey");
        QTest::addColumn<bool>("Utf8");
        QTest::newRow("button, Windows-1251") << false << false;
        QTest::newRow("Ctrl+S, UTF-8") << true << true;
    }
    void SaveButtonAndCtrlSSaveTheLogAndSayWhere() {
        QFETCH(bool, ByKey);
        QFETCH(bool, Utf8);
        QTemporaryDir Folder;
        Answer = Folder.filePath("log.txt");
        Encoding = Utf8 ? TLogEncoding::Utf8 : TLogEncoding::Windows1251;
        QVERIFY(Form->SaveStatusLabel->isHidden());
        if (ByKey)
            QTest::keySequence(Form.get(), QKeySequence::Save);
        else
            QTest::mouseClick(Form->SaveButton, Qt::LeftButton);

        // A first save offers a new dated name in the current folder.
        QCOMPARE(Asked.size(), 1);
        QVERIFY2(QFileInfo(Asked[0]).fileName().startsWith("velkaran-") && Asked[0].endsWith(".txt"),
                 qPrintable(Asked[0]));
        QCOMPARE(QFileInfo(Asked[0]).absolutePath(), QDir::currentPath());
        QByteArray Expected = SampleLog;
        if (Utf8) {
            Expected.clear();
            for (const std::string &Line : SampleLines) Expected += QByteArray::fromStdString(Line) + "\r\n";
        }
        QCOMPARE(FileBytes(Answer), Expected);
        QVERIFY(Form->SaveStatusLabel->isVisible());
        QVERIFY(Form->SaveStatusLabel->text().startsWith(QStringLiteral("Лог сохранён")));
        QVERIFY(Form->SaveStatusLabel->text().endsWith(Answer));
        QVERIFY(Form->Views->geometry().bottom() < Form->SaveStatusLabel->geometry().top());
        // The next match's text has not been saved.
        Form->SetResultLines({"x"});
        QVERIFY(Form->SaveStatusLabel->isHidden());
    }

    // The real dialog, in Russian: a file that exists is replaced only when the user agrees.
    void ExistingFileIsReplacedOnlyWhenConfirmed_data() {
        QTest::addColumn<bool>("Replace");
        QTest::newRow("replace") << true;
        QTest::newRow("keep") << false;
    }
    void ExistingFileIsReplacedOnlyWhenConfirmed() {
        QFETCH(bool, Replace);
        QVERIFY(InstallQtTranslations());
        QTemporaryDir Folder;
        const QString Existing = Folder.filePath("old.txt");
        {
            QFile File(Existing);
            QVERIFY(File.open(QIODevice::WriteOnly));
            File.write("old");
        }
        Form->LogSaveDialog = AskLogFileName;
        QString Question;
        bool DialogFound = false;
        testing::AnswerNextModal([&](QWidget *Modal) {
            auto *Dialog = qobject_cast<QFileDialog *>(Modal);
            DialogFound = Dialog != nullptr;
            if (!DialogFound) return;
            QCOMPARE(Dialog->nameFilters().size(), 2);
            Dialog->selectFile(Existing);
            testing::AnswerNextModal([&](QWidget *Box) {
                auto *Asking = qobject_cast<QMessageBox *>(Box);
                if (Asking == nullptr) return;
                Question = Asking->text();
                Asking->button(Replace ? QMessageBox::Yes : QMessageBox::No)->click();
            });
            auto *Buttons = Dialog->findChild<QDialogButtonBox *>();
            QVERIFY(Buttons != nullptr);
            Buttons->button(QDialogButtonBox::Save)->click();
        });
        QTest::mouseClick(Form->SaveButton, Qt::LeftButton);

        QVERIFY(DialogFound);
        QVERIFY2(Question.contains(QStringLiteral("существует")), qPrintable(Question));
        QCOMPARE(FileBytes(Existing), Replace ? SampleLog : QByteArray("old"));
        QCOMPARE(Form->SaveStatusLabel->isVisible(), Replace);
    }

    void SavingAgainOffersTheLastName() {
        QTemporaryDir Folder;
        Answer = Folder.filePath("log");
        DoubleClick("memo");
        Form->SetResultLines({"x"});
        DoubleClick("memo");

        QCOMPARE(Asked.size(), 2);
        QCOMPARE(Asked[1], Answer);
        QCOMPARE(FileBytes(Answer), QByteArray("x\r\n"));
    }

    void CancelledDialogWritesNothing() {
        Answer.clear();
        DoubleClick("memo");
        QCOMPARE(Asked.size(), 1);
        QVERIFY(Messages.empty());
        QCOMPARE(Form->ResultLines(), SampleLines);
    }

    void FileThatCannotBeCreatedIsReported() {
        QTemporaryDir Folder;
        Answer = Folder.filePath("missing folder/log.txt");
        DoubleClick("label");

        QCOMPARE(Messages.size(), size_t(1));
        QCOMPARE(Messages[0].Kind, TMessageKind::Error);
        const QString Expected = QStringLiteral("Cannot create file \"%1\". ").arg(Answer);
        QVERIFY2(Messages[0].Text.startsWith(Expected), qPrintable(Messages[0].Text));
        QVERIFY(Messages[0].Text.size() > Expected.size());  // the system's reason follows
        QCOMPARE(Form->ResultLines(), SampleLines);
        QVERIFY(Form->isVisible());
        QCOMPARE(Form->SaveStatusLabel->text(), QStringLiteral("Лог не сохранён."));
    }

    void ASeriesOpensOnItsResultsWhoseSummaryFitsTheDefaultSize() {
        Form = std::make_unique<TGameResultForm>();  // at its default size
        const std::shared_ptr<TMatchRun> Run = PlayedSeries(5);
        Form->SetResults(Run->Lines(), Run->Results());
        Form->show();
        QVERIFY(QTest::qWaitForWindowExposed(Form.get()));

        QCOMPARE(Form->Views->currentWidget(), static_cast<QWidget *>(Form->ResultsView));
        QCOMPARE(Form->ResultLines(), Run->Lines());  // the text stays exactly as the runner wrote it
        TResultsView *View = Form->ResultsView;
        QCOMPARE(View->HeadlineLabel->text(), QStringLiteral("Серия: сыграно 10 из 10 игр"));
        QCOMPARE(View->StandingsTable->item(0, 0)->text(), QStringLiteral("Striker of the northern front"));
        QVERIFY(View->EloLabel->text().contains(QStringLiteral("детерминирована")));
        QCOMPARE(View->GameList->model()->rowCount(), 10);
        // The summary shows whole, without scrolling, long names and all, and the list of games still
        // has room.
        for (const QTableWidget *Table :
             {View->StandingsTable, View->ThinkingTimeTable, View->TerminationsTable}) {
            QVERIFY2(ShowsEveryCell(Table), qPrintable(Table->objectName()));
            QVERIFY(View->rect().contains(Table->geometry()));
        }
        QVERIFY(View->rect().contains(View->EloLabel->geometry()));
        QVERIFY(View->GameList->viewport()->height() >=
                6 * View->GameList->verticalHeader()->defaultSectionSize());

        // A series has its charts, drawn as the window is sized.
        QVERIFY(Form->Views->isTabVisible(Form->Views->indexOf(Form->ChartsView)));
        Form->ChartsView->resize(640, 420);
        QImage Image(Form->ChartsView->size(), QImage::Format_RGB32);
        Image.fill(Qt::white);
        Form->ChartsView->render(&Image);
        QCOMPARE(Image.size(), QSize(640, 420));
        int Inked = 0;
        for (int Y = 0; Y < Image.height(); ++Y)
            for (int X = 0; X < Image.width(); ++X) Inked += Image.pixel(X, Y) != qRgb(255, 255, 255);
        QVERIFY2(Inked > 2000, qPrintable(QString::number(Inked)));
    }

    // A game of the list opens in the replay viewer, which steps it to its recorded end.
    void AGameOfTheListReplaysToItsRecordedEnd() {
        const std::shared_ptr<TMatchRun> Run = PlayedSeries(3);
        Form->SetResults(Run->Lines(), Run->Results());
        QTableView *List = Form->ResultsView->GameList;
        QTRY_VERIFY(List->isVisible() &&
                    List->visualRect(List->model()->index(4, 1)).bottom() < List->viewport()->height());
        // A real double click: the first click selects the row, the second opens it.
        const QPoint Row = List->visualRect(List->model()->index(4, 1)).center();
        QTest::mouseClick(List->viewport(), Qt::LeftButton, {}, Row);
        QTest::mouseDClick(List->viewport(), Qt::LeftButton, {}, Row);

        TReplayForm *Replay = Form->ReplayForm;
        QVERIFY(Replay != nullptr && Replay->isVisible());
        QCOMPARE(Replay->GameSpinBox->value(), 5);
        QCOMPARE(Replay->CurrentStep(), 0);
        std::string Error;
        const std::optional<TGameRecord> Record = Run->Results()->Archive->Read(4, Error);
        QVERIFY2(Record, Error.c_str());
        QCOMPARE(Replay->StepCount(), static_cast<int64_t>(Record->Moves.size()) + 1);
        QCOMPARE(Replay->MoveList->count(), Replay->StepCount());

        QTest::mouseClick(Replay->LastStepButton, Qt::LeftButton);
        QCOMPARE(Replay->CurrentStep(), Replay->StepCount() - 1);
        for (int Seat = 0; Seat < 2; ++Seat)
            QCOMPARE(testing::PanelValues(Replay->Panels[Seat]),
                     testing::StatusValues(Record->Final[static_cast<std::size_t>(Seat)]));
        QVERIFY2(Replay->OutcomeLabel->text().startsWith(
                     QStringLiteral("Победил «Striker of the northern front»")),
                 qPrintable(Replay->OutcomeLabel->text()));

        // A round is reached by its number, at its first move; the arrows step from there, even
        // with a button focused.
        Replay->RoundSpinBox->setValue(3);
        QTest::mouseClick(Replay->GoToRoundButton, Qt::LeftButton);
        QCOMPARE(Replay->CurrentStep(), 5);
        QCOMPARE(Replay->MoveList->currentRow(), 5);
        QVERIFY2(Replay->HeadlineLabel->text().startsWith(QStringLiteral("Раунд 3 из")),
                 qPrintable(Replay->HeadlineLabel->text()));
        QCOMPARE(Replay->RoundSpinBox->value(), 3);
        Replay->StepForwardButton->setFocus();
        QTest::keyClick(Replay->StepForwardButton, Qt::Key_Left);
        QCOMPARE(Replay->CurrentStep(), 4);
        QCOMPARE(Replay->StepSlider->value(), 4);
        QTest::keyClick(Replay, Qt::Key_Left);
        QCOMPARE(Replay->CurrentStep(), 3);

        // Played at the highest speed, it runs to the end and stops there.
        Replay->SpeedComboBox->setCurrentIndex(Replay->SpeedComboBox->count() - 1);
        QTest::mouseClick(Replay->PlayButton, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(Replay->CurrentStep(), Replay->StepCount() - 1, 20000);
        QCOMPARE(Replay->PlayButton->text(), QStringLiteral("▶ Играть"));

        // The window's own button opens the game chosen in the list; OK closes the viewer too.
        Form->ResultsView->SelectGame(1);
        QTest::mouseClick(Form->ReplayButton, Qt::LeftButton);
        QCOMPARE(Replay->GameSpinBox->value(), 2);
        QTest::mouseClick(Form->OKButton, Qt::LeftButton);
        QVERIFY(!Replay->isVisible());
    }

    // The game list sorts by a header and filters by who moved first, and still opens the game
    // chosen; a table copies as tab-separated text; everything exports to CSV.
    void TheGameListSortsFiltersCopiesAndExports() {
        const std::shared_ptr<TMatchRun> Run = PlayedSeries(3);
        Form->SetResults(Run->Lines(), Run->Results());
        Form->show();
        TResultsView *View = Form->ResultsView;
        QTableView *List = View->GameList;
        List->sortByColumn(1, Qt::DescendingOrder);  // as a click on the header does
        QCOMPARE(List->model()->index(0, 1).data().toString(), QStringLiteral("Passer"));
        QCOMPARE(List->model()->index(0, 0).data().toString(), QStringLiteral("4"));
        View->SelectGame(4);  // game 5
        QTest::mouseClick(Form->ReplayButton, Qt::LeftButton);
        QCOMPARE(Form->ReplayForm->GameSpinBox->value(), 5);

        View->FirstPlayerFilter->setCurrentIndex(1);  // the striker moved first
        QCOMPARE(List->model()->rowCount(), 3);
        QCOMPARE(View->SelectedGame(), 0);       // game 5 is filtered out: the first one listed is chosen
        View->WinnerFilter->setCurrentIndex(3);  // draws: none
        QCOMPARE(List->model()->rowCount(), 0);

        QTableWidget *Standings = View->StandingsTable;
        Standings->setCurrentCell(0, 0);
        Standings->setRangeSelected(QTableWidgetSelectionRange(0, 0, 0, 3), true);
        QTest::keyClick(Standings, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("Striker of the northern front\tвсего\t6\t6\n"));

        QTemporaryDir Folder;
        const QString Csv = Folder.filePath(QStringLiteral("results.csv"));
        View->AskCsvFile = [&Csv](QWidget *) { return Csv; };
        QTest::mouseClick(View->ExportButton, Qt::LeftButton);
        const QString Exported = QString::fromUtf8(FileBytes(Csv));
        QVERIFY2(Exported.startsWith(QStringLiteral("Серия: сыграно 6 из 6 игр\r\n\r\nИгрок,")),
                 qPrintable(Exported));
        QVERIFY(Exported.endsWith(QStringLiteral("Раундов,Причина\r\n")));  // no game passes the filters
    }

    // Every window of the program fits a 1024 x 768 screen, opens wholly on the screen, and can be
    // made that small.
    void EveryWindowFitsASmallScreen() {
        const std::shared_ptr<TMatchRun> Run = PlayedSeries(2);
        Form->SetResults(Run->Lines(), Run->Results());
        Form->show();
        Form->OpenReplay(0);
        auto Help = std::make_unique<THelpForm>(Form.get());
        auto Progress = std::make_unique<TMatchProgressForm>(Form.get());
        auto Results = std::make_unique<TResultsListForm>(Form.get());
        for (QWidget *Window : std::initializer_list<QWidget *>{Form.get(), Form->ReplayForm, Help.get(),
                                                                Progress.get(), Results.get()}) {
            Window->show();
            QVERIFY(QTest::qWaitForWindowExposed(Window));
            const QSize Least = Window->minimumSizeHint().expandedTo(Window->minimumSize());
            QVERIFY2(Least.width() <= 1024 && Least.height() <= 768, qPrintable(QStringLiteral("%1: %2 x %3")
                                                                                    .arg(Window->objectName())
                                                                                    .arg(Least.width())
                                                                                    .arg(Least.height())));
            const QRect Free = Window->screen()->availableGeometry();
            QVERIFY2(Free.contains(Window->frameGeometry()), qPrintable(Window->objectName()));
        }
    }

private:
    void DoubleClick(const QString &Target) {
        if (Target == "memo") {
            QTest::mouseDClick(Form->ResultMemo->viewport(), Qt::LeftButton);
        } else if (Target == "label") {
            QTest::mouseDClick(Form->Label1, Qt::LeftButton);
        } else {
            const QPoint FreeArea(
                (Form->Label1->geometry().right() + Form->ReplayButton->geometry().left()) / 2,
                Form->OKButton->geometry().center().y());
            QCOMPARE(Form->childAt(FreeArea), nullptr);
            QTest::mouseDClick(Form.get(), Qt::LeftButton, {}, FreeArea);
        }
    }

    std::unique_ptr<testing::TTemporarySettings> Settings;
    std::unique_ptr<TGameResultForm> Form;
    QString Answer;
    TLogEncoding Encoding = TLogEncoding::Windows1251;
    QStringList Asked;
    std::vector<TRecordedMessage> Messages;
};

QTEST_MAIN(ResultWindowTest)
#include "result_window_test.moc"
