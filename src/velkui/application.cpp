// The Qt application the windows need.
#include "application.h"

#include <QApplication>
#include <QtGlobal>

#include <cstdio>

namespace velkaran {
namespace {

bool DisplayReachable() {
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

void ReportOnce(const char *Message) {
    static bool Reported = false;
    if (Reported) return;
    Reported = true;
    std::fprintf(stderr, "VelkUI: %s\n", Message);
}

}  // namespace

bool HasApplication() { return qobject_cast<QApplication *>(QCoreApplication::instance()) != nullptr; }

bool EnsureApplication() {
    if (HasApplication()) return true;
    if (QCoreApplication::instance() != nullptr) {
        ReportOnce("окна недоступны: программа запущена без графического интерфейса Qt.");
        return false;
    }
    if (!DisplayReachable()) {
        ReportOnce("окна недоступны: нет дисплея (DISPLAY, WAYLAND_DISPLAY или QT_QPA_PLATFORM).");
        return false;
    }
    // Qt keeps references to argc and argv for the application's lifetime.
    static int ArgumentCount = 1;
    static char ProgramName[] = "velkui";
    static char *Arguments[] = {ProgramName, nullptr};
    static QApplication *const Application = new QApplication(ArgumentCount, Arguments);
    return Application != nullptr;
}

}  // namespace velkaran
