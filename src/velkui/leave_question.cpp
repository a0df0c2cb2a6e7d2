// The question a window asks before a human gives up the game.
#include "leave_question.h"

#include <QMessageBox>
#include <QPushButton>

namespace velkaran {

bool AskToLeave(QWidget *Parent, const TLeaveQuestion &Question) {
    QMessageBox Box(QMessageBox::Question, Question.Title, Question.Text, QMessageBox::NoButton, Parent);
    Box.setObjectName(Question.QuestionName);
    QPushButton *Leave = Box.addButton(Question.LeaveCaption, QMessageBox::DestructiveRole);
    QPushButton *Stay = Box.addButton(Question.StayCaption, QMessageBox::RejectRole);
    Leave->setObjectName(Question.LeaveName);
    Stay->setObjectName(Question.StayName);
    Box.setDefaultButton(Stay);
    Box.exec();
    return Box.clickedButton() == Leave;
}

}  // namespace velkaran
