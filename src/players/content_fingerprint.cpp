// FNV-1a, 64 bits: quick, and enough to tell a rebuilt library from the one a run began with.
#include "content_fingerprint.h"

#include <cstdio>
#include <fstream>

namespace velkaran {

void TContentFingerprint::Add(const void *Bytes, std::size_t Size) {
    const auto *Byte = static_cast<const unsigned char *>(Bytes);
    for (std::size_t I = 0; I < Size; ++I) {
        Hash ^= Byte[I];
        Hash *= 1099511628211ull;
    }
}

std::string TContentFingerprint::Text() const {
    char Text[40];
    std::snprintf(Text, sizeof Text, "fnv1a64:%016llx", static_cast<unsigned long long>(Hash));
    return Text;
}

std::string FileFingerprint(const std::string &Path) {
    std::ifstream In(Path, std::ios::binary);
    if (!In) return "";
    TContentFingerprint Fingerprint;
    char Buffer[1 << 16];
    while (In.read(Buffer, sizeof Buffer) || In.gcount() > 0)
        Fingerprint.Add(Buffer, static_cast<std::size_t>(In.gcount()));
    return Fingerprint.Text();
}

}  // namespace velkaran
