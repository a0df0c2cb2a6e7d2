#include "stored_settings.h"

#include "summary/result_folder.h"

#include <QSettings>

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace velkaran {
namespace {

const QString FirstLibraryKey = QStringLiteral("FirstBotLibrary");
const QString SecondLibraryKey = QStringLiteral("SecondBotLibrary");
const QString GameCountKey = QStringLiteral("GameCount");
const QString TurnLimitKey = QStringLiteral("TurnLimit");
const QString MoveLimitKey = QStringLiteral("MoveLimitMs");
const QString FirstHumanKey = QStringLiteral("FirstHuman");
const QString SecondHumanKey = QStringLiteral("SecondHuman");
const QString ModeItemKey = QStringLiteral("ModeItem");
const QString ResultsFolderKey = QStringLiteral("ResultsFolder");
const QString RecentFilesKey = QStringLiteral("RecentFiles");

QSettings Store() { return QSettings(QStringLiteral("Velkaran"), QStringLiteral("Velkaran")); }

std::optional<int32_t> StoredNumber(const QSettings &Settings, const QString &Key) {
    bool IsNumber = false;
    const qlonglong Value = Settings.value(Key).toLongLong(&IsNumber);
    if (!IsNumber || Value < std::numeric_limits<int32_t>::min() ||
        Value > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return static_cast<int32_t>(Value);
}

std::optional<bool> StoredFlag(const QSettings &Settings, const QString &Key) {
    const QVariant Value = Settings.value(Key);
    if (!Value.isValid()) return std::nullopt;
    const QString Text = Value.toString();
    if (Text == QStringLiteral("true")) return true;
    if (Text == QStringLiteral("false")) return false;
    return std::nullopt;
}

void StoreName(QSettings &Settings, const QString &Key, const std::string &Name) {
    if (Name.empty())
        Settings.remove(Key);
    else
        Settings.setValue(Key, QString::fromStdString(Name));
}

}  // namespace

TStoredChoices LoadStoredChoices() {
    const QSettings Settings = Store();
    return {.FirstLibrary = Settings.value(FirstLibraryKey).toString().toStdString(),
            .SecondLibrary = Settings.value(SecondLibraryKey).toString().toStdString(),
            .GameCount = StoredNumber(Settings, GameCountKey),
            .TurnLimit = StoredNumber(Settings, TurnLimitKey),
            .MoveLimitMs = StoredNumber(Settings, MoveLimitKey),
            .FirstHuman = StoredFlag(Settings, FirstHumanKey),
            .SecondHuman = StoredFlag(Settings, SecondHumanKey),
            .ModeItem = StoredNumber(Settings, ModeItemKey)};
}

void SaveStoredChoices(const TStoredChoices &Choices) {
    QSettings Settings = Store();
    StoreName(Settings, FirstLibraryKey, Choices.FirstLibrary);
    StoreName(Settings, SecondLibraryKey, Choices.SecondLibrary);
    if (Choices.GameCount) Settings.setValue(GameCountKey, *Choices.GameCount);
    if (Choices.TurnLimit) Settings.setValue(TurnLimitKey, *Choices.TurnLimit);
    if (Choices.MoveLimitMs) Settings.setValue(MoveLimitKey, *Choices.MoveLimitMs);
    if (Choices.FirstHuman) Settings.setValue(FirstHumanKey, *Choices.FirstHuman);
    if (Choices.SecondHuman) Settings.setValue(SecondHumanKey, *Choices.SecondHuman);
    if (Choices.ModeItem) Settings.setValue(ModeItemKey, *Choices.ModeItem);
}

std::string StoredResultsFolder() {
    const QString Chosen = Store().value(ResultsFolderKey).toString();
    if (!Chosen.isEmpty()) return Chosen.toStdString();
    return DefaultResultsFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
}

void StoreResultsFolder(const std::string &Folder) {
    QSettings Settings = Store();
    StoreName(Settings, ResultsFolderKey, Folder);
}

std::vector<std::string> RecentFiles() {
    std::vector<std::string> Paths;
    for (const QString &Path : Store().value(RecentFilesKey).toStringList())
        if (!Path.isEmpty()) Paths.push_back(Path.toStdString());
    return Paths;
}

void AddRecentFile(const std::string &Path) {
    std::vector<std::string> Paths = RecentFiles();
    std::erase(Paths, Path);
    Paths.insert(Paths.begin(), Path);
    if (Paths.size() > static_cast<std::size_t>(RecentFileCount)) Paths.resize(RecentFileCount);
    QStringList Stored;
    for (const std::string &Recent : Paths) Stored.append(QString::fromStdString(Recent));
    Store().setValue(RecentFilesKey, Stored);
}

void ForgetRecentFile(const std::string &Path) {
    std::vector<std::string> Paths = RecentFiles();
    std::erase(Paths, Path);
    QStringList Stored;
    for (const std::string &Recent : Paths) Stored.append(QString::fromStdString(Recent));
    Store().setValue(RecentFilesKey, Stored);
}

}  // namespace velkaran
