// Text built in a fixed buffer without allocating, so that a signal handler may build and write it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace velkaran {

class TSignalSafeText {
public:
    static constexpr std::size_t Capacity = 3 * 1024;  // bytes, the closing NUL included

    // Appends Text; what does not fit is dropped. Async-signal-safe.
    void Add(const char *Text);
    // Appends Number in decimal, with a minus sign when negative. Async-signal-safe.
    void Add(int64_t Number);

    // The text so far, NUL-terminated; lives as long as this object.
    const char *CString() const { return Buffer_; }
    // The text so far as a string (allocates: not for signal handlers).
    std::string Take() const { return std::string(Buffer_, Length_); }
    // Writes the text and a line end to stderr, retrying short writes. Async-signal-safe.
    void WriteLineToStderr() const;

private:
    void Put(char Character);

    char Buffer_[Capacity] = {};
    std::size_t Length_ = 0;
};

}  // namespace velkaran
