// velk-filter-generator: compiles the sandbox's fixed seccomp filters to BPF when the program is
// built, and writes them as C++ arrays (compiled_filters.h) into the file its argument names.
// Building a filter with libseccomp takes milliseconds, which every sandboxed worker would
// otherwise spend at its start; loading a compiled one takes microseconds. The refusals that
// depend on the process (its id, its memory cap) are written when it locks itself down
// (process_refusals.h).
#include "allowed_calls.h"
#include "refused_calls.h"

#include <linux/filter.h>
#include <seccomp.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace velkaran {
namespace {

using TFilter = std::unique_ptr<void, decltype(&seccomp_release)>;

[[noreturn]] void Fail(const std::string &What, int NegativeError) {
    std::fprintf(stderr, "velk-filter-generator: %s: %s\n", What.c_str(), std::strerror(-NegativeError));
    std::exit(1);
}

void Check(int Result, const std::string &What) {
    if (Result != 0) Fail(What, Result);
}

// Refuses Call when the (up to two) comparisons hold.
void AddTrap(const TFilter &Filter, const TRefusedCall &Call,
             std::initializer_list<scmp_arg_cmp> Comparisons) {
    Check(seccomp_rule_add_array(Filter.get(), RefusalAction(Call.Answer), Call.Number,
                                 static_cast<unsigned>(Comparisons.size()), Comparisons.begin()),
          std::string("cannot add the rule for ") + Call.Name);
}

// Adds the rules for one entry of the table that does not depend on the process.
void AddRefusal(const TFilter &Filter, const TRefusedCall &Call) {
    const unsigned Arg = static_cast<unsigned>(Call.Arg);
    switch (Call.When) {
        case TRefusal::Always:
            return AddTrap(Filter, Call, {});
        case TRefusal::ArgNot:
            AddTrap(Filter, Call, {SCMP_CMP64(Arg, SCMP_CMP_GT, Call.Value)});
            if (Call.Value != 0) AddTrap(Filter, Call, {SCMP_CMP64(Arg, SCMP_CMP_LT, Call.Value)});
            return;
        case TRefusal::ArgIs32:
            return AddTrap(Filter, Call, {SCMP_CMP64(Arg, SCMP_CMP_MASKED_EQ, 0xffffffffu, Call.Value)});
        case TRefusal::ArgHasAnyBit:
            for (uint64_t Bit = 1; Bit != 0; Bit <<= 1)
                if ((Call.Value & Bit) != 0)
                    AddTrap(Filter, Call, {SCMP_CMP64(Arg, SCMP_CMP_MASKED_EQ, Bit, Bit)});
            return;
        case TRefusal::ArgLacksBit:
            return AddTrap(Filter, Call, {SCMP_CMP64(Arg, SCMP_CMP_MASKED_EQ, Call.Value, 0)});
        case TRefusal::HandlerFor:
            return AddTrap(
                Filter, Call,
                {SCMP_CMP64(0, SCMP_CMP_MASKED_EQ, 0xffffffffu, Call.Value), SCMP_CMP64(1, SCMP_CMP_NE, 0)});
        case TRefusal::ArgNotSelf:
        case TRefusal::ArgNotSelfOrZero:
        case TRefusal::UnlessMemoryCapped:
            break;
    }
    Fail(std::string("the rule for ") + Call.Name + " depends on the process", -EINVAL);
}

// A filter whose calls of another ABI (i386 by int 0x80, x32) fail the architecture check and
// trap, with its rules in a binary tree; Default answers the calls it has no rule for.
TFilter NewFilter(uint32_t Default) {
    TFilter Filter(seccomp_init(Default), &seccomp_release);
    if (!Filter) Fail("cannot create a filter", -ENOMEM);
    Check(seccomp_attr_set(Filter.get(), SCMP_FLTATR_ACT_BADARCH, SCMP_ACT_TRAP), "cannot set up a filter");
    Check(seccomp_attr_set(Filter.get(), SCMP_FLTATR_CTL_OPTIMIZE, 2), "cannot set up a filter");
    return Filter;
}

// The refusals that do not depend on the process; for a worker that becomes a program
// (ForProgram), without those of starting one.
TFilter RefusalFilter(bool ForProgram) {
    TFilter Refusals = NewFilter(SCMP_ACT_ALLOW);
    for (const TRefusedCall &Call : RefusedCalls())
        if (!DependsOnProcess(Call) && !(ForProgram && StartsAProgram(Call))) AddRefusal(Refusals, Call);
    return Refusals;
}

// The allow-list; for a worker that becomes a program (ForProgram), with what programs need.
TFilter AllowFilter(bool ForProgram) {
    TFilter Allowed = NewFilter(SCMP_ACT_ERRNO(ENOSYS));
    const auto Allow = [&Allowed](std::span<const int> Numbers) {
        for (const int Number : Numbers)
            Check(seccomp_rule_add(Allowed.get(), SCMP_ACT_ALLOW, Number, 0),
                  "cannot allow system call " + std::to_string(Number));
    };
    Allow(AllowedCalls());
    if (ForProgram) Allow(ProgramCalls());
    return Allowed;
}

// The filter's BPF program, as libseccomp writes it.
std::vector<sock_filter> Program(const TFilter &Filter) {
    std::unique_ptr<std::FILE, decltype(&std::fclose)> File(std::tmpfile(), &std::fclose);
    if (!File) Fail("cannot make a temporary file", -errno);
    Check(seccomp_export_bpf(Filter.get(), fileno(File.get())), "cannot export a filter");
    std::rewind(File.get());
    std::vector<sock_filter> Instructions;
    for (sock_filter Instruction; std::fread(&Instruction, sizeof Instruction, 1, File.get()) == 1;)
        Instructions.push_back(Instruction);
    if (Instructions.empty()) Fail("an empty filter", -EINVAL);
    return Instructions;
}

// The program as the body of a function returning it: {code, jt, jf, k} per instruction.
std::string Function(const char *Name, const std::vector<sock_filter> &Instructions) {
    std::string Text = "std::span<const sock_filter> " + std::string(Name) + "() {\n";
    Text += "    static constexpr sock_filter Program[] = {\n";
    for (const sock_filter &Instruction : Instructions)
        Text += "        {" + std::to_string(Instruction.code) + ", " + std::to_string(Instruction.jt) +
                ", " + std::to_string(Instruction.jf) + ", " + std::to_string(Instruction.k) + "u},\n";
    return Text + "    };\n    return Program;\n}\n\n";
}

}  // namespace
}  // namespace velkaran

int main(int Argc, char **Argv) {
    using namespace velkaran;
    if (Argc != 2) {
        std::fputs("usage: velk-filter-generator OUTPUT.cpp\n", stderr);
        return 2;
    }
    // The refusals: a filter that lets through what it does not refuse.
    const TFilter Refusals = RefusalFilter(false);
    const TFilter ProgramRefusals = RefusalFilter(true);
    // The allow-list, under which every call it does not name has no such system call.
    const TFilter Allowed = AllowFilter(false);
    const TFilter ProgramAllowed = AllowFilter(true);

    std::ofstream Out(Argv[1]);
    Out << "// Written by velk-filter-generator when the program was built: do not edit.\n"
           "#include \"compiled_filters.h\"\n\nnamespace velkaran {\n\n"
        << Function("CompiledRefusals", Program(Refusals)) << Function("CompiledAllowList", Program(Allowed))
        << Function("CompiledProgramRefusals", Program(ProgramRefusals))
        << Function("CompiledProgramAllowList", Program(ProgramAllowed)) << "}  // namespace velkaran\n";
    Out.close();
    if (!Out) {
        std::fprintf(stderr, "velk-filter-generator: cannot write %s\n", Argv[1]);
        return 1;
    }
    return 0;
}
