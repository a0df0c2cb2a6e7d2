#include "log_file.h"

#include "match/result_log.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace velkaran {

QString SuggestedLogFileName(const QDateTime &Now, const QString &Folder) {
    return QDir(Folder).filePath(
        QStringLiteral("velkaran-%1.txt").arg(Now.toString(QStringLiteral("yyyy-MM-dd-HHmmss"))));
}

std::optional<std::string> SaveLogFile(const std::vector<std::string> &Lines, const QString &FileName,
                                       TLogEncoding Encoding) {
    if (Encoding == TLogEncoding::Windows1251)
        return SaveResultLog(Lines, QFile::encodeName(FileName).toStdString());
    // UTF-8: replaced only once the new text is complete, as the Windows-1251 log is.
    QSaveFile File(FileName);
    File.setDirectWriteFallback(true);
    if (FileName.isEmpty() || !File.open(QIODevice::WriteOnly))
        return QStringLiteral("Cannot create file \"%1\". %2")
            .arg(QFileInfo(FileName).absoluteFilePath(), File.errorString())
            .toStdString();
    for (const std::string &Line : Lines) {
        File.write(Line.data(), static_cast<qint64>(Line.size()));
        File.write("\r\n", 2);
    }
    if (!File.commit()) return "Stream write error";
    return std::nullopt;
}

QString LogSavedText(const TLogFileChoice &Saved) {
    const QString Encoding =
        Saved.Encoding == TLogEncoding::Utf8 ? QStringLiteral("UTF-8") : QStringLiteral("Windows-1251");
    return QStringLiteral("Лог сохранён (%1): %2").arg(Encoding, QDir::toNativeSeparators(Saved.FileName));
}

QString LogNotSavedText() { return QStringLiteral("Лог не сохранён."); }

}  // namespace velkaran
