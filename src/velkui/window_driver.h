// Drives the VelkUI windows from outside by their object names, as a user would: for the tests and
// the screenshot tool. Works across the library boundary, since it only uses Qt's own classes.
#pragma once

#include <QWidget>

#include <cstdint>
#include <functional>

namespace velkaran::driver {

// The visible top-level widget named Name ("VelkuiGameWindow", "VelkuiSetDialog",
// "resignQuestion", "giveUpQuestion"), or null.
QWidget *TopLevel(const char *Name);

// The descendant of Root named Name with type T, or null (also when Root is null).
template <typename T>
T *Find(QWidget *Root, const char *Name) {
    return Root != nullptr ? Root->findChild<T *>(QString::fromUtf8(Name)) : nullptr;
}

// The text of the label named Name inside Root, empty when there is none.
QString LabelText(QWidget *Root, const char *Name);

// Clicks Widget with the left mouse button in its centre. False when it is null, hidden or disabled.
bool Click(QWidget *Widget);

// Clicks the row of Card in the set dialog's card table. False when the dialog or row is missing.
bool ClickCardRow(QWidget *Dialog, int32_t Card);

// Asks Ready every 10 ms while the event loop runs and calls Act once it returns true. After
// TimeoutMs without success it reports the wait on standard error and makes every event loop quit,
// so that a blocked call returns instead of hanging.
void WhenReady(std::function<bool()> Ready, std::function<void()> Act, int TimeoutMs = 10000);

// Saves a picture of Widget to Path (PNG); false on failure.
bool SavePicture(QWidget *Widget, const QString &Path);

}  // namespace velkaran::driver
