#include "game_result_unit.h"

#include "match_run.h"
#include "replay_form.h"
#include "results_view.h"
#include "series_charts_view.h"
#include "velkui/window_placement.h"

#include "match/result_log.h"
#include "summary/results_text.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTabWidget>

#include <algorithm>

namespace velkaran {

namespace {

// Large enough that the results view shows its summary without scrolling, and within a 1366 x 768
// screen less a panel.
constexpr int DefaultWidth = 900;
constexpr int DefaultHeight = 640;
constexpr int BottomStrip = 34;  // the 203 - 169 of the window's original design
constexpr int ButtonWidth = 75;
constexpr int SaveButtonWidth = 90;
constexpr int ButtonHeight = 25;
constexpr int Margin = 4;

QFont FormFont() {
    QFont Font(QStringLiteral("Tahoma"));
    Font.setPixelSize(11);
    return Font;
}

// "Courier New" where it exists (or a metric-compatible substitute), otherwise any fixed-pitch font:
// the report is a table whose columns line up only in a monospaced font.
QFont MemoFont() {
    QFont Font(QStringLiteral("Courier New"));
    Font.setStyleHint(QFont::TypeWriter);
    Font.setFixedPitch(true);
    Font.setPixelSize(11);
    if (!QFontInfo(Font).fixedPitch()) {
        Font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        Font.setPixelSize(11);
    }
    return Font;
}

}  // namespace

TLogFileChoice AskLogFileName(QWidget *Parent, const TLogFileChoice &Offered) {
    const QString Windows1251Filter = QStringLiteral("Windows-1251, строки CR LF (*)");
    const QString Utf8Filter = QStringLiteral("UTF-8, строки CR LF (*)");
    QFileDialog Dialog(Parent, QStringLiteral("Сохранить лог"));
    Dialog.setObjectName(QStringLiteral("LogSaveDialog"));
    Dialog.setAcceptMode(QFileDialog::AcceptSave);
    Dialog.setFileMode(QFileDialog::AnyFile);
    Dialog.setNameFilters({Windows1251Filter, Utf8Filter});
    Dialog.selectNameFilter(Offered.Encoding == TLogEncoding::Utf8 ? Utf8Filter : Windows1251Filter);
    if (!Offered.FileName.isEmpty()) Dialog.selectFile(Offered.FileName);
    if (Dialog.exec() != QDialog::Accepted || Dialog.selectedFiles().isEmpty()) return {};
    return {Dialog.selectedFiles().front(),
            Dialog.selectedNameFilter() == Utf8Filter ? TLogEncoding::Utf8 : TLogEncoding::Windows1251};
}

TGameResultForm::TGameResultForm(QWidget *Parent)
    : QDialog(Parent),
      Views(new QTabWidget(this)),
      ResultsView(new TResultsView(this)),
      ChartsView(new TSeriesChartsView(this)),
      ResultMemo(new QPlainTextEdit(this)),
      OKButton(new QPushButton(QStringLiteral("OK"), this)),
      Label1(new QLabel(QStringLiteral("Двойной клик для сохранения лога"), this)),
      SaveButton(new QPushButton(QStringLiteral("Сохранить…"), this)),
      ReplayButton(new QPushButton(QStringLiteral("Просмотр игры…"), this)),
      SaveStatusLabel(new QLabel(this)) {
    setObjectName(QStringLiteral("GameResultForm"));
    setWindowTitle(QStringLiteral("Результат игры"));
    setFont(FormFont());
    resize(DefaultWidth, DefaultHeight);

    Views->setObjectName(QStringLiteral("Views"));
    Views->addTab(ResultsView, QStringLiteral("Итоги"));
    Views->addTab(ChartsView, QStringLiteral("Графики"));
    Views->addTab(ResultMemo, QStringLiteral("Текст"));
    Views->setDocumentMode(true);
    ResultsView->OnOpenGame = [this](int64_t Game) { OpenReplay(Game); };
    // The hint about double clicks is the text's: the results view has its own.
    connect(Views, &QTabWidget::currentChanged, this,
            [this] { Label1->setVisible(Views->currentWidget() == ResultMemo); });

    ResultMemo->setObjectName(QStringLiteral("ResultMemo"));
    ResultMemo->setReadOnly(true);
    ResultMemo->setFont(MemoFont());
    ResultMemo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    ResultMemo->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    ResultMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ResultMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ResultMemo->viewport()->installEventFilter(this);

    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    Label1->setObjectName(QStringLiteral("Label1"));
    QFont LabelFont = FormFont();
    LabelFont.setPixelSize(16);
    Label1->setFont(LabelFont);
    Label1->installEventFilter(this);

    SaveButton->setObjectName(QStringLiteral("SaveButton"));
    SaveButton->setAutoDefault(false);
    connect(SaveButton, &QPushButton::clicked, this, [this] { ResultMemoDblClick(SaveButton); });
    auto *SaveKey = new QShortcut(QKeySequence::Save, this);
    connect(SaveKey, &QShortcut::activated, this, [this] { ResultMemoDblClick(this); });

    ReplayButton->setObjectName(QStringLiteral("ReplayButton"));
    ReplayButton->setAutoDefault(false);
    ReplayButton->setToolTip(QStringLiteral("Открыть выбранную в списке игру в окне просмотра"));
    connect(ReplayButton, &QPushButton::clicked, this, [this] { ReplayButtonClick(ReplayButton); });

    SaveStatusLabel->setObjectName(QStringLiteral("SaveStatusLabel"));
    SaveStatusLabel->setTextFormat(Qt::PlainText);
    SaveStatusLabel->setVisible(false);

    setTabOrder(Views, ReplayButton);
    setTabOrder(ReplayButton, SaveButton);
    setTabOrder(SaveButton, OKButton);
    setMinimumWidth(4 * Margin + Label1->sizeHint().width() + ReplayButtonWidth() + SaveButtonWidth +
                    ButtonWidth + 5 * Margin);
    SetResults({}, nullptr);
}

int TGameResultForm::ReplayButtonWidth() const { return ReplayButton->sizeHint().width(); }

void TGameResultForm::SetResultLines(const std::vector<std::string> &Lines) { SetResults(Lines, nullptr); }

void TGameResultForm::SetResults(const std::vector<std::string> &Lines,
                                 std::shared_ptr<const TMatchResults> Shown) {
    Results = std::move(Shown);
    ResultsView->ShowResults(Results);
    const bool Series = Results && Results->Scope.Series;
    ChartsView->ShowCharts(Series ? SeriesCharts(Results->Summary, Results->Names, Results->DecimalSeparator)
                                  : TSeriesCharts{});
    Views->setTabVisible(Views->indexOf(ChartsView), Series);
    ReplayButton->setEnabled(Results && Results->Archive && Results->Archive->Count() > 0);
    Views->setCurrentWidget(Series ? static_cast<QWidget *>(ResultsView) : ResultMemo);
    if (ReplayForm != nullptr) ReplayForm->close();
    LogLines = Lines;
    // Below the log's text, not in it: why bots lost by a fault or a refusal.
    std::vector<std::string> Memo = Lines;
    if (Results) {
        constexpr std::size_t MostReasons = 50;
        const std::vector<std::string> Reasons =
            GameReasonLines(Results->Summary, Results->Names, MostReasons);
        if (!Reasons.empty()) Memo.emplace_back();
        Memo.insert(Memo.end(), Reasons.begin(), Reasons.end());
    }
    QStringList Text;
    Text.reserve(static_cast<qsizetype>(Memo.size()));
    for (const std::string &Line : Memo) Text.append(QString::fromStdString(Line));
    ResultMemo->setPlainText(Text.join(u'\n'));
    SaveStatusLabel->setVisible(false);  // a new text has not been saved yet
    PlaceControls();
}

void TGameResultForm::ShowStatus(const QString &Text) {
    SaveStatusLabel->setText(Text);
    SaveStatusLabel->setToolTip(Text);
    SaveStatusLabel->setVisible(true);
    PlaceControls();
}

std::vector<std::string> TGameResultForm::ResultLines() const { return LogLines; }

void TGameResultForm::ResultMemoDblClick(QObject *) {
    TLogFileChoice Offered = LastLogFile;
    if (Offered.FileName.isEmpty())
        Offered.FileName = SuggestedLogFileName(QDateTime::currentDateTime(), QDir::currentPath());
    const TLogFileChoice Chosen = LogSaveDialog(this, Offered);
    if (Chosen.FileName.isEmpty()) return;
    LastLogFile = Chosen;
    const auto Failure = SaveLogFile(ResultLines(), Chosen.FileName, Chosen.Encoding);
    ShowStatus(Failure ? LogNotSavedText() : LogSavedText(Chosen));
    if (Failure) ShowMessage(this, TMessageKind::Error, QString::fromStdString(*Failure));
}

void TGameResultForm::ReplayButtonClick(QObject *) {
    OpenReplay(std::max<int64_t>(ResultsView->SelectedGame(), 0));
}

void TGameResultForm::OpenReplay(int64_t Game) {
    if (!Results || !Results->Archive || Game >= Results->Archive->Count()) return;
    if (ReplayForm == nullptr) ReplayForm = new TReplayForm(this);
    ReplayForm->ShowGame(Results->Archive, Game);
    ReplayForm->show();
    ReplayForm->raise();
    ReplayForm->activateWindow();
}

void TGameResultForm::done(int Result) {
    if (ReplayForm != nullptr) ReplayForm->close();
    QDialog::done(Result);
}

void TGameResultForm::FormShow(QObject *) {
    CentreOnParent(*this);
    raise();
    activateWindow();
}

bool TGameResultForm::eventFilter(QObject *Watched, QEvent *Event) {
    if (Event->type() == QEvent::MouseButtonDblClick &&
        (Watched == ResultMemo->viewport() || Watched == Label1)) {
        ResultMemoDblClick(Watched == Label1 ? static_cast<QObject *>(Label1) : ResultMemo);
        return true;
    }
    return QDialog::eventFilter(Watched, Event);
}

void TGameResultForm::mouseDoubleClickEvent(QMouseEvent *Event) {
    ResultMemoDblClick(this);
    Event->accept();
}

void TGameResultForm::showEvent(QShowEvent *Event) {
    QDialog::showEvent(Event);
    if (!Event->spontaneous()) FormShow(this);
}

void TGameResultForm::resizeEvent(QResizeEvent *Event) {
    QDialog::resizeEvent(Event);
    PlaceControls();
}

void TGameResultForm::PlaceControls() {
    const int Width = width();
    const int Height = height();
    const int StatusHeight = !SaveStatusLabel->isHidden() ? SaveStatusLabel->sizeHint().height() + Margin : 0;
    Views->setGeometry(0, 0, Width, Height - BottomStrip - StatusHeight);
    if (StatusHeight > 0)
        SaveStatusLabel->setGeometry(2 * Margin, Height - BottomStrip - StatusHeight + Margin / 2,
                                     Width - 4 * Margin, StatusHeight - Margin);
    OKButton->setGeometry(Width - ButtonWidth - 2 * Margin, Height - ButtonHeight - Margin, ButtonWidth,
                          ButtonHeight);
    SaveButton->setGeometry(OKButton->x() - SaveButtonWidth - Margin, Height - ButtonHeight - Margin,
                            SaveButtonWidth, ButtonHeight);
    ReplayButton->setGeometry(SaveButton->x() - ReplayButtonWidth() - Margin, Height - ButtonHeight - Margin,
                              ReplayButtonWidth(), ButtonHeight);
    const int LabelHeight = Label1->sizeHint().height();
    Label1->setGeometry(2 * Margin, Height - BottomStrip + (BottomStrip - LabelHeight) / 2,
                        Label1->sizeHint().width(), LabelHeight);
}

}  // namespace velkaran
