// velkaran: the desktop program. Opens the main window and runs until it is closed.
#include "game_result_unit.h"
#include "main_unit.h"
#include "qt_translation.h"

#include "workers/cpu_pinning.h"
#include "workers/worker_registry.h"

#include <QApplication>

int main(int argc, char **argv) {
    QApplication Application(argc, argv);
    // Qt's dialogs (saving the log, the questions they ask) speak Russian like the program's own.
    velkaran::InstallQtTranslations();
    // The bots' workers inherit this thread's CPU (a wake-up across CPUs costs more than a call),
    // and a signal that ends the program ends them too.
    velkaran::PinThisThreadToOneCpu();
    velkaran::EndWorkersOnTerminationSignals();
    // The main window alone ends the program: closing the result window or a game window while
    // the main window is hidden for a match must not.
    QApplication::setQuitOnLastWindowClosed(false);
    // The result window stays hidden until a match has ended; the main window shows it.
    velkaran::TGameResultForm ResultForm;
    velkaran::TVelkaranMainForm MainForm(ResultForm);
    MainForm.show();
    return QApplication::exec();
}
