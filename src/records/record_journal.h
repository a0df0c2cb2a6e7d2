// Records kept on disk as they arrive, so that a run of any length holds none of them in memory,
// and written into one JSON document with whatever surrounds them.
#pragma once

#include "game_record.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace velkaran {

class TRecordJournal {
public:
    // A journal in an unnamed temporary file of Folder (the document's folder, so that copying it
    // stays on one disk); null with the reason in Error when the folder cannot take one.
    static std::unique_ptr<TRecordJournal> Open(const std::string &Folder, std::string &Error);
    ~TRecordJournal();
    TRecordJournal(const TRecordJournal &) = delete;
    TRecordJournal &operator=(const TRecordJournal &) = delete;

    // Adds Record at the end. False when the disk refused it (the journal is then unusable).
    bool Append(const TGameRecord &Record);
    int64_t Count() const { return Records; }

    // Writes Head's members, then "games" with every record so far, then Tail's members, as one
    // JSON object into Path: through a temporary file of Path's folder, flushed and renamed, so
    // that Path holds the old document or the new one, never a part. False with Error.
    bool WriteDocument(const std::string &Path, const nlohmann::json &Head, const nlohmann::json &Tail,
                       std::string &Error) const;

private:
    explicit TRecordJournal(int Fd) : Fd(Fd) {}
    int Fd;
    int64_t Records = 0;
    bool Broken = false;
};

// Reads a document that WriteDocument wrote: every member but "games" into Rest, and each record
// of "games" handed to OnRecord as it is read and then dropped, so that a document of any size
// is read in little memory. OnRecord returns false (with Error) to refuse a record, which ends
// the reading. False with Error when the file cannot be read or is not such a document.
bool ReadDocument(const std::string &Path, nlohmann::json &Rest,
                  const std::function<bool(const nlohmann::json &Record, std::string &Error)> &OnRecord,
                  std::string &Error);

}  // namespace velkaran
