#include "window_placement.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace velkaran {

void CentreOnParent(QWidget &Window) {
    const QWidget *Parent = Window.parentWidget() != nullptr ? Window.parentWidget()->window() : nullptr;
    const QScreen *Screen = Parent != nullptr ? Parent->screen() : Window.screen();
    QRect Frame = Window.frameGeometry();
    if (Parent != nullptr)
        Frame.moveCenter(Parent->frameGeometry().center());
    else if (Screen != nullptr)
        Frame.moveCenter(Screen->availableGeometry().center());
    if (Screen != nullptr) {
        const QRect Free = Screen->availableGeometry();
        Frame.moveLeft(
            std::clamp(Frame.left(), Free.left(), std::max(Free.left(), Free.right() - Frame.width())));
        Frame.moveTop(
            std::clamp(Frame.top(), Free.top(), std::max(Free.top(), Free.bottom() - Frame.height())));
    }
    Window.move(Frame.topLeft());
}

}  // namespace velkaran
