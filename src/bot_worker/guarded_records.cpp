// The records a bot is handed, placed right before a guard page.
#include "guarded_records.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace velkaran::worker {

TCallRecords &GuardedRecords() {
    static TCallRecords *Records = [] {
        const auto Page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
        void *Mapping = mmap(nullptr, 2 * Page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (Mapping == MAP_FAILED || mprotect(static_cast<char *>(Mapping) + Page, Page, PROT_NONE) != 0) {
            std::fputs("velkaran-bot-worker: cannot map the call records\n", stderr);
            std::_Exit(2);
        }
        return reinterpret_cast<TCallRecords *>(static_cast<char *>(Mapping) + Page - sizeof(TCallRecords));
    }();
    return *Records;
}

}  // namespace velkaran::worker
