#include "results_list_form.h"

#include "decimal_separator.h"
#include "stored_settings.h"
#include "summary/match_results.h"
#include "summary/series_comparison.h"
#include "velkui/window_placement.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <filesystem>
#include <memory>

namespace velkaran {
namespace {

QString AskResultsFolder(QWidget *Parent, const QString &Current) {
    return QFileDialog::getExistingDirectory(Parent, QStringLiteral("Папка результатов"), Current);
}

bool AskYesNo(QWidget *Parent, const QString &Question) {
    return QMessageBox::question(Parent, QStringLiteral("Результаты"), Question) == QMessageBox::Yes;
}

// What tells that a file changed: its size and its time of writing.
std::string FileStamp(const std::string &Path) {
    std::error_code Failure;
    const auto Size = std::filesystem::file_size(Path, Failure);
    if (Failure) return {};
    const auto Written = std::filesystem::last_write_time(Path, Failure);
    return std::to_string(Size) + "/" + std::to_string(Written.time_since_epoch().count());
}

}  // namespace

TResultsListForm::TResultsListForm(QWidget *Parent)
    : QDialog(Parent),
      FolderLabel(new QLabel(this)),
      FolderButton(new QPushButton(QStringLiteral("Папка…"), this)),
      List(new QTableWidget(this)),
      OpenButton(new QPushButton(QStringLiteral("Открыть"), this)),
      OpenFileButton(new QPushButton(QStringLiteral("Открыть файл…"), this)),
      DeleteButton(new QPushButton(QStringLiteral("Удалить"), this)),
      CompareButton(new QPushButton(QStringLiteral("Сравнить"), this)),
      CloseButton(new QPushButton(QStringLiteral("Закрыть"), this)),
      AskFolder(AskResultsFolder),
      Confirm(AskYesNo) {
    setObjectName(QStringLiteral("ResultsListForm"));
    setWindowTitle(QStringLiteral("Результаты"));
    setModal(false);
    FolderLabel->setObjectName(QStringLiteral("FolderLabel"));
    FolderLabel->setTextFormat(Qt::PlainText);
    FolderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    FolderLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    FolderButton->setObjectName(QStringLiteral("FolderButton"));
    FolderButton->setToolTip(QStringLiteral("Выбрать папку, в которой сохраняются серии"));
    List->setObjectName(QStringLiteral("ResultsList"));
    List->setEditTriggers(QAbstractItemView::NoEditTriggers);
    List->setSelectionBehavior(QAbstractItemView::SelectRows);
    List->setSelectionMode(QAbstractItemView::ExtendedSelection);
    List->verticalHeader()->setVisible(false);
    List->horizontalHeader()->setStretchLastSection(true);
    List->setToolTip(QStringLiteral("Двойной щелчок или Enter — открыть"));
    OpenButton->setObjectName(QStringLiteral("OpenButton"));
    OpenButton->setDefault(true);
    OpenFileButton->setObjectName(QStringLiteral("OpenFileButton"));
    DeleteButton->setObjectName(QStringLiteral("DeleteButton"));
    CompareButton->setObjectName(QStringLiteral("CompareButton"));
    CompareButton->setToolTip(QStringLiteral("Выберите две серии одних и тех же двух ботов (Ctrl+щелчок)"));
    CloseButton->setObjectName(QStringLiteral("CloseButton"));

    connect(FolderButton, &QPushButton::clicked, this, [this] { FolderButtonClick(FolderButton); });
    connect(OpenButton, &QPushButton::clicked, this, [this] { OpenButtonClick(OpenButton); });
    connect(OpenFileButton, &QPushButton::clicked, this, [this] { OpenFileButtonClick(OpenFileButton); });
    connect(DeleteButton, &QPushButton::clicked, this, [this] { DeleteButtonClick(DeleteButton); });
    connect(CompareButton, &QPushButton::clicked, this, [this] { CompareButtonClick(CompareButton); });
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::close);
    connect(List, &QTableWidget::cellDoubleClicked, this, [this] { OpenButtonClick(List); });

    auto *Folder = new QHBoxLayout;
    Folder->addWidget(FolderLabel, 1);
    Folder->addWidget(FolderButton);
    auto *Buttons = new QHBoxLayout;
    Buttons->addWidget(OpenButton);
    Buttons->addWidget(OpenFileButton);
    Buttons->addWidget(DeleteButton);
    Buttons->addWidget(CompareButton);
    Buttons->addStretch();
    Buttons->addWidget(CloseButton);
    auto *Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(8, 8, 8, 8);
    Layout->addLayout(Folder);
    Layout->addWidget(List, 1);
    Layout->addLayout(Buttons);
    resize(760, 460);
}

TResultEntry TResultsListForm::Describe(const std::string &Path) {
    const std::string Stamp = FileStamp(Path);
    const auto Found = Known.find(Path);
    if (Found != Known.end() && Found->second.first == Stamp && !Stamp.empty()) return Found->second.second;
    TResultEntry Entry = DescribeResult(Path);
    Known[Path] = {Stamp, Entry};
    return Entry;
}

void TResultsListForm::Refresh() {
    const std::string Folder = StoredResultsFolder();
    const QString FolderText = QStringLiteral("Папка результатов: %1").arg(QString::fromStdString(Folder));
    FolderLabel->setText(FolderText);
    FolderLabel->setToolTip(FolderText);
    Shown.clear();
    InFolder.clear();
    std::vector<std::string> Kept = KeptResults(Folder);
    for (const std::string &Path : Kept) {
        Shown.push_back(Describe(Path));
        InFolder.push_back(true);
    }
    for (const std::string &Path : RecentFiles()) {
        std::error_code Failure;
        if (std::find(Kept.begin(), Kept.end(), Path) != Kept.end() ||
            !std::filesystem::exists(Path, Failure))
            continue;
        Shown.push_back(Describe(Path));
        InFolder.push_back(false);
    }
    const std::string Separator = LocaleDecimalSeparator();
    const std::vector<std::string> Header = ResultListHeader();
    List->clear();
    List->setColumnCount(static_cast<int>(Header.size()));
    List->setRowCount(static_cast<int>(Shown.size()));
    QStringList Captions;
    for (const std::string &Caption : Header) Captions.append(QString::fromStdString(Caption));
    List->setHorizontalHeaderLabels(Captions);
    for (int Row = 0; Row < List->rowCount(); ++Row) {
        const TResultEntry &Entry = Shown[static_cast<std::size_t>(Row)];
        const std::vector<std::string> Cells = ResultListRow(Entry, Separator);
        for (int Column = 0; Column < static_cast<int>(Cells.size()); ++Column) {
            auto *Item =
                new QTableWidgetItem(QString::fromStdString(Cells[static_cast<std::size_t>(Column)]));
            Item->setToolTip(QString::fromStdString(Entry.Path));
            List->setItem(Row, Column, Item);
        }
    }
    List->resizeColumnsToContents();
    const bool Any = !Shown.empty();
    OpenButton->setEnabled(Any);
    DeleteButton->setEnabled(Any);
    if (Any) SelectRow(0);
}

void TResultsListForm::SelectRow(int Row, bool Adding) {
    if (Row < 0 || Row >= List->rowCount()) return;
    const auto Flags = (Adding ? QItemSelectionModel::Select : QItemSelectionModel::ClearAndSelect) |
                       QItemSelectionModel::Rows;
    List->selectionModel()->setCurrentIndex(List->model()->index(Row, 0), Flags);
}

void TResultsListForm::CompareButtonClick(QObject *) {
    QModelIndexList Chosen = List->selectionModel()->selectedRows();
    std::sort(Chosen.begin(), Chosen.end());
    if (Chosen.size() != 2) {
        QMessageBox::information(this, QStringLiteral("Результаты"),
                                 QStringLiteral("Выберите две серии (Ctrl+щелчок по второй)."));
        return;
    }
    const std::string Separator = LocaleDecimalSeparator();
    std::array<std::shared_ptr<TMatchResults>, 2> Series;
    std::array<std::string, 2> Captions;
    for (std::size_t Index = 0; Index < 2; ++Index) {
        const TResultEntry &Entry = Shown[static_cast<std::size_t>(Chosen[static_cast<int>(Index)].row())];
        std::string Error;
        Series[Index] = LoadMatchResults(Entry.Path, Separator, Error);
        if (!Series[Index]) {
            QMessageBox::warning(this, QStringLiteral("Результаты"),
                                 QStringLiteral("«%1» не сравнить: %2")
                                     .arg(QString::fromStdString(Entry.Path), QString::fromStdString(Error)));
            return;
        }
        Captions[Index] = ResultListRow(Entry, Separator).front();
    }
    if (!SameTwoPlayers(*Series[0], *Series[1])) {
        QMessageBox::information(this, QStringLiteral("Результаты"),
                                 QStringLiteral("Сравнить можно только серии одних и тех же двух ботов."));
        return;
    }
    if (Captions[0] == Captions[1]) Captions = {Captions[0] + " (1)", Captions[1] + " (2)"};
    const TTextTable Table = SeriesComparison(*Series[0], *Series[1], Captions, Separator);
    if (ComparisonForm == nullptr) {
        ComparisonForm = new QDialog(this);
        ComparisonForm->setObjectName(QStringLiteral("ComparisonForm"));
        ComparisonForm->setWindowTitle(QStringLiteral("Сравнение серий"));
        ComparisonTable = new QTableWidget(ComparisonForm);
        ComparisonTable->setObjectName(QStringLiteral("ComparisonTable"));
        ComparisonTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
        ComparisonTable->verticalHeader()->setVisible(false);
        ComparisonTable->horizontalHeader()->setStretchLastSection(true);
        auto *Close = new QPushButton(QStringLiteral("Закрыть"), ComparisonForm);
        connect(Close, &QPushButton::clicked, ComparisonForm, &QDialog::close);
        auto *Layout = new QVBoxLayout(ComparisonForm);
        Layout->addWidget(ComparisonTable, 1);
        Layout->addWidget(Close, 0, Qt::AlignRight);
        ComparisonForm->resize(720, 330);
    }
    ComparisonTable->clear();
    ComparisonTable->setColumnCount(static_cast<int>(Table.Header.size()));
    ComparisonTable->setRowCount(static_cast<int>(Table.Rows.size()));
    QStringList Header;
    for (const std::string &Caption : Table.Header) Header.append(QString::fromStdString(Caption));
    ComparisonTable->setHorizontalHeaderLabels(Header);
    for (int Row = 0; Row < ComparisonTable->rowCount(); ++Row)
        for (int Column = 0; Column < ComparisonTable->columnCount(); ++Column)
            ComparisonTable->setItem(
                Row, Column,
                new QTableWidgetItem(QString::fromStdString(
                    Table.Rows[static_cast<std::size_t>(Row)][static_cast<std::size_t>(Column)])));
    ComparisonTable->resizeColumnsToContents();
    ComparisonForm->show();
    ComparisonForm->raise();
    CentreOnParent(*ComparisonForm);
}

int TResultsListForm::SelectedRow() const {
    const QList<QTableWidgetSelectionRange> Ranges = List->selectedRanges();
    return Ranges.isEmpty() ? -1 : Ranges.front().topRow();
}

void TResultsListForm::OpenButtonClick(QObject *) {
    const int Row = SelectedRow();
    if (Row < 0 || !OnOpen) return;
    OnOpen(QString::fromStdString(Shown[static_cast<std::size_t>(Row)].Path));
    Refresh();  // the file opened is now a recent one
    SelectRow(std::min(Row, List->rowCount() - 1));
}

void TResultsListForm::OpenFileButtonClick(QObject *) {
    const QString Path = AskFile ? AskFile(this) : QString();
    if (Path.isEmpty() || !OnOpen) return;
    OnOpen(Path);
    Refresh();
}

void TResultsListForm::DeleteButtonClick(QObject *) {
    const int Row = SelectedRow();
    if (Row < 0) return;
    const TResultEntry &Entry = Shown[static_cast<std::size_t>(Row)];
    const QString Path = QString::fromStdString(Entry.Path);
    if (!InFolder[static_cast<std::size_t>(Row)]) {
        // A file of the user's own is only taken off the list.
        ForgetRecentFile(Entry.Path);
    } else {
        if (!Confirm(this, QStringLiteral("Удалить «%1» и его лог?").arg(Path))) return;
        std::string Error;
        if (!RemoveResult(Entry.Path, Error))
            QMessageBox::warning(this, QStringLiteral("Результаты"), QString::fromStdString(Error));
        ForgetRecentFile(Entry.Path);
    }
    Refresh();
    SelectRow(std::min(Row, List->rowCount() - 1));
}

void TResultsListForm::FolderButtonClick(QObject *) {
    const QString Folder = AskFolder(this, QString::fromStdString(StoredResultsFolder()));
    if (Folder.isEmpty()) return;
    StoreResultsFolder(Folder.toStdString());
    Refresh();
}

void TResultsListForm::showEvent(QShowEvent *Event) {
    QDialog::showEvent(Event);
    if (Placed || Event->spontaneous()) return;
    Placed = true;
    CentreOnParent(*this);
}

}  // namespace velkaran
