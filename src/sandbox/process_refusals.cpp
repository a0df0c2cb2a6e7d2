#include "process_refusals.h"

#include "refused_calls.h"

#include <linux/audit.h>
#include <linux/seccomp.h>

#include <cstddef>

namespace velkaran {
namespace {

constexpr uint32_t ArgLow(int Arg) {
    return static_cast<uint32_t>(offsetof(seccomp_data, args) + 8 * Arg);  // x86-64 is little-endian
}

// Loads the 32-bit word at Offset of the call's seccomp_data.
sock_filter Load(uint32_t Offset) { return {BPF_LD | BPF_W | BPF_ABS, 0, 0, Offset}; }
sock_filter Return(uint32_t Action) { return {BPF_RET | BPF_K, 0, 0, Action}; }
// Skips the next True instructions when the loaded word equals Value, else the next False.
sock_filter SkipIfEqual(uint32_t Value, uint8_t True, uint8_t False) {
    return {BPF_JMP | BPF_JEQ | BPF_K, True, False, Value};
}

// The instructions that refuse Call, which are entered with the call's number loaded and end by
// falling through to the next call's, the number loaded again.
std::vector<sock_filter> Refusal(const TRefusedCall &Call, uint32_t Self) {
    const uint32_t Action = RefusalAction(Call.Answer);
    if (Call.When != TRefusal::ArgNotSelf && Call.When != TRefusal::ArgNotSelfOrZero)
        return {SkipIfEqual(static_cast<uint32_t>(Call.Number), 0, 1), Return(Action)};
    // Refused unless the whole 64-bit argument is Self (or 0).
    const bool OrZero = Call.When == TRefusal::ArgNotSelfOrZero;
    std::vector<sock_filter> Block{
        Load(ArgLow(Call.Arg) + 4),  // the high half: 0 for both
        SkipIfEqual(0, 1, 0),       Return(Action),
        Load(ArgLow(Call.Arg)),     SkipIfEqual(Self, static_cast<uint8_t>(OrZero ? 2 : 1), 0),
    };
    if (OrZero) Block.push_back(SkipIfEqual(0, 1, 0));
    Block.push_back(Return(Action));
    Block.push_back(Load(offsetof(seccomp_data, nr)));
    Block.insert(Block.begin(),
                 SkipIfEqual(static_cast<uint32_t>(Call.Number), 0, static_cast<uint8_t>(Block.size() - 1)));
    return Block;
}

}  // namespace

std::vector<sock_filter> ProcessRefusals(pid_t Self, bool MemoryCapped) {
    std::vector<sock_filter> Program{
        Load(offsetof(seccomp_data, arch)),
        SkipIfEqual(AUDIT_ARCH_X86_64, 1, 0),
        Return(SECCOMP_RET_TRAP),
        Load(offsetof(seccomp_data, nr)),
    };
    for (const TRefusedCall &Call : RefusedCalls()) {
        if (!DependsOnProcess(Call) || (Call.When == TRefusal::UnlessMemoryCapped && MemoryCapped)) continue;
        const std::vector<sock_filter> Block = Refusal(Call, static_cast<uint32_t>(Self));
        Program.insert(Program.end(), Block.begin(), Block.end());
    }
    Program.push_back(Return(SECCOMP_RET_ALLOW));
    return Program;
}

}  // namespace velkaran
