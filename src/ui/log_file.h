// The log file of the result window: its encodings, the name offered for it and the writing.
#pragma once

#include "match/result_log.h"

#include <QString>

#include <optional>
#include <string>
#include <vector>

class QDateTime;

namespace velkaran {

// A file name and encoding for the log, as the save dialog returns them (an empty name: cancelled).
struct TLogFileChoice {
    QString FileName;
    TLogEncoding Encoding = TLogEncoding::Windows1251;
};

// The name offered for a new log: "velkaran-<yyyy-MM-dd>-<HHmmss>.txt" in Folder.
QString SuggestedLogFileName(const QDateTime &Now, const QString &Folder);

// Writes Lines (UTF-8) to FileName in Encoding as SaveResultLog does; nothing on success, else the
// message to show.
std::optional<std::string> SaveLogFile(const std::vector<std::string> &Lines, const QString &FileName,
                                       TLogEncoding Encoding);

// The result window's line after a save: where the log went (and in which encoding), or that it
// was not saved.
QString LogSavedText(const TLogFileChoice &Saved);
QString LogNotSavedText();

}  // namespace velkaran
