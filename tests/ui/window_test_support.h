// Helpers of the window tests: fake bot tables, a counting discovery, answering modal windows.
#pragma once

#include "players/bot_discovery.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace velkaran::testing {

// A bot table as discovery would leave it: available entries show their name; each entry's library
// is "./<name>.so", and an unavailable one's problem is "<name> is broken".
inline TBotTable MakeBotTable(const std::vector<std::pair<std::string, bool>> &Entries) {
    TBotTable Table;
    for (const auto &[Name, Available] : Entries) {
        TBot Bot;
        Bot.Available = Available;
        Bot.Path = "./" + Name + ".so";
        if (Available) Bot.Name = Name;
        Table.Bots.push_back(Bot);
        Table.Texts.push_back(Available ? Name : std::string(UnavailableText));
        Table.Problems.push_back(Available ? std::string() : Name + " is broken");
    }
    return Table;
}

// While it lives, the program's stored settings and its kept results go to a fresh folder of its
// own, never the user's.
class TTemporarySettings {
public:
    TTemporarySettings()
        : OldDataHome(qgetenv("XDG_DATA_HOME")), HadDataHome(qEnvironmentVariableIsSet("XDG_DATA_HOME")) {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, Folder.path());
        qputenv("XDG_DATA_HOME", Folder.filePath(QStringLiteral("data")).toLocal8Bit());
    }
    ~TTemporarySettings() {
        if (HadDataHome)
            qputenv("XDG_DATA_HOME", OldDataHome);
        else
            qunsetenv("XDG_DATA_HOME");
    }
    TTemporarySettings(const TTemporarySettings &) = delete;
    TTemporarySettings &operator=(const TTemporarySettings &) = delete;
    // Where the program keeps its results meanwhile.
    QString ResultsFolder() const { return Folder.filePath(QStringLiteral("data/velkaran/results")); }

private:
    QTemporaryDir Folder;
    QByteArray OldDataHome;
    bool HadDataHome;
};

// A discovery that hands out the given tables run after run (the last one again and again).
struct TFakeDiscovery {
    std::vector<TBotTable> Runs;
    int Count = 0;

    void operator()(TBotTable &Table) {
        Table =
            Runs.empty() ? TBotTable{} : Runs[std::min<size_t>(static_cast<size_t>(Count), Runs.size() - 1)];
        ++Count;
    }
};

// Once a modal window is up (within a minute), hands it to Answer, which should close it;
// a window that Answer left open (a failed check) is closed afterwards.
inline void AnswerNextModal(std::function<void(QWidget *Modal)> Answer) {
    auto *Poll = new QTimer(qApp);
    auto Started = std::make_shared<QElapsedTimer>();
    Started->start();
    QObject::connect(Poll, &QTimer::timeout, Poll, [Poll, Started, Answer = std::move(Answer)] {
        QWidget *Modal = QApplication::activeModalWidget();
        if (Modal == nullptr && Started->elapsed() < 60000) return;
        Poll->stop();
        Poll->deleteLater();
        if (Modal == nullptr) return;
        const QPointer<QWidget> Open(Modal);
        Answer(Modal);
        if (Open && Open->isVisible()) Open->close();  // a failed check must not leave it waiting
    });
    Poll->start(5);
}

// The eight numbers a player panel of VelkUI shows (the replay viewer's too), in record order, and
// the same numbers of Status as the panel should show them.
inline std::vector<QString> PanelValues(const QWidget *Panel) {
    std::vector<QString> Values;
    for (const char *Field :
         {"Base", "Shield", "Batteries", "Mines", "Laboratories", "Energy", "Metal", "Elements"})
        Values.push_back(Panel->findChild<QLabel *>(QString::fromLatin1(Field))->text());
    return Values;
}
inline std::vector<QString> StatusValues(const TPlayerStatus &Status) {
    std::vector<QString> Values;
    for (const int32_t Value : {Status.Base, Status.Shield, Status.Batteries, Status.Mines,
                                Status.Laboratories, Status.Energy, Status.Metal, Status.Elements})
        Values.push_back(QString::number(Value));
    return Values;
}

}  // namespace velkaran::testing
