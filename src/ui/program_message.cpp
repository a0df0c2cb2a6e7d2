#include "program_message.h"

#include <QMessageBox>

namespace velkaran {

namespace {

QString &TitleStorage() {
    static QString Title = QStringLiteral("Velkaran");
    return Title;
}

}  // namespace

QString ProgramTitle() { return TitleStorage(); }

void SetProgramTitle(const QString &Title) { TitleStorage() = Title; }

void ShowProgramMessage(QWidget *Parent, TMessageKind Kind, const QString &Text) {
    QMessageBox Box(Kind == TMessageKind::Error ? QMessageBox::Critical : QMessageBox::NoIcon, ProgramTitle(),
                    Text, QMessageBox::Ok, Parent);
    Box.setTextFormat(Qt::PlainText);
    Box.exec();
}

}  // namespace velkaran
