// velkaran [RECORD.json]: the desktop program. Opens the main window (and a saved game record in
// the replay viewer, when one is given) and runs until the main window is closed.
#include "game_result_unit.h"
#include "main_unit.h"
#include "qt_translation.h"

#include "workers/adopted_children.h"
#include "workers/termination_watch.h"
#include "workers/worker_run.h"

#include <QApplication>

int main(int argc, char **argv) {
    // A signal that ends the program ends the bots' workers first, whatever they do. Made before
    // any thread starts. (The main window's match thread, which starts the workers, keeps itself
    // and them on one CPU.)
    const velkaran::TTerminationWatch Watch([](int Signal) {
        velkaran::TWorkerRun::StopEveryRun();
        velkaran::EndAdoptedChildren();
        velkaran::EndAsSignal(Signal);
    });
    QApplication Application(argc, argv);
    // Qt's dialogs (saving the log, the questions they ask) speak Russian like the program's own.
    velkaran::InstallQtTranslations();
    // A bot's child that left its worker's group comes here when the worker ends; it ends with the program.
    velkaran::AdoptOrphanedDescendants();
    // The main window alone ends the program: closing the result window or a game window while
    // the main window is hidden for a match must not.
    QApplication::setQuitOnLastWindowClosed(false);
    int Status;
    {
        // The result window stays hidden until a match has ended; the main window shows it.
        velkaran::TGameResultForm ResultForm;
        velkaran::TVelkaranMainForm MainForm(ResultForm);
        MainForm.show();
        const QStringList Arguments = QApplication::arguments();
        if (Arguments.size() > 1) MainForm.OpenRecordFile(Arguments[1]);
        Status = QApplication::exec();
    }  // the main window ends its match thread and the bots' workers
    velkaran::EndAdoptedChildren();
    return Status;
}
