// Opening a saved file of game records: a document with a "games" array (a match's, a
// tournament's, a merge) or a single record.
#pragma once

#include "record_archive.h"

#include <nlohmann/json.hpp>

#include <functional>
#include <memory>
#include <string>

namespace velkaran {

// Opens the file at Path: every record is read, checked field by field and handed to OnRecord (if
// any) in the file's order, and every member of a document but "games" goes to Rest (an empty
// object for a single record). The archive returned reads each record from the file itself when it
// is asked for, so that the file is not copied. Null, with Error (Russian, with the line and
// column of a syntax error), when the file cannot be read, holds no record, or a record is damaged.
std::shared_ptr<TRecordArchive> OpenRecordFile(const std::string &Path, nlohmann::json &Rest,
                                               const std::function<void(const TGameRecord &)> &OnRecord,
                                               std::string &Error);

}  // namespace velkaran
