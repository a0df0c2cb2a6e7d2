// The help window: the rules of the game, opened from the main window's "Правила" button.
#pragma once

#include <QDialog>

class QPushButton;
class QTextBrowser;

namespace velkaran {

// A window of its own (not modal) over the main window: the text of RulesHelpHtml in a scrolling
// view ("HelpText") and a close button ("CloseButton"); Escape closes it as well.
class THelpForm : public QDialog {
public:
    explicit THelpForm(QWidget *Parent = nullptr);

    QTextBrowser *HelpText;
    QPushButton *CloseButton;

protected:
    void showEvent(QShowEvent *Event) override;

private:
    bool Placed = false;  // centred over the main window at its first showing only
};

}  // namespace velkaran
