#include "log_file.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

namespace velkaran {

QString SuggestedLogFileName(const QDateTime &Now, const QString &Folder) {
    return QDir(Folder).filePath(
        QStringLiteral("velkaran-%1.txt").arg(Now.toString(QStringLiteral("yyyy-MM-dd-HHmmss"))));
}

std::optional<std::string> SaveLogFile(const std::vector<std::string> &Lines, const QString &FileName,
                                       TLogEncoding Encoding) {
    return SaveResultLog(Lines, QFile::encodeName(FileName).toStdString(), Encoding);
}

QString LogSavedText(const TLogFileChoice &Saved) {
    const QString Encoding =
        Saved.Encoding == TLogEncoding::Utf8 ? QStringLiteral("UTF-8") : QStringLiteral("Windows-1251");
    return QStringLiteral("Лог сохранён (%1): %2").arg(Encoding, QDir::toNativeSeparators(Saved.FileName));
}

QString LogNotSavedText() { return QStringLiteral("Лог не сохранён."); }

}  // namespace velkaran
