// The result window: the text of the last match, saved to a file on a double click.
#pragma once

#include "program_message.h"

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace velkaran {

// Asks for the file to save the log to, offering Previous; an empty text when the user cancels.
using TAskLogFileFn = std::function<QString(QWidget *Parent, const QString &Previous)>;

// The save dialog: no filter, no default suffix, no title; an existing file is overwritten.
QString AskLogFileName(QWidget *Parent, const QString &Previous);

class TGameResultForm : public QDialog {
public:
    explicit TGameResultForm(QWidget *Parent = nullptr);

    QPlainTextEdit *ResultMemo;  // read-only, monospaced, word wrap, both scroll bars
    QPushButton *OKButton;       // closes the window with the result OK
    QLabel *Label1;              // "Двойной клик для сохранения лога"

    // The save dialog and the message boxes; tests replace them.
    TAskLogFileFn LogSaveDialog = AskLogFileName;
    TShowMessageFn ShowMessage = ShowProgramMessage;

    // Replaces the memo's text by Lines (UTF-8), one line each.
    void SetResultLines(const std::vector<std::string> &Lines);
    // The memo's lines (UTF-8), as they are saved.
    std::vector<std::string> ResultLines() const;

    // Double click on the memo, the label or the free area: asks for a file and saves the log
    // there; a failure is shown in a message box. The memo and the window stay as they are.
    void ResultMemoDblClick(QObject *Sender);
    // Brings the window to the front each time it is shown.
    void FormShow(QObject *Sender);

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;
    void mouseDoubleClickEvent(QMouseEvent *Event) override;
    void showEvent(QShowEvent *Event) override;
    void resizeEvent(QResizeEvent *Event) override;

private:
    QString LastLogFileName;
};

}  // namespace velkaran
