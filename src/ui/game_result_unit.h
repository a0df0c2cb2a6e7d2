// The result window: the text of the last match, saved to a file on a double click, by the save
// button or with Ctrl+S; beside it the results view of the match's games, each of which opens in
// the replay viewer.
#pragma once

#include "log_file.h"
#include "program_message.h"

#include <QDialog>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace velkaran {

struct TMatchResults;
class TReplayForm;
class TResultsView;
class TSeriesChartsView;

// Asks for the file to save the log to and its encoding, offering Offered; an empty name when the
// user cancels.
using TAskLogFileFn = std::function<TLogFileChoice(QWidget *Parent, const TLogFileChoice &Offered)>;

// The save dialog ("LogSaveDialog"): the file name is used exactly as entered (no default suffix);
// the filter chooses the encoding, Windows-1251 first and UTF-8 second; an existing file is
// replaced only after the user confirms it.
TLogFileChoice AskLogFileName(QWidget *Parent, const TLogFileChoice &Offered);

class TGameResultForm : public QDialog {
public:
    explicit TGameResultForm(QWidget *Parent = nullptr);

    QTabWidget *Views;  // "Итоги" (the results view), "Графики" and "Текст" (the memo)
    TResultsView *ResultsView;
    TSeriesChartsView *ChartsView;  // "Графики", for a series only: score, Elo and thinking times   // the
                                    // match's games counted: standings, Elo, times, endings, the list
    QPlainTextEdit *ResultMemo;  // read-only, monospaced, word wrap, both scroll bars
    QPushButton *OKButton;       // closes the window with the result OK
    QLabel *Label1;              // "Двойной клик для сохранения лога"
    QPushButton *SaveButton;     // "Сохранить…": the same as a double click (also Ctrl+S)
    QPushButton *ReplayButton;  // "Просмотр игры…": the game chosen in the list (or the only one)
    QLabel *SaveStatusLabel;    // under the memo once a save was tried: where the log went
    TReplayForm *ReplayForm = nullptr;  // made at the first replay

    // The save dialog and the message boxes; tests replace them.
    TAskLogFileFn LogSaveDialog = AskLogFileName;
    TShowMessageFn ShowMessage = ShowProgramMessage;

    // Replaces the memo's text by Lines (UTF-8), one line each; the results view then has nothing.
    void SetResultLines(const std::vector<std::string> &Lines);
    // Shows the text of a match and, beside it, Results (null for none). A series opens on its
    // results, a single game on its text.
    void SetResults(const std::vector<std::string> &Lines, std::shared_ptr<const TMatchResults> Results);
    // Shows Text on the status line under the memo (where the results were kept, say).
    void ShowStatus(const QString &Text);
    // The lines of the result text (UTF-8), as they are saved; the memo shows them, and below them
    // why bots lost by a fault or a refusal.
    std::vector<std::string> ResultLines() const;

    // Double click on the memo, the label or the free area, the save button or Ctrl+S: asks for a
    // file (offering the last one, or a new name in the current folder) and saves the log there. The
    // status line tells where it went; a failure is also shown in a message box. The memo and the
    // window stay as they are.
    void ResultMemoDblClick(QObject *Sender);
    // Brings the window to the front each time it is shown.
    void FormShow(QObject *Sender);
    // Opens the game chosen in the results view (or the only game) in the replay viewer.
    void ReplayButtonClick(QObject *Sender);
    // Opens game Game (0 for the first) of the shown results in the replay viewer.
    void OpenReplay(int64_t Game);

    void done(int Result) override;

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;
    void mouseDoubleClickEvent(QMouseEvent *Event) override;
    void showEvent(QShowEvent *Event) override;
    void resizeEvent(QResizeEvent *Event) override;

private:
    void PlaceControls();
    int ReplayButtonWidth() const;

    TLogFileChoice LastLogFile;
    std::shared_ptr<const TMatchResults> Results;
    std::vector<std::string> LogLines;
};

}  // namespace velkaran
