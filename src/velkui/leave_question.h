// The question a window asks before a human gives up the game.
#pragma once

#include <QString>

class QWidget;

namespace velkaran {

// Texts and object names of one give-up question (the names let tests find its parts).
struct TLeaveQuestion {
    QString Title;
    QString Text;
    QString LeaveCaption;
    QString StayCaption;
    const char *QuestionName;
    const char *LeaveName;
    const char *StayName;
};

// Asks Question modally over Parent, with "stay" as the default; true when the human chose to leave.
bool AskToLeave(QWidget *Parent, const TLeaveQuestion &Question);

}  // namespace velkaran
