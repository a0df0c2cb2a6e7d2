#include "window_placement.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace velkaran {

void CentreOnParent(QWidget &Window) {
    const QWidget *Parent = Window.parentWidget() != nullptr ? Window.parentWidget()->window() : nullptr;
    const QScreen *Screen = Parent != nullptr ? Parent->screen() : Window.screen();
    if (Screen != nullptr) {
        // A window larger than the free area is made smaller first, as far as its content allows.
        const QSize Decoration = Window.frameGeometry().size() - Window.geometry().size();
        const QSize Free = Screen->availableGeometry().size() - Decoration;
        if (Window.width() > Free.width() || Window.height() > Free.height())
            Window.resize(std::min(Window.width(), Free.width()), std::min(Window.height(), Free.height()));
    }
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
