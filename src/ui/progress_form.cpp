#include "progress_form.h"

#include "match_run.h"
#include "velkui/window_placement.h"

#include "summary/progress_text.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace velkaran {

namespace {

constexpr int RefreshMs = 200;

QLabel *NewLabel(const char *Name, QWidget *Parent) {
    auto *Label = new QLabel(Parent);
    Label->setObjectName(QString::fromLatin1(Name));
    Label->setTextFormat(Qt::PlainText);
    return Label;
}

}  // namespace

TMatchProgressForm::TMatchProgressForm(QWidget *Parent)
    : QDialog(Parent),
      PlayersLabel(NewLabel("PlayersLabel", this)),
      GamesBar(new QProgressBar(this)),
      GamesLabel(NewLabel("GamesLabel", this)),
      ScoreLabel(NewLabel("ScoreLabel", this)),
      SpeedLabel(NewLabel("SpeedLabel", this)),
      TimeLabel(NewLabel("TimeLabel", this)),
      ThinkingLabel(NewLabel("ThinkingLabel", this)),
      StopStateLabel(NewLabel("StopStateLabel", this)),
      StopAfterGameButton(new QPushButton(QStringLiteral("Остановить после этой игры"), this)),
      StopNowButton(new QPushButton(QStringLiteral("Остановить сейчас"), this)),
      RefreshTimer(new QTimer(this)) {
    setObjectName(QStringLiteral("MatchProgressForm"));
    setModal(false);
    QFont Headline = PlayersLabel->font();
    Headline.setBold(true);
    Headline.setPixelSize(14);
    PlayersLabel->setFont(Headline);
    GamesBar->setObjectName(QStringLiteral("GamesBar"));
    GamesBar->setRange(0, 1000);
    GamesBar->setTextVisible(false);
    StopStateLabel->setWordWrap(true);
    StopAfterGameButton->setObjectName(QStringLiteral("StopAfterGameButton"));
    StopAfterGameButton->setToolTip(QStringLiteral("Доиграть начатую игру и показать итоги сыгранных игр"));
    StopNowButton->setObjectName(QStringLiteral("StopNowButton"));
    StopNowButton->setToolTip(
        QStringLiteral("Прервать начатую игру (её процессы ботов завершаются) и показать итоги "
                       "уже сыгранных игр"));
    StopAfterGameButton->setAutoDefault(false);
    StopNowButton->setAutoDefault(false);
    connect(StopAfterGameButton, &QPushButton::clicked, this,
            [this] { StopAfterGameButtonClick(StopAfterGameButton); });
    connect(StopNowButton, &QPushButton::clicked, this, [this] { StopNowButtonClick(StopNowButton); });
    connect(RefreshTimer, &QTimer::timeout, this, &TMatchProgressForm::Refresh);

    auto *Buttons = new QHBoxLayout;
    Buttons->addStretch();
    Buttons->addWidget(StopAfterGameButton);
    Buttons->addWidget(StopNowButton);
    auto *Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(12, 10, 12, 10);
    Layout->setSpacing(6);
    Layout->addWidget(PlayersLabel);
    Layout->addWidget(GamesBar);
    Layout->addWidget(GamesLabel);
    Layout->addWidget(ScoreLabel);
    Layout->addWidget(SpeedLabel);
    Layout->addWidget(TimeLabel);
    Layout->addWidget(ThinkingLabel);
    Layout->addWidget(StopStateLabel);
    Layout->addStretch();
    Layout->addLayout(Buttons);
    resize(460, 230);
}

void TMatchProgressForm::Watch(std::shared_ptr<TMatchRun> Watched) {
    Run = std::move(Watched);
    const bool Series = Run->IsSeries();
    setWindowTitle(Series ? QStringLiteral("Идёт серия игр") : QStringLiteral("Идёт игра"));
    PlayersLabel->setText(QString::fromStdString(Run->Names()[0] + " — " + Run->Names()[1]));
    GamesBar->setVisible(Series);
    StopAfterGameButton->setVisible(Series);
    StopAfterGameButton->setEnabled(true);
    StopNowButton->setEnabled(true);
    StopStateLabel->clear();
    Refresh();
    RefreshTimer->start(RefreshMs);
    CentreOnParent(*this);
}

void TMatchProgressForm::Unwatch() {
    RefreshTimer->stop();
    Run.reset();
}

void TMatchProgressForm::Refresh() {
    if (!Run) return;
    const TProgressText Text = Run->IsSeries()
                                   ? SeriesProgressText(Run->Progress(), Run->Names(), Run->ElapsedSeconds(),
                                                        Run->Results()->DecimalSeparator)
                                   : SingleGameProgressText(Run->Names(), Run->ElapsedSeconds());
    GamesBar->setValue(Text.PerMille);
    GamesLabel->setText(QString::fromStdString(Text.Games));
    ScoreLabel->setText(QString::fromStdString(Text.Score));
    ScoreLabel->setVisible(!Text.Score.empty());
    SpeedLabel->setText(QString::fromStdString(Text.Speed));
    SpeedLabel->setVisible(Run->IsSeries());
    TimeLabel->setText(QString::fromStdString(Text.Time));
    const std::optional<TMatchRun::TThinking> Thinking = Run->Thinking();
    const std::string Thinks = Thinking ? ThinkingText(Thinking->Name, Thinking->Seconds) : std::string();
    ThinkingLabel->setText(QString::fromStdString(Thinks));
    ThinkingLabel->setVisible(!Thinks.empty());
}

void TMatchProgressForm::StopAfterGameButtonClick(QObject *) {
    if (!Run) return;
    Run->RequestStop(TStopRequest::AfterThisGame);
    StopAfterGameButton->setEnabled(false);
    StopStateLabel->setText(QStringLiteral("Серия остановится, как только закончится начатая игра."));
}

void TMatchProgressForm::StopNowButtonClick(QObject *) {
    if (!Run) return;
    Run->RequestStop(TStopRequest::AtOnce);
    StopAfterGameButton->setEnabled(false);
    StopNowButton->setEnabled(false);
    StopStateLabel->setText(QStringLiteral("Начатая игра прерывается…"));
}

void TMatchProgressForm::AskToStop() {
    if (!Run) return;
    if (Run->IsSeries() && Run->StopRequested() == TStopRequest::None)
        StopAfterGameButtonClick(this);
    else
        StopNowButtonClick(this);
}

void TMatchProgressForm::closeEvent(QCloseEvent *Event) {
    // The window goes when the match has ended; until then closing it asks the match to stop.
    if (Run) {
        Event->ignore();
        AskToStop();
        return;
    }
    QDialog::closeEvent(Event);
}

void TMatchProgressForm::reject() {
    if (Run) {
        AskToStop();
        return;
    }
    QDialog::reject();
}

}  // namespace velkaran
