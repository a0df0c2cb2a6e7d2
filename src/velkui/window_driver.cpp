// Drives the VelkUI windows from outside by their object names.
#include "window_driver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPixmap>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace velkaran::driver {

QWidget *TopLevel(const char *Name) {
    for (QWidget *Widget : QApplication::topLevelWidgets())
        if (Widget->isVisible() && Widget->objectName() == QLatin1String(Name)) return Widget;
    return nullptr;
}

QString LabelText(QWidget *Root, const char *Name) {
    const QLabel *Label = Find<QLabel>(Root, Name);
    return Label != nullptr ? Label->text() : QString();
}

bool Click(QWidget *Widget) {
    if (Widget == nullptr || !Widget->isVisible() || !Widget->isEnabled()) return false;
    QTest::mouseClick(Widget, Qt::LeftButton, Qt::NoModifier, Widget->rect().center());
    return true;
}

bool ClickCardRow(QWidget *Dialog, int32_t Card) {
    auto *Table = Find<QTableWidget>(Dialog, "cardTable");
    if (Table == nullptr || Card < 1 || Card > Table->rowCount()) return false;
    QTableWidgetItem *Item = Table->item(Card - 1, 0);
    Table->scrollToItem(Item);
    QTest::mouseClick(Table->viewport(), Qt::LeftButton, Qt::NoModifier,
                      Table->visualItemRect(Item).center());
    return true;
}

void WhenReady(std::function<bool()> Ready, std::function<void()> Act, int TimeoutMs) {
    auto *Poll = new QTimer(QCoreApplication::instance());
    auto Clock = std::make_shared<QElapsedTimer>();
    Clock->start();
    Poll->setInterval(10);
    QObject::connect(Poll, &QTimer::timeout, Poll,
                     [Poll, Clock, TimeoutMs, Ready = std::move(Ready), Act = std::move(Act)] {
                         if (Ready()) {
                             Poll->stop();
                             Poll->deleteLater();
                             Act();
                         } else if (Clock->elapsed() > TimeoutMs) {
                             Poll->stop();
                             Poll->deleteLater();
                             std::fprintf(stderr, "window driver: the expected window did not appear\n");
                             QCoreApplication::exit(1);
                         }
                     });
    Poll->start();
}

bool SavePicture(QWidget *Widget, const QString &Path) {
    return Widget != nullptr && Widget->grab().save(Path, "PNG");
}

}  // namespace velkaran::driver
