// The records of a match's games kept on disk, each read back by its number when a game is to be
// replayed, so that a run or a document of any length holds none of them in memory.
#pragma once

#include "game_record.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace velkaran {

// Records in an unnamed temporary file (a run's, appended as its games end), or in a saved JSON
// file read in place (see OpenRecordFile). Reading is safe from several threads; appending is for
// one thread while nobody reads.
class TRecordArchive {
public:
    // An empty archive in a temporary file, removed when the archive goes; null with the reason
    // in Error when none can be made.
    static std::unique_ptr<TRecordArchive> Create(std::string &Error);
    // The records of the open file Fd (which the archive then owns) at the byte spans Spans, each
    // one record's JSON text.
    static std::unique_ptr<TRecordArchive> InFile(int Fd, std::vector<std::pair<uint64_t, uint64_t>> Spans);
    ~TRecordArchive();
    TRecordArchive(const TRecordArchive &) = delete;
    TRecordArchive &operator=(const TRecordArchive &) = delete;

    // Adds Record as number Count() to a temporary archive. False when the disk refused it (the
    // archive then takes no more) or the archive is a saved file's.
    bool Append(const TGameRecord &Record);
    int64_t Count() const { return static_cast<int64_t>(Spans.size()); }
    // The record with number Index (0 <= Index < Count()); nothing, with Error, when it cannot be read.
    std::optional<TGameRecord> Read(int64_t Index, std::string &Error) const;

private:
    TRecordArchive(int Fd, bool Json) : Fd(Fd), Json(Json) {}
    int Fd;
    bool Json;  // the spans hold JSON texts (a saved file); else CBOR (a temporary archive)
    std::vector<std::pair<uint64_t, uint64_t>> Spans;  // [begin, end) of each record
    uint64_t End = 0;
    bool Broken = false;
};

}  // namespace velkaran
