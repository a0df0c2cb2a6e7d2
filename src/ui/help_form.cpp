#include "help_form.h"

#include "decimal_separator.h"
#include "help_text.h"
#include "velkui/window_placement.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QShowEvent>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace velkaran {

THelpForm::THelpForm(QWidget *Parent)
    : QDialog(Parent),
      HelpText(new QTextBrowser(this)),
      CloseButton(new QPushButton(QStringLiteral("Закрыть"), this)) {
    setObjectName(QStringLiteral("HelpForm"));
    setWindowTitle(QStringLiteral("Правила игры"));
    setModal(false);
    QFont TextFont = HelpText->font();
    TextFont.setPixelSize(13);
    HelpText->setFont(TextFont);
    HelpText->setObjectName(QStringLiteral("HelpText"));
    HelpText->setOpenLinks(false);
    HelpText->setHtml(QString::fromStdString(RulesHelpHtml(LocaleDecimalSeparator())));
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    CloseButton->setDefault(true);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::close);

    auto *Buttons = new QHBoxLayout;
    Buttons->addStretch();
    Buttons->addWidget(CloseButton);
    auto *Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(8, 8, 8, 8);
    Layout->addWidget(HelpText, 1);
    Layout->addLayout(Buttons);
    resize(620, 600);
}

void THelpForm::showEvent(QShowEvent *Event) {
    QDialog::showEvent(Event);
    if (Placed || Event->spontaneous()) return;
    Placed = true;
    CentreOnParent(*this);
}

}  // namespace velkaran
