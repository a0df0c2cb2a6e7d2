// Records kept on disk as they arrive, so that a run of any length holds none of them in memory,
// and written into one JSON document with whatever surrounds them.
#pragma once

#include "game_record.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <functional>
#include <istream>
#include <memory>
#include <string>
#include <vector>

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
    // that Path holds the old document or the new one, never a part. False with Error. Interrupted,
    // when given, is asked between blocks of the copy: when it says so the write is given up.
    bool WriteDocument(const std::string &Path, const nlohmann::json &Head, const nlohmann::json &Tail,
                       std::string &Error, const std::function<bool()> &Interrupted = {}) const;

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
using TRecordReader = std::function<bool(const nlohmann::json &Record, std::string &Error)>;
bool ReadDocument(const std::string &Path, nlohmann::json &Rest, const TRecordReader &OnRecord,
                  std::string &Error);

// Reads a document as ReadDocument does, but each record of "games" is built from the parser's
// events as it is read, checked field by field (TRecordBuilder), without a JSON value of its own,
// and handed to OnRecord; the fastest way through a large document. OnRecord returns false (with
// Error, or none when the reading is merely to stop) to end the reading.
using TGameRecordReader = std::function<bool(TGameRecord &Record, std::string &Error)>;
bool ReadRecords(const std::string &Path, nlohmann::json &Rest, const TGameRecordReader &OnRecord,
                 std::string &Error);
bool ReadRecords(std::istream &In, const std::string &Path, nlohmann::json &Rest,
                 const TGameRecordReader &OnRecord, std::string &Error);

// The members of the document at Path but "games": what it says of itself, read without its
// records. The reading stops at "games" when the members before it hold every one of Needed (as in
// a document WriteDocument wrote); else it goes on past the records. False with Error when the file
// cannot be read or does not hold a JSON object.
bool ReadDocumentHead(const std::string &Path, nlohmann::json &Head, std::string &Error,
                      const std::vector<std::string> &Needed = {});

// The same as ReadDocument from In, an open file named Path in the messages, read from where it stands.
bool ReadDocument(std::istream &In, const std::string &Path, nlohmann::json &Rest,
                  const TRecordReader &OnRecord, std::string &Error);

}  // namespace velkaran
