#include "game_result_unit.h"

#include "match/result_log.h"

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

namespace velkaran {

namespace {

constexpr int DesignWidth = 411;
constexpr int DesignHeight = 203;
constexpr int MemoDesignHeight = 169;
constexpr int ButtonWidth = 75;
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

QString AskLogFileName(QWidget *Parent, const QString &Previous) {
    return QFileDialog::getSaveFileName(Parent, QString(), Previous, QString(), nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

TGameResultForm::TGameResultForm(QWidget *Parent)
    : QDialog(Parent),
      ResultMemo(new QPlainTextEdit(this)),
      OKButton(new QPushButton(QStringLiteral("OK"), this)),
      Label1(new QLabel(QStringLiteral("Двойной клик для сохранения лога"), this)) {
    setObjectName(QStringLiteral("GameResultForm"));
    setWindowTitle(QStringLiteral("Результат игры"));
    setFont(FormFont());
    resize(DesignWidth, DesignHeight);

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

    setTabOrder(ResultMemo, OKButton);
}

void TGameResultForm::SetResultLines(const std::vector<std::string> &Lines) {
    QStringList Text;
    Text.reserve(static_cast<qsizetype>(Lines.size()));
    for (const std::string &Line : Lines) Text.append(QString::fromStdString(Line));
    ResultMemo->setPlainText(Text.join(u'\n'));
}

std::vector<std::string> TGameResultForm::ResultLines() const {
    std::vector<std::string> Lines;
    if (ResultMemo->document()->isEmpty()) return Lines;
    for (const QString &Line : ResultMemo->toPlainText().split(u'\n')) Lines.push_back(Line.toStdString());
    return Lines;
}

void TGameResultForm::ResultMemoDblClick(QObject *) {
    const QString FileName = LogSaveDialog(this, LastLogFileName);
    if (FileName.isEmpty()) return;
    LastLogFileName = FileName;
    const auto Failure = SaveResultLog(ResultLines(), QFile::encodeName(FileName).toStdString());
    if (Failure) ShowMessage(this, TMessageKind::Error, QString::fromStdString(*Failure));
}

void TGameResultForm::FormShow(QObject *) {
    if (const QScreen *Screen = screen()) move(Screen->availableGeometry().center() - rect().center());
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
    const int Width = width();
    const int Height = height();
    const int BottomStrip = DesignHeight - MemoDesignHeight;
    ResultMemo->setGeometry(0, 0, Width, Height - BottomStrip);
    OKButton->setGeometry(Width - ButtonWidth - 2 * Margin, Height - ButtonHeight - Margin, ButtonWidth,
                          ButtonHeight);
    const int LabelHeight = Label1->sizeHint().height();
    Label1->setGeometry(2 * Margin, Height - BottomStrip + (BottomStrip - LabelHeight) / 2,
                        Label1->sizeHint().width(), LabelHeight);
}

}  // namespace velkaran
