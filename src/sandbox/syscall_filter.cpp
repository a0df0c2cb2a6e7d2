#include "syscall_filter.h"

#include "allowed_calls.h"
#include "refused_calls.h"

#include <linux/seccomp.h>
#include <seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace velkaran {
namespace {

using TFilter = std::unique_ptr<void, decltype(&seccomp_release)>;

// The filter's action for a refusal answered Answer.
uint32_t Action(TRefusalAnswer Answer) {
    switch (Answer) {
        case TRefusalAnswer::Trap:
            return SCMP_ACT_TRAP;
        case TRefusalAnswer::NoSystemCall:
            return SCMP_ACT_ERRNO(ENOSYS);
        case TRefusalAnswer::NotPermitted:
            return SCMP_ACT_ERRNO(EPERM);
        case TRefusalAnswer::AccessDenied:
            return SCMP_ACT_ERRNO(EACCES);
    }
    return SCMP_ACT_TRAP;
}

// Refuses Call when the (up to two) comparisons hold; a negative errno on failure.
int AddTrap(const TFilter &Filter, const TRefusedCall &Call,
            std::initializer_list<scmp_arg_cmp> Comparisons) {
    return seccomp_rule_add_array(Filter.get(), Action(Call.Answer), Call.Number,
                                  static_cast<unsigned>(Comparisons.size()), Comparisons.begin());
}

// Traps Call when its argument is neither 0 nor Self: above Self, or in [1, Self - 1], which is
// covered by aligned power-of-two blocks since one rule cannot compare an argument twice.
int AddTrapUnlessSelfOrZero(const TFilter &Filter, const TRefusedCall &Call, uint64_t Self) {
    const unsigned Arg = static_cast<unsigned>(Call.Arg);
    int Result = AddTrap(Filter, Call, {SCMP_CMP64(Arg, SCMP_CMP_GT, Self)});
    for (uint64_t Low = 1; Result == 0 && Low < Self;) {
        uint64_t Size = Low & (~Low + 1);      // the largest block aligned at Low ...
        while (Low + Size > Self) Size >>= 1;  // ... that stays below Self
        Result = AddTrap(Filter, Call, {SCMP_CMP64(Arg, SCMP_CMP_MASKED_EQ, ~(Size - 1), Low)});
        Low += Size;
    }
    return Result;
}

// Adds the rules for one entry of the table.
int AddRefusal(const TFilter &Filter, const TRefusedCall &Call, const TFilterSettings &Settings) {
    const unsigned Arg = static_cast<unsigned>(Call.Arg);
    const auto Self = static_cast<uint64_t>(Settings.Self);
    switch (Call.When) {
        case TRefusal::Always:
            return AddTrap(Filter, Call, {});
        case TRefusal::UnlessMemoryCapped:
            return Settings.MemoryCapped ? 0 : AddTrap(Filter, Call, {});
        case TRefusal::ArgNotSelf:
        case TRefusal::ArgNot: {
            const uint64_t Allowed = Call.When == TRefusal::ArgNotSelf ? Self : Call.Value;
            const int Result = AddTrap(Filter, Call, {SCMP_CMP64(Arg, SCMP_CMP_GT, Allowed)});
            if (Result != 0 || Allowed == 0) return Result;
            return AddTrap(Filter, Call, {SCMP_CMP64(Arg, SCMP_CMP_LT, Allowed)});
        }
        case TRefusal::ArgNotSelfOrZero:
            return AddTrapUnlessSelfOrZero(Filter, Call, Self);
        case TRefusal::ArgIs32:
            return AddTrap(Filter, Call, {SCMP_CMP64(Arg, SCMP_CMP_MASKED_EQ, 0xffffffffu, Call.Value)});
        case TRefusal::ArgHasAnyBit:
            for (uint64_t Bit = 1; Bit != 0; Bit <<= 1) {
                if ((Call.Value & Bit) == 0) continue;
                if (const int Result = AddTrap(Filter, Call, {SCMP_CMP64(Arg, SCMP_CMP_MASKED_EQ, Bit, Bit)}))
                    return Result;
            }
            return 0;
        case TRefusal::ArgLacksBit:
            return AddTrap(Filter, Call, {SCMP_CMP64(Arg, SCMP_CMP_MASKED_EQ, Call.Value, 0)});
        case TRefusal::HandlerFor:
            return AddTrap(
                Filter, Call,
                {SCMP_CMP64(0, SCMP_CMP_MASKED_EQ, 0xffffffffu, Call.Value), SCMP_CMP64(1, SCMP_CMP_NE, 0)});
    }
    return -EINVAL;
}

// The settings both filters share: a call through another ABI (i386 by int 0x80, x32) fails the
// architecture check and traps; every thread takes the filter; the rules form a binary tree.
int SetUp(const TFilter &Filter) {
    int Result = seccomp_attr_set(Filter.get(), SCMP_FLTATR_ACT_BADARCH, SCMP_ACT_TRAP);
    if (Result == 0) Result = seccomp_attr_set(Filter.get(), SCMP_FLTATR_CTL_TSYNC, 1);
    if (Result == 0) Result = seccomp_attr_set(Filter.get(), SCMP_FLTATR_CTL_OPTIMIZE, 2);
    if (Result == 0) Result = seccomp_attr_set(Filter.get(), SCMP_FLTATR_API_SYSRAWRC, 1);
    return Result;
}

std::string Failure(const char *What, int NegativeError) {
    return std::string("seccomp: ") + What + ": " + std::strerror(-NegativeError);
}

}  // namespace

bool SyscallFilterAvailable() {
#if defined(__x86_64__) && !defined(__ILP32__)
    if (prctl(PR_GET_SECCOMP, 0, 0, 0, 0) < 0) return false;  // built without seccomp
    uint32_t Action = SECCOMP_RET_TRAP;
    if (syscall(__NR_seccomp, SECCOMP_GET_ACTION_AVAIL, 0, &Action) == 0) return true;
    return errno == EINVAL;  // a kernel older than this query, which has filters that trap (3.5 on)
#else
    return false;
#endif
}

std::string LoadSyscallFilter(const TFilterSettings &Settings) {
    // The refusals first: a filter that lets through what it does not refuse.
    TFilter Refusals(seccomp_init(SCMP_ACT_ALLOW), &seccomp_release);
    if (!Refusals) return "seccomp: cannot create a filter";
    int Result = SetUp(Refusals);
    if (Result != 0) return Failure("cannot set up the filter of refused calls", Result);
    for (const TRefusedCall &Call : RefusedCalls()) {
        Result = AddRefusal(Refusals, Call, Settings);
        if (Result != 0)
            return Failure((std::string("cannot add the rule for ") + Call.Name).c_str(), Result);
    }
    // Then the allow-list, under which every call it does not name has no such system call.
    TFilter Allowed(seccomp_init(SCMP_ACT_ERRNO(ENOSYS)), &seccomp_release);
    if (!Allowed) return "seccomp: cannot create a filter";
    Result = SetUp(Allowed);
    if (Result != 0) return Failure("cannot set up the filter of allowed calls", Result);
    for (const int Number : AllowedCalls()) {
        Result = seccomp_rule_add(Allowed.get(), SCMP_ACT_ALLOW, Number, 0);
        if (Result != 0)
            return Failure(("cannot allow system call " + std::to_string(Number)).c_str(), Result);
    }
    for (const TFilter *Filter : {&Refusals, &Allowed}) {
        Result = seccomp_load(Filter->get());
        if (Result > 0) return "seccomp: thread " + std::to_string(Result) + " cannot take the filter";
        if (Result < 0) return Failure("cannot load the filter", Result);
    }
    return "";
}

}  // namespace velkaran
