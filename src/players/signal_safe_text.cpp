#include "signal_safe_text.h"

#include <unistd.h>

namespace velkaran {
namespace {

// Writes Size bytes of Data to stderr; false when a write failed.
bool WriteAll(const char *Data, std::size_t Size) {
    std::size_t Done = 0;
    while (Done < Size) {
        const ssize_t Written = write(STDERR_FILENO, Data + Done, Size - Done);
        if (Written <= 0) return false;
        Done += static_cast<std::size_t>(Written);
    }
    return true;
}

}  // namespace

void TSignalSafeText::Put(char Character) {
    if (Length_ + 1 >= Capacity) return;
    Buffer_[Length_++] = Character;
    Buffer_[Length_] = '\0';
}

void TSignalSafeText::Add(const char *Text) {
    while (*Text != '\0') Put(*Text++);
}

void TSignalSafeText::Add(int64_t Number) {
    char Digits[24];
    int Count = 0;
    uint64_t Value = Number < 0 ? 0 - static_cast<uint64_t>(Number) : static_cast<uint64_t>(Number);
    do {
        Digits[Count++] = static_cast<char>('0' + Value % 10);
        Value /= 10;
    } while (Value != 0);
    if (Number < 0) Put('-');
    while (Count > 0) Put(Digits[--Count]);
}

void TSignalSafeText::WriteLineToStderr() const {
    if (WriteAll(Buffer_, Length_)) WriteAll("\n", 1);
}

}  // namespace velkaran
