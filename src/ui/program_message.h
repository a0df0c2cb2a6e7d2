// The program's title and its message boxes.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace velkaran {

// The application's title: "Velkaran" until the main window's first activation sets the version line.
QString ProgramTitle();

// Sets the application's title, which also captions every message box of the program.
void SetProgramTitle(const QString &Title);

enum class TMessageKind { Information, Error };

// Shows Text in a modal message box with an OK button, captioned with ProgramTitle().
// Returns when the user has closed the box.
void ShowProgramMessage(QWidget *Parent, TMessageKind Kind, const QString &Text);

// How a window shows its messages: ShowProgramMessage, or a recorder in tests.
using TShowMessageFn = std::function<void(QWidget *Parent, TMessageKind Kind, const QString &Text)>;

}  // namespace velkaran
