// The records of a match's games kept on disk, each read back by its number when a game is to be
// replayed, so that a long series holds none of them in memory.
#pragma once

#include "records/game_record.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velkaran {

// Records in an unnamed temporary file, removed when the archive goes. Not thread-safe: one
// thread appends while a match runs, and reading waits until it has ended.
class TRecordArchive {
public:
    // An empty archive; null with the reason in Error when no temporary file can be made.
    static std::unique_ptr<TRecordArchive> Create(std::string &Error);
    ~TRecordArchive();
    TRecordArchive(const TRecordArchive &) = delete;
    TRecordArchive &operator=(const TRecordArchive &) = delete;

    // Adds Record as number Count(). False when the disk refused it; the archive then takes no more.
    bool Append(const TGameRecord &Record);
    int64_t Count() const { return static_cast<int64_t>(Offsets.size()); }
    // The record with number Index (0 <= Index < Count()); nothing, with Error, when it cannot be read.
    std::optional<TGameRecord> Read(int64_t Index, std::string &Error) const;

private:
    explicit TRecordArchive(std::FILE *File) : File(File) {}
    std::FILE *File;
    std::vector<uint64_t> Offsets;  // where each record begins; the next one (or the end) ends it
    uint64_t End = 0;
    bool Broken = false;
};

// Reads the game records of a saved JSON file into Archive: a document with a "games" array (of a
// match or a tournament), or a single record. False, with Error (Russian), when the file cannot
// be read, holds no record, or a record in it is damaged.
bool LoadRecordFile(const std::string &Path, TRecordArchive &Archive, std::string &Error);

}  // namespace velkaran
