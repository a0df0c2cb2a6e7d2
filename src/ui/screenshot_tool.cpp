// velkaran-screenshots <folder>: renders the main window (initial state; two bots and a series),
// the help window (its beginning and its end) and the result window after a short series (also
// once its log was saved) to PNG files in <folder>. Run it in the folder of the sample bots;
// without two usable bots there it plays the series between two built-in players. The settings
// it changes are kept in a temporary folder, never the user's.
#include "game_result_unit.h"
#include "main_unit.h"
#include "qt_translation.h"

#include "players/quiet_game_interface.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>

#include <cstdio>

using namespace velkaran;

namespace {

// Built-in players for a folder without bots: a fixed set, and the first card they can pay for.
void BuiltInStartGame(int32_t PlayerIndex, TCardList *CardSet, const TTurnInfo *) {
    if (CardSet == nullptr) return;
    const int32_t FirstCard = PlayerIndex == 0 ? 1 : 36;
    for (int32_t Entry = 0; Entry < CardSetSize; ++Entry) CardSet->Card[Entry] = FirstCard + Entry;
}
int32_t BuiltInGetTurn(int32_t, const TGameView *, const TCardList *Playable, const TTurnInfo *) {
    return Playable != nullptr ? Playable->Card[0] : 0;
}

void AddBuiltInPlayers(TBotTable &Table) {
    for (const char *Name : {"Built-in A", "Built-in B"}) {
        Table.Bots.push_back({.Available = true,
                              .Name = Name,
                              .StartGameProc = BuiltInStartGame,
                              .GetTurnProc = BuiltInGetTurn,
                              .Path = {}});
        Table.Texts.emplace_back(Name);
    }
}

int AvailableEntries(const TBotTable &Table) {
    int Count = 0;
    for (const TBot &Bot : Table.Bots) Count += Bot.Available ? 1 : 0;
    return Count;
}

// The sample bots of the current directory (loaded into this process: the windows are what is
// pictured), or the built-in players when fewer than two are usable.
void ScreenshotDiscovery(TBotTable &Table) {
    LoadBots(Table, ".");
    if (AvailableEntries(Table) < 2) AddBuiltInPlayers(Table);
}

// The window as the user sees it: a plain title bar with its caption above its contents.
QImage WindowPicture(QWidget &Window) {
    const QPixmap Contents = Window.grab();
    constexpr int TitleHeight = 24;
    QImage Picture(Contents.width(), Contents.height() + TitleHeight, QImage::Format_RGB32);
    Picture.fill(QColor(0x3b, 0x5b, 0x8c));
    QPainter Painter(&Picture);
    QFont TitleFont = Window.font();
    TitleFont.setBold(true);
    TitleFont.setPixelSize(12);
    Painter.setFont(TitleFont);
    Painter.setPen(Qt::white);
    Painter.drawText(QRect(8, 0, Contents.width() - 16, TitleHeight), Qt::AlignVCenter | Qt::AlignLeft,
                     Window.windowTitle());
    Painter.drawPixmap(0, TitleHeight, Contents);
    return Picture;
}

bool Save(QWidget &Window, const QDir &Folder, const QString &Name) {
    QCoreApplication::processEvents();
    const QString Path = Folder.filePath(Name);
    if (WindowPicture(Window).save(Path)) return true;
    std::fprintf(stderr, "velkaran-screenshots: cannot write %s\n", qPrintable(Path));
    return false;
}

// Chooses the first and the last available entry (or the same one twice) for the two players.
void ChooseTwoBots(TVelkaranMainForm &Form) {
    std::vector<int> Usable;
    for (size_t Index = 0; Index < Form.Bots.Bots.size(); ++Index)
        if (Form.Bots.Bots[Index].Available) Usable.push_back(static_cast<int>(Index));
    if (Usable.empty()) return;
    Form.AvailBotsComboBox->setCurrentIndex(Usable.front());
    Form.AvailSecondBotsComboBox->setCurrentIndex(Usable.back());
    Form.AvailBotsComboBoxChange(Form.AvailBotsComboBox);
    Form.AvailSecondBotsComboBoxChange(Form.AvailSecondBotsComboBox);
}

}  // namespace

int main(int argc, char **argv) {
    QApplication Application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: velkaran-screenshots <output folder>\n");
        return 2;
    }
    const QDir Folder(QString::fromLocal8Bit(argv[1]));
    if (!Folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "velkaran-screenshots: cannot create %s\n", argv[1]);
        return 1;
    }

    InstallQtTranslations();
    const QTemporaryDir Settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, Settings.path());

    QuietGameInterface Quiet;
    TGameResultForm ResultForm;
    TVelkaranMainForm MainForm(ResultForm, ScreenshotDiscovery);
    MainForm.MatchEnvironment.Ui = &Quiet;
    MainForm.show();
    bool Saved = Save(MainForm, Folder, QStringLiteral("main_window.png"));

    MainForm.HumanCheckBox1->click();
    ChooseTwoBots(MainForm);
    MainForm.BotGameOptionsRadioGroup->Item(1)->click();
    MainForm.GameCountSpinEdit->setValue(10);
    Saved = Save(MainForm, Folder, QStringLiteral("main_window_series.png")) && Saved;

    MainForm.RulesButton->click();
    Saved = Save(*MainForm.HelpForm, Folder, QStringLiteral("help_window.png")) && Saved;
    QScrollBar *HelpScroll = MainForm.HelpForm->HelpText->verticalScrollBar();
    HelpScroll->setValue(HelpScroll->maximum());
    Saved = Save(*MainForm.HelpForm, Folder, QStringLiteral("help_window_end.png")) && Saved;
    MainForm.HelpForm->close();

    // The result window as the start button shows it: grabbed while it is up, then closed with OK.
    QTimer::singleShot(0, &ResultForm, [&] {
        Saved = Save(ResultForm, Folder, QStringLiteral("result_window.png")) && Saved;
        ResultForm.resize(720, 620);
        Saved = Save(ResultForm, Folder, QStringLiteral("result_window_enlarged.png")) && Saved;
        const QString Log = Settings.filePath(QStringLiteral("velkaran-log.txt"));
        ResultForm.LogSaveDialog = [&Log](QWidget *, const TLogFileChoice &) {
            return TLogFileChoice{Log, {}};
        };
        ResultForm.SaveButton->click();
        Saved = Save(ResultForm, Folder, QStringLiteral("result_window_saved.png")) && Saved;
        ResultForm.OKButton->click();
    });
    MainForm.StartGameButton->click();
    return Saved ? 0 : 1;
}
