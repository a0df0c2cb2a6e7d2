// The "Результаты" window: the series kept in the results folder and the documents opened lately,
// each with its date, players, games and score; any of them opens in the result window, and a kept
// one can be deleted. The folder is shown here and can be changed.
#pragma once

#include "summary/result_folder.h"

#include <QDialog>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

class QLabel;
class QPushButton;
class QTableWidget;

namespace velkaran {

class TResultsListForm : public QDialog {
public:
    explicit TResultsListForm(QWidget *Parent = nullptr);

    QLabel *FolderLabel;          // "Папка результатов: <folder>"
    QPushButton *FolderButton;    // "Папка…": chooses another folder
    QTableWidget *List;           // one row per document, the newest kept series first
    QPushButton *OpenButton;      // "Открыть": the chosen document (also a double click or Return)
    QPushButton *OpenFileButton;  // "Открыть файл…"
    QPushButton *DeleteButton;  // "Удалить": a kept series with its log; an opened file leaves the list only
    QPushButton *CompareButton;  // "Сравнить": the two chosen series of the same two players side by side
    QDialog *ComparisonForm = nullptr;        // made at the first comparison
    QTableWidget *ComparisonTable = nullptr;  // in ComparisonForm
    QPushButton *CloseButton;                 // "Закрыть"

    // Opens the document at Path where it belongs (the main window's); true when it opened.
    std::function<bool(const QString &Path)> OnOpen;
    // Asks for a document to open (an empty name: cancelled).
    std::function<QString(QWidget *Parent)> AskFile;
    // Asks for the results folder, offering Current (an empty name: cancelled). Tests replace it.
    std::function<QString(QWidget *Parent, const QString &Current)> AskFolder;
    // Asks Question with yes and no; true for yes. Tests replace it.
    std::function<bool(QWidget *Parent, const QString &Question)> Confirm;

    // Reads the folder and the recent files again and shows what they hold.
    void Refresh();
    // The documents listed, row by row.
    const std::vector<TResultEntry> &Entries() const { return Shown; }
    // Selects row Row (the first is 0); Adding keeps the rows chosen before.
    void SelectRow(int Row, bool Adding = false);
    // Opens, or deletes after the user confirms, the document of the chosen row.
    void OpenButtonClick(QObject *Sender);
    void DeleteButtonClick(QObject *Sender);
    void OpenFileButtonClick(QObject *Sender);
    // Compares the two chosen rows (see SeriesComparison); a message says why when they are not
    // two readable series of the same two players.
    void CompareButtonClick(QObject *Sender);
    void FolderButtonClick(QObject *Sender);

protected:
    void showEvent(QShowEvent *Event) override;

private:
    int SelectedRow() const;
    // Entry of the document at Path, read again only when the file changed since the last time.
    TResultEntry Describe(const std::string &Path);

    std::vector<TResultEntry> Shown;
    std::vector<bool> InFolder;  // by row: a kept series (deleted from disk) or an opened file
    std::map<std::string, std::pair<std::string, TResultEntry>> Known;  // path: (file stamp, entry)
    bool Placed = false;
};

}  // namespace velkaran
