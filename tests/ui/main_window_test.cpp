// The main window: initial state, enabling rules, activation, the integer fields, and a match.
#include "ui/main_unit.h"
#include "ui/progress_form.h"
#include "ui/results_view.h"
#include "window_test_support.h"

#include "match/version.h"
#include "players/quiet_game_interface.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolButton>
#include <QtTest>

#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <stdexcept>

using namespace velkaran;
using velkaran::testing::MakeBotTable;

namespace {

struct TRecordedMessage {
    TMessageKind Kind;
    QString Text;
};

QStringList ListTexts(const QComboBox *List) {
    QStringList Texts;
    for (int Index = 0; Index < List->count(); ++Index) Texts.append(List->itemText(Index));
    return Texts;
}

// The user picks entry Index of a bot list.
void ChooseEntry(QComboBox *List, int Index) {
    List->setCurrentIndex(Index);
    emit List->activated(Index);
}

// The user types Text over the field's text and leaves the field.
void TypeAndLeave(TIntegerSpinEdit *Field, const QString &Text) {
    Field->setFocus();
    Field->selectAll();
    QTest::keyClick(Field, Qt::Key_Backspace);
    QTest::keyClicks(Field, Text);
    QFocusEvent Leave(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(Field, &Leave);
}

// Holds the match thread at the end of a chosen game until the test opens it; opens by itself when
// it goes, so that a failed check never leaves the match thread waiting.
class TGameGate {
public:
    explicit TGameGate(int64_t Game) : Game(Game) {}
    ~TGameGate() { Open(); }
    // On the match thread, after each game.
    void AtGameEnd(const TPlayedGame &Played) {
        if (Played.Number != Game) return;
        std::unique_lock<std::mutex> Guard(Lock);
        Reached = true;
        Changed.wait(Guard, [this] { return Opened; });
    }
    bool HasReached() {
        const std::lock_guard<std::mutex> Guard(Lock);
        return Reached;
    }
    void Open() {
        const std::lock_guard<std::mutex> Guard(Lock);
        Opened = true;
        Changed.notify_all();
    }

private:
    const int64_t Game;
    std::mutex Lock;
    std::condition_variable Changed;
    bool Reached = false, Opened = false;
};

// A seat that fails: the kind of fault a broken player raises.
void ThrowingStartGame(int32_t, TCardList *, const TTurnInfo *) { throw std::runtime_error("Бот сломался"); }
int32_t ThrowingGetTurn(int32_t, const TGameView *, const TCardList *, const TTurnInfo *) {
    throw std::runtime_error("Бот сломался");
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        Settings = std::make_unique<testing::TTemporarySettings>();
        Discovery = std::make_shared<testing::TFakeDiscovery>();
        Discovery->Runs = {MakeBotTable({{"Alpha", true}, {"Beta", true}})};
        Result = std::make_unique<TGameResultForm>();
        Form = std::make_unique<TVelkaranMainForm>(*Result, [D = Discovery](TBotTable &T) { (*D)(T); });
        Form->MatchEnvironment.Ui = &Quiet;
        Messages.clear();
        Form->ShowMessage = [this](QWidget *, TMessageKind Kind, const QString &Text) {
            Messages.push_back({Kind, Text});
        };
    }
    void cleanup() {
        Form.reset();
        Result.reset();
        Settings.reset();
    }

    void InitialState() {
        QCOMPARE(Form->windowTitle(), QStringLiteral("Velkaran"));
        QCOMPARE(Form->size(), QSize(411, 256));  // the original 236 and the status line
        QCOMPARE(Form->minimumSize(), Form->maximumSize());
        QVERIFY(!(Form->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(Form->windowFlags() & Qt::WindowMinimizeButtonHint);

        QCOMPARE(Form->FirstPlayerGroupBox->title(), QStringLiteral("Игрок №1"));
        QCOMPARE(Form->SecondPlayerGroupBox->title(), QStringLiteral("Игрок №2"));
        QCOMPARE(Form->HumanCheckBox1->text(), QStringLiteral("Человек"));
        QCOMPARE(Form->HumanCheckBox2->text(), QStringLiteral("Человек"));
        QVERIFY(Form->HumanCheckBox1->isChecked());
        QVERIFY(!Form->HumanCheckBox2->isChecked());
        QVERIFY(!Form->AvailBotsComboBox->isEnabled());
        QVERIFY(Form->AvailSecondBotsComboBox->isEnabled());
        QVERIFY(!Form->AvailBotsComboBox->isEditable());
        QVERIFY(!Form->AvailSecondBotsComboBox->isEditable());

        QCOMPARE(Form->BotGameOptionsRadioGroup->title(), QStringLiteral("Настройки"));
        QCOMPARE(Form->BotGameOptionsRadioGroup->Item(0)->text(),
                 QStringLiteral("Произвести одну игру и вывести результат"));
        QCOMPARE(Form->BotGameOptionsRadioGroup->Item(1)->text(),
                 QStringLiteral("Произвести несколько игр и вывести статистику"));
        QCOMPARE(Form->BotGameOptionsRadioGroup->ItemIndex(), 0);
        QVERIFY(!Form->BotGameOptionsRadioGroup->isEnabled());

        QCOMPARE(Form->AdditionalOptionsGroupBox->title(), QStringLiteral("Дополнительные настройки"));
        QCOMPARE(Form->Label1->text(), QStringLiteral("Количество игр"));
        QVERIFY(!Form->Label1->isEnabled());
        QVERIFY(!Form->GameCountSpinEdit->isEnabled());
        QCOMPARE(Form->GameCountSpinEdit->value(), 100);
        QCOMPARE(Form->GameCountSpinEdit->singleStep(), 10);
        QCOMPARE(Form->Label2->text(), QStringLiteral("Максимум ходов"));
        QVERIFY(Form->Label2->isEnabled());
        QVERIFY(Form->TurnLimitSpinEdit->isEnabled());
        QCOMPARE(Form->TurnLimitSpinEdit->value(), 200);
        QCOMPARE(Form->TurnLimitSpinEdit->singleStep(), 5);
        QCOMPARE(Form->TurnLimitSpinEdit->minimum(), 30);
        QCOMPARE(Form->TurnLimitSpinEdit->maximum(), 50000);

        QCOMPARE(Form->AboutButton->text(), QStringLiteral("Об игре"));
        QCOMPARE(Form->StartGameButton->text(), QStringLiteral("Начать игру"));
        QVERIFY(Form->StartGameButton->isEnabled());
        QCOMPARE(Discovery->Count, 0);
    }

    // Tab walks the window as it is laid out: the players, the settings, the buttons at the bottom.
    void TabOrder() {
        const QList<QWidget *> Expected = {Form->HumanCheckBox1,
                                           Form->AvailBotsComboBox,
                                           Form->HumanCheckBox2,
                                           Form->AvailSecondBotsComboBox,
                                           Form->BotGameOptionsRadioGroup->Item(0),
                                           Form->BotGameOptionsRadioGroup->Item(1),
                                           Form->GameCountSpinEdit,
                                           Form->TurnLimitSpinEdit,
                                           Form->MoveLimitSpinEdit,
                                           Form->RecentFilesButton,
                                           Form->TournamentButton,
                                           Form->AboutButton,
                                           Form->RulesButton,
                                           Form->OpenRecordButton,
                                           Form->ResultsButton,
                                           Form->StartGameButton};
        QList<QWidget *> Chain;
        QWidget *Widget = Form->HumanCheckBox1;
        do {
            if (Expected.contains(Widget)) Chain.append(Widget);
            Widget = Widget->nextInFocusChain();
        } while (Widget != Form->HumanCheckBox1);
        QCOMPARE(Chain, Expected);
    }

    void FirstShowingActivates() {
        ShowForm();
        QCOMPARE(Form->windowTitle(), QString::fromUtf8(VersionLine));
        QCOMPARE(ProgramTitle(), QString::fromUtf8(VersionLine));
        QCOMPARE(Discovery->Count, 1);
        QCOMPARE(ListTexts(Form->AvailBotsComboBox), QStringList({"Alpha", "Beta"}));
        QCOMPARE(ListTexts(Form->AvailSecondBotsComboBox), QStringList({"Alpha", "Beta"}));
        QCOMPARE(Form->AvailBotsComboBox->currentIndex(), 0);
        QCOMPARE(Form->AvailSecondBotsComboBox->currentIndex(), 0);
    }

    // Each row reaches its state by clicks, as a user would.
    void EnablingRules_data() {
        QTest::addColumn<bool>("FirstHuman");
        QTest::addColumn<bool>("SecondHuman");
        QTest::addColumn<int>("ModeItem");
        QTest::addColumn<bool>("FirstList");
        QTest::addColumn<bool>("SecondList");
        QTest::addColumn<bool>("ModeGroup");
        QTest::addColumn<bool>("GameCount");
        QTest::newRow("bot, bot, one game") << false << false << 0 << true << true << true << false;
        QTest::newRow("bot, bot, series") << false << false << 1 << true << true << true << true;
        QTest::newRow("human, bot, one game") << true << false << 0 << false << true << false << false;
        QTest::newRow("human, bot, series") << true << false << 1 << false << true << false << false;
        QTest::newRow("bot, human, one game") << false << true << 0 << true << false << false << false;
        QTest::newRow("bot, human, series") << false << true << 1 << true << false << false << false;
        QTest::newRow("human, human, one game") << true << true << 0 << false << false << false << false;
        QTest::newRow("human, human, series") << true << true << 1 << false << false << false << false;
    }
    void EnablingRules() {
        QFETCH(bool, FirstHuman);
        QFETCH(bool, SecondHuman);
        QFETCH(int, ModeItem);
        ShowForm();
        Form->HumanCheckBox1->click();  // both players bots: the mode can be chosen
        Form->BotGameOptionsRadioGroup->Item(ModeItem)->click();
        if (FirstHuman) Form->HumanCheckBox1->click();
        if (SecondHuman) Form->HumanCheckBox2->click();

        QTEST(Form->AvailBotsComboBox->isEnabled(), "FirstList");
        QTEST(Form->AvailSecondBotsComboBox->isEnabled(), "SecondList");
        QTEST(Form->BotGameOptionsRadioGroup->isEnabled(), "ModeGroup");
        QTEST(Form->Label1->isEnabled(), "GameCount");
        QTEST(Form->GameCountSpinEdit->isEnabled(), "GameCount");
        QVERIFY(Form->Label2->isEnabled());
        QVERIFY(Form->TurnLimitSpinEdit->isEnabled());
        QCOMPARE(Form->BotGameOptionsRadioGroup->ItemIndex(), ModeItem);  // kept while disabled
    }

    void StartButton_data() {
        QTest::addColumn<bool>("FirstHuman");
        QTest::addColumn<bool>("SecondHuman");
        QTest::addColumn<QString>("Entries");  // one letter per entry: 'a' available, 'u' not
        QTest::addColumn<int>("FirstEntry");
        QTest::addColumn<int>("SecondEntry");
        QTest::addColumn<bool>("Enabled");
        QTest::newRow("human vs unavailable first entry") << true << false << "ua" << 0 << 0 << false;
        QTest::newRow("human vs available entry chosen") << true << false << "ua" << 0 << 1 << true;
        QTest::newRow("available vs human") << false << true << "au" << 0 << 1 << true;
        QTest::newRow("unavailable vs human") << false << true << "au" << 1 << 0 << false;
        QTest::newRow("two available bots") << false << false << "aa" << 0 << 1 << true;
        QTest::newRow("second bot unavailable") << false << false << "au" << 0 << 1 << false;
        QTest::newRow("first bot unavailable") << false << false << "au" << 1 << 0 << false;
        QTest::newRow("two humans, empty lists") << true << true << "" << -1 << -1 << true;
        QTest::newRow("two humans, unavailable entries") << true << true << "uu" << 0 << 0 << true;
        QTest::newRow("human vs empty list") << true << false << "" << -1 << -1 << false;
        QTest::newRow("two bots, empty lists") << false << false << "" << -1 << -1 << false;
    }
    void StartButton() {
        QFETCH(bool, FirstHuman);
        QFETCH(bool, SecondHuman);
        QFETCH(QString, Entries);
        QFETCH(int, FirstEntry);
        QFETCH(int, SecondEntry);
        std::vector<std::pair<std::string, bool>> Table;
        for (int Index = 0; Index < Entries.size(); ++Index)
            Table.push_back({"Bot" + std::to_string(Index), Entries[Index] == u'a'});
        Discovery->Runs = {MakeBotTable(Table)};
        ShowForm();
        if (!FirstHuman) Form->HumanCheckBox1->click();
        if (SecondHuman) Form->HumanCheckBox2->click();
        if (FirstEntry >= 0) ChooseEntry(Form->AvailBotsComboBox, FirstEntry);
        if (SecondEntry >= 0) ChooseEntry(Form->AvailSecondBotsComboBox, SecondEntry);

        QTEST(Form->StartGameButton->isEnabled(), "Enabled");
        // A disabled start button says why; an enabled one has nothing to explain.
        QTEST(Form->StartGameButton->toolTip().isEmpty(), "Enabled");
    }

    void ActivationRefreshesTheListsAndKeepsTheChosenLibraries() {
        Discovery->Runs = {MakeBotTable({{"Alpha", true}, {"Beta", true}}),
                           MakeBotTable({{"Gamma", true}, {"Alpha", true}, {"Beta", false}})};
        ShowForm();
        Form->HumanCheckBox1->click();
        Form->BotGameOptionsRadioGroup->Item(1)->click();
        TypeAndLeave(Form->TurnLimitSpinEdit, "300");
        TypeAndLeave(Form->GameCountSpinEdit, "7");
        ChooseEntry(Form->AvailBotsComboBox, 0);
        ChooseEntry(Form->AvailSecondBotsComboBox, 1);

        QTest::mouseClick(Form->AboutButton, Qt::LeftButton);  // a message box of the program

        QCOMPARE(Messages.size(), size_t(1));
        QCOMPARE(Discovery->Count, 2);
        const QStringList Refreshed = {"Gamma", "Alpha", QStringLiteral("Недоступно")};
        QCOMPARE(ListTexts(Form->AvailBotsComboBox), Refreshed);
        QCOMPARE(ListTexts(Form->AvailSecondBotsComboBox), Refreshed);
        // Each list still holds its player's library, wherever the new discovery put it.
        QCOMPARE(Form->AvailBotsComboBox->currentIndex(), 1);
        QCOMPARE(Form->AvailSecondBotsComboBox->currentIndex(), 2);
        // Beta broke meanwhile: the start waits, and the list, the button and the status line say why.
        QVERIFY(!Form->StartGameButton->isEnabled());
        const QString Why = QStringLiteral("Игрок №2: бот «Beta.so» недоступен: Beta is broken.");
        QCOMPARE(Form->StartGameButton->toolTip(), Why);
        QCOMPARE(Form->BotStatusLabel->toolTip(), Why);
        QCOMPARE(Form->AvailSecondBotsComboBox->itemData(2, Qt::ToolTipRole).toString(),
                 QStringLiteral("Beta.so: Beta is broken"));
        // Everything else stays as the user set it.
        QVERIFY(!Form->HumanCheckBox1->isChecked());
        QVERIFY(!Form->HumanCheckBox2->isChecked());
        QCOMPARE(Form->BotGameOptionsRadioGroup->ItemIndex(), 1);
        QVERIFY(Form->GameCountSpinEdit->isEnabled());
        QCOMPARE(Form->GameCountSpinEdit->value(), 7);
        QCOMPARE(Form->TurnLimitSpinEdit->value(), 300);
    }

    void ChoicesOutliveTheProgram() {
        Discovery->Runs = {MakeBotTable({{"Alpha", true}, {"Beta", true}, {"Gamma", true}})};
        ShowForm();
        Form->HumanCheckBox1->click();
        Form->BotGameOptionsRadioGroup->Item(1)->click();
        ChooseEntry(Form->AvailBotsComboBox, 2);
        ChooseEntry(Form->AvailSecondBotsComboBox, 1);
        TypeAndLeave(Form->TurnLimitSpinEdit, "300");
        TypeAndLeave(Form->GameCountSpinEdit, "7");
        Form->close();

        // The next run finds the libraries by name, even in another order.
        Discovery->Runs = {MakeBotTable({{"Beta", true}, {"Gamma", true}, {"Alpha", true}})};
        Form = std::make_unique<TVelkaranMainForm>(*Result, [D = Discovery](TBotTable &T) { (*D)(T); });
        ShowForm();
        QCOMPARE(Form->AvailBotsComboBox->currentText(), QStringLiteral("Gamma"));
        QCOMPARE(Form->AvailSecondBotsComboBox->currentText(), QStringLiteral("Beta"));
        QCOMPARE(Form->TurnLimitSpinEdit->value(), 300);
        QCOMPARE(Form->GameCountSpinEdit->value(), 7);
        QVERIFY(!Form->HumanCheckBox1->isChecked());
        QCOMPARE(Form->BotGameOptionsRadioGroup->ItemIndex(), 1);
        QVERIFY(Form->GameCountSpinEdit->isEnabled());

        // On a first run, the bot a list shows is remembered though it was never picked.
        Form->close();
        Form.reset();
        Settings.reset();
        Settings = std::make_unique<testing::TTemporarySettings>();
        for (const auto &Order :
             {std::vector<std::pair<std::string, bool>>{{"Alpha", true}, {"Beta", true}},
              std::vector<std::pair<std::string, bool>>{{"Beta", true}, {"Alpha", true}}}) {
            Discovery->Runs = {MakeBotTable(Order)};
            Form = std::make_unique<TVelkaranMainForm>(*Result, [D = Discovery](TBotTable &T) { (*D)(T); });
            ShowForm();
            QCOMPARE(Form->AvailSecondBotsComboBox->currentText(), QStringLiteral("Alpha"));
            Form->close();
        }
    }

    void RulesButtonOpensTheHelpBesideTheWindow() {
        ShowForm();
        QTest::mouseClick(Form->RulesButton, Qt::LeftButton);
        QVERIFY(Form->HelpForm != nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(Form->HelpForm));
        QVERIFY(!Form->HelpForm->isModal());
        QVERIFY(
            Form->HelpForm->HelpText->toPlainText().contains(QStringLiteral("Обозначения в описаниях карт")));
        QVERIFY(
            (Form->HelpForm->frameGeometry().center() - Form->frameGeometry().center()).manhattanLength() <=
            2);
        QCOMPARE(Discovery->Count, 1);  // not a message box: the lists are not rebuilt
        QTest::mouseClick(Form->HelpForm->CloseButton, Qt::LeftButton);
        QVERIFY(!Form->HelpForm->isVisible());
    }

    void ComingBackFromAnotherWindowKeepsTheSelections() {
        ShowForm();
        ChooseEntry(Form->AvailSecondBotsComboBox, 1);
        QWidget Other;
        Other.show();
        Other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&Other));
        Form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(Form.get()));
        Form->showMinimized();
        Form->showNormal();
        QCoreApplication::processEvents();

        QCOMPARE(Discovery->Count, 1);
        QCOMPARE(Form->AvailSecondBotsComboBox->currentIndex(), 1);
    }

    void AboutMessageIsCaptionedWithTheVersionLine() {
        Form->ShowMessage = ShowProgramMessage;
        ShowForm();
        QString Caption;
        QString Text;
        testing::AnswerNextModal([&](QWidget *Modal) {
            auto *Box = qobject_cast<QMessageBox *>(Modal);
            QVERIFY(Box != nullptr);
            Caption = Box->windowTitle();
            Text = Box->text();
            Box->button(QMessageBox::Ok)->click();
        });
        QTest::mouseClick(Form->AboutButton, Qt::LeftButton);

        QCOMPARE(Caption, QString::fromUtf8(VersionLine));
        const QStringList Lines = Text.split(u'\n');
        QCOMPARE(Lines.size(), 3);
        QCOMPARE(Lines[0], QString::fromUtf8(VersionLine));
        QVERIFY(Lines[1].startsWith(QStringLiteral("Автор: ")) && Lines[1].size() > 7);
        QVERIFY(Lines[2].startsWith(QStringLiteral("E-mail: ")) && Lines[2].contains(u'@'));
        QCOMPARE(Discovery->Count, 2);
    }

    void TurnLimitField_data() {
        QTest::addColumn<QString>("Typed");
        QTest::addColumn<int>("Value");
        QTest::newRow("below the range") << "20" << 30;
        QTest::newRow("above the range") << "60000" << 50000;
        QTest::newRow("in the range") << "1234" << 1234;
        QTest::newRow("negative") << "-5" << 30;
        QTest::newRow("not an integer") << "1.5" << 30;
        QTest::newRow("letters are not typed") << "4x5" << 45;
        QTest::newRow("nothing") << "" << 30;
    }
    void TurnLimitField() {
        QFETCH(QString, Typed);
        QFETCH(int, Value);
        TypeAndLeave(Form->TurnLimitSpinEdit, Typed);
        QCOMPARE(Form->TurnLimitSpinEdit->text(), QString::number(Value));
        QCOMPARE(Form->ReadMatchSettings().TurnLimit, Value);
    }

    void TurnLimitArrows_data() {
        QTest::addColumn<QString>("Typed");
        QTest::addColumn<int>("Key");
        QTest::addColumn<int>("Value");
        QTest::newRow("up at the upper limit") << "50000" << int(Qt::Key_Up) << 50000;
        QTest::newRow("up near the upper limit") << "49998" << int(Qt::Key_Up) << 50000;
        QTest::newRow("up above the range") << "60000" << int(Qt::Key_Up) << 50000;
        QTest::newRow("down at the lower limit") << "30" << int(Qt::Key_Down) << 30;
        QTest::newRow("up below the range") << "20" << int(Qt::Key_Up) << 30;
        QTest::newRow("up in the range") << "200" << int(Qt::Key_Up) << 205;
    }
    void TurnLimitArrows() {
        QFETCH(QString, Typed);
        QFETCH(int, Key);
        Form->TurnLimitSpinEdit->selectAll();
        QTest::keyClicks(Form->TurnLimitSpinEdit, Typed);
        QTest::keyClick(Form->TurnLimitSpinEdit, Qt::Key(Key));
        QTEST(int(Form->TurnLimitSpinEdit->value()), "Value");
        QCOMPARE(Form->TurnLimitSpinEdit->text(), QString::number(Form->TurnLimitSpinEdit->value()));
    }

    void GameCountField_data() {
        QTest::addColumn<QString>("Typed");
        QTest::addColumn<int>("Key");  // 0: leave the field instead
        QTest::addColumn<int>("Value");
        QTest::newRow("negative") << "-10" << 0 << -10;
        QTest::newRow("zero") << "0" << 0 << 0;
        QTest::newRow("large") << "2000000000" << 0 << 2000000000;
        QTest::newRow("not an integer") << "1.5" << 0 << 0;
        QTest::newRow("beyond 32 bits") << "99999999999" << 0 << 0;
        QTest::newRow("up from negative") << "-10" << int(Qt::Key_Up) << 0;
        QTest::newRow("down from zero") << "0" << int(Qt::Key_Down) << -10;
        QTest::newRow("up stops at the largest integer") << "2147483645" << int(Qt::Key_Up) << 2147483647;
        QTest::newRow("down stops at the smallest integer")
            << "-2147483645" << int(Qt::Key_Down) << -2147483647 - 1;
    }
    void GameCountField() {
        QFETCH(QString, Typed);
        QFETCH(int, Key);
        ShowForm();
        Form->HumanCheckBox1->click();
        Form->BotGameOptionsRadioGroup->Item(1)->click();
        if (Key == 0) {
            TypeAndLeave(Form->GameCountSpinEdit, Typed);
        } else {
            Form->GameCountSpinEdit->selectAll();
            QTest::keyClicks(Form->GameCountSpinEdit, Typed);
            QTest::keyClick(Form->GameCountSpinEdit, Qt::Key(Key));
        }
        QTEST(int(Form->GameCountSpinEdit->value()), "Value");
        QCOMPARE(Form->GameCountSpinEdit->text(), QString::number(Form->GameCountSpinEdit->value()));
        QTEST(int(Form->ReadMatchSettings().GameCount), "Value");
    }

    void BotMatchStartedByAClickFillsTheResultWindow() {
        QTemporaryDir Folder;
        CopyTestBot("good_bot", Folder.filePath("1_good.so"));
        CopyTestBot("name30_bot", Folder.filePath("2_other.so"));
        int Discoveries = 0;
        Form = std::make_unique<TVelkaranMainForm>(*Result, [&](TBotTable &Table) {
            LoadBots(Table, Folder.path().toStdString());
            ++Discoveries;
        });
        Form->MatchEnvironment.Ui = &Quiet;
        Form->MatchEnvironment.Clock = [] { return 0.0; };  // no thinking time: one exact text
        ShowForm();
        Form->HumanCheckBox1->click();
        Form->BotGameOptionsRadioGroup->Item(1)->click();
        ChooseEntry(Form->AvailSecondBotsComboBox, 1);
        TypeAndLeave(Form->GameCountSpinEdit, "2");
        TypeAndLeave(Form->TurnLimitSpinEdit, "40");
        QVERIFY(Form->StartGameButton->isEnabled());

        TMatchEnvironment Environment = Form->MatchEnvironment;
        Environment.DecimalSeparator = QLocale().decimalPoint().toStdString();
        const std::vector<std::string> Expected = RunMatch(Form->ReadMatchSettings(), Environment).Lines;
        QVERIFY(!Expected.empty());

        std::vector<std::string> Shown;
        bool MainHidden = false;
        testing::AnswerNextModal([&](QWidget *Modal) {
            QCOMPARE(Modal, static_cast<QWidget *>(Result.get()));
            MainHidden = !Form->isVisible();
            Shown = Result->ResultLines();
            QTest::mouseClick(Result->OKButton, Qt::LeftButton);
        });
        QTest::mouseClick(Form->StartGameButton, Qt::LeftButton);
        QVERIFY(Form->MatchRunning());
        QVERIFY(!Form->isVisible());  // the window thread is free while the match thread plays
        QTRY_VERIFY_WITH_TIMEOUT(!Form->MatchRunning() && Form->isVisible(), 60000);

        QVERIFY(MainHidden);
        QCOMPARE(Shown, Expected);
        QVERIFY(Form->isVisible());
        QVERIFY(!Result->isVisible());
        QCOMPARE(Discoveries, 2);  // the window is active again: lists rebuilt, the choices kept
        QCOMPARE(Form->AvailSecondBotsComboBox->currentIndex(), 1);
        QCOMPARE(Form->BotGameOptionsRadioGroup->ItemIndex(), 1);
    }

    // While game 3 is being counted, the progress window shows the two before it; "stop after this
    // game" ends the series there, and the result window says so above the games played.
    void ASeriesShowsItsProgressAndStopsAfterTheGameInPlay() {
        QTemporaryDir Folder;
        CopyTestBot("good_bot", Folder.filePath("good.so"));
        Form = std::make_unique<TVelkaranMainForm>(
            *Result, [&](TBotTable &Table) { LoadBots(Table, Folder.path().toStdString()); });
        Form->MatchEnvironment.Ui = &Quiet;
        TGameGate Gate(3);
        Form->MatchEnvironment.OnGameEnd = [&Gate](const TPlayedGame &Played) { Gate.AtGameEnd(Played); };
        ShowForm();
        Form->HumanCheckBox1->click();
        Form->BotGameOptionsRadioGroup->Item(1)->click();
        TypeAndLeave(Form->GameCountSpinEdit, "50");

        QTest::mouseClick(Form->StartGameButton, Qt::LeftButton);
        QTRY_VERIFY(Form->ProgressForm->isVisible());
        QTRY_VERIFY(Gate.HasReached());
        QTRY_COMPARE(Form->ProgressForm->GamesLabel->text(), QStringLiteral("Сыграно 2 из 100 игр"));
        QTest::mouseClick(Form->ProgressForm->StopAfterGameButton, Qt::LeftButton);
        QVERIFY(!Form->ProgressForm->StopAfterGameButton->isEnabled());
        QVERIFY(!Form->ProgressForm->StopStateLabel->text().isEmpty());
        std::vector<std::string> Shown;
        QString Headline;
        int Games = -1;
        testing::AnswerNextModal([&](QWidget *) {
            Shown = Result->ResultLines();
            Headline = Result->ResultsView->HeadlineLabel->text();
            Games = Result->ResultsView->GameList->model()->rowCount();
            QTest::mouseClick(Result->OKButton, Qt::LeftButton);
        });
        Gate.Open();
        QTRY_VERIFY_WITH_TIMEOUT(!Form->MatchRunning() && Form->isVisible(), 60000);

        QVERIFY(!Form->ProgressForm->isVisible());
        QVERIFY(Shown.size() > 4);
        QCOMPARE(Shown[2], std::string("Количество игр: 100"));
        QCOMPARE(Shown[3], std::string("Серия остановлена после 3 из 100 игр"));
        QCOMPARE(Headline, QString::fromStdString(Shown[3]));
        QCOMPARE(Games, 3);
    }

    void FailureDuringAMatchIsShownAndTheWindowComesBack() {
        TBotTable Broken = MakeBotTable({{"Broken", true}});
        Broken.Bots[0].StartGameProc = ThrowingStartGame;
        Broken.Bots[0].GetTurnProc = ThrowingGetTurn;
        Discovery->Runs = {Broken};
        ShowForm();
        Form->HumanCheckBox1->click();
        Result->SetResultLines({"the last match"});

        QTest::mouseClick(Form->StartGameButton, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!Form->MatchRunning() && Form->isVisible(), 60000);

        QCOMPARE(Messages.size(), size_t(1));
        QCOMPARE(Messages[0].Kind, TMessageKind::Error);
        QCOMPARE(Messages[0].Text, QStringLiteral("Бот сломался"));
        QVERIFY(Form->isVisible());
        QVERIFY(!Result->isVisible());
        QCOMPARE(Result->ResultLines(), std::vector<std::string>{"the last match"});
        QCOMPARE(Discovery->Count, 2);
    }

private:
    void ShowForm() {
        Form->show();
        QVERIFY(QTest::qWaitForWindowExposed(Form.get()));
    }

    static void CopyTestBot(const std::string &Bot, const QString &Target) {
        std::filesystem::copy_file(std::filesystem::path(VELKARAN_TEST_BOTS_DIR) / (Bot + ".so"),
                                   Target.toStdString());
    }

    std::unique_ptr<testing::TTemporarySettings> Settings;
    std::shared_ptr<testing::TFakeDiscovery> Discovery;
    std::unique_ptr<TGameResultForm> Result;
    std::unique_ptr<TVelkaranMainForm> Form;
    QuietGameInterface Quiet;
    std::vector<TRecordedMessage> Messages;
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
