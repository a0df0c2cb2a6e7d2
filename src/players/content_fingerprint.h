// The fingerprint that tells one library's (or plan's) content from another: FNV-1a over its bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace velkaran {

// Built piece by piece as the bytes go by, so that a copy and its fingerprint take one reading.
class TContentFingerprint {
public:
    void Add(const void *Bytes, std::size_t Size);
    // "fnv1a64:<16 hex digits>" of every byte added so far.
    std::string Text() const;

private:
    uint64_t Hash = 14695981039346656037ull;
};

// The fingerprint of the file's bytes; empty when it cannot be read.
std::string FileFingerprint(const std::string &Path);

}  // namespace velkaran
