// velkaran: the desktop program. Opens the main window and runs until it is closed.
#include "bot_crash_guard.h"
#include "game_result_unit.h"
#include "main_unit.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char **argv) {
    // A bot that crashes starts the program afresh with a message, instead of ending it silently.
    const velkaran::TCrashRestart Restart = velkaran::ReadCrashRestart(argc, argv);
    velkaran::InstallBotCrashGuard(velkaran::RunningProgram(argv[0]), Restart);

    QApplication Application(argc, argv);
    // The main window alone ends the program: closing the result window or a game window while
    // the main window is hidden for a match must not.
    QApplication::setQuitOnLastWindowClosed(false);
    // The result window stays hidden until a match has ended; the main window shows it.
    velkaran::TGameResultForm ResultForm;
    velkaran::TVelkaranMainForm MainForm(ResultForm);
    MainForm.show();
    if (!Restart.Message.empty()) {
        QTimer::singleShot(0, &MainForm, [&MainForm, &Restart] {
            MainForm.ShowOwnMessage(velkaran::TMessageKind::Error, QString::fromStdString(Restart.Message));
        });
    }
    return QApplication::exec();
}
