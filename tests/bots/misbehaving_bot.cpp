// A test bot that misbehaves in the way chosen when it is built. Unless said otherwise the fault
// strikes in GetTurn of round 3 of every game (BOT_FROM_GAME delays it to that game and later;
// BOT_IN_START moves it to the opening StartGame, BOT_IN_CLOSE to the closing one):
//   BOT_CRASH          dereferences a null pointer          BOT_ABORT        calls abort()
//   BOT_EXIT           calls exit(0)                        BOT_QUICK_EXIT   calls _exit(7)
//   BOT_RAISE_KILL     raises SIGKILL                       BOT_KILL_GROUP   kill(0, SIGTERM)
//   BOT_RECURSE        recurses until the stack runs out    BOT_THROW        throws from GetTurn
//   BOT_LOOP           spins for ever                       BOT_SLEEP_MS=n   sleeps n ms, then answers
//   BOT_OVERWRITE      writes far past the records it was handed
//   BOT_THREAD_CRASH   starts a thread that crashes 20 ms later, outside any call, and from then
//                      on takes 2 ms for every move
//   BOT_FORK           forks a child that lingers (an hour) with the bot's output open, at the
//                      first StartGame (with BOT_SETSID the child leaves the worker's group first)
//   BOT_CHDIR          changes its working folder to / at the first StartGame
//   BOT_DESTRUCTOR_CRASH  crashes in a destructor when the process ends
//   BOT_CONSTRUCTOR_CRASH, BOT_CONSTRUCTOR_LOOP  crashes or spins while the library is loaded
//   BOT_CRASH_IN_NAME, BOT_HANG_IN_NAME, BOT_BAD_NAME_POINTER  the fault is in GetName
//   BOT_NO_GET_TURN    leaves out GetTurn
//   BOT_CHATTY         prints in every call
//   BOT_SPAM_MB=n      prints n MB without a line break at the first StartGame
//   BOT_SOCKET         opens a socket in GetTurn (refused under the sandbox)
//   BOT_SLOW_MOVES_MS=n  takes n ms for every move (and misbehaves in no other way)
//   BOT_SCRIPTED       answers what the environment says: VELKARAN_BOT_SET, up to 15 numbers
//                      separated by commas, for its set (the rest 0), VELKARAN_BOT_CARD for its move
//   BOT_JOIN_HOST_GROUP  tries to move its worker into the host's process group (then, with
//                      BOT_LOOP, spins for ever)
//   BOT_FORGE          takes its worker's answer pipe over (keeps a copy, points the worker's at
//                      /dev/null), sleeps VELKARAN_FORGE_SLEEP_MS (default 21000) ms and from then
//                      on writes every answer itself
//   BOT_JOURNAL        writes every call it receives, with its records in hex and its process
//                      id, to the file that the environment variable VELKARAN_JOURNAL names
// Otherwise (and before it misbehaves) it holds cards 36 to 50 and passes with card 50.
#include <velkaran/bot.h>
#ifdef BOT_FORGE
#include "workers/worker_protocol.h"
#endif

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <thread>

#ifndef BOT_NAME
#define BOT_NAME "Misbehaving"
#endif
#ifndef BOT_FROM_GAME
#define BOT_FROM_GAME 1
#endif

namespace {

// Volatile itself, so that the compiler cannot prove it null and drop the faulting writes.
[[maybe_unused]] volatile int *volatile NullTarget = nullptr;
int GamesStarted = 0;  // opening StartGame calls so far

// Deeper and deeper until the stack runs out (Depth never goes negative before that).
[[maybe_unused]] int Recurse(int Depth) {
    volatile char Frame[512];
    Frame[0] = static_cast<char>(Depth);
    if (Depth < 0) return 0;
    return Recurse(Depth + 1) + Frame[0];
}

#ifdef BOT_DESTRUCTOR_CRASH
struct TCrashesAtExit {
    ~TCrashesAtExit() { *NullTarget = 1; }
} CrashesAtExit;
#endif

#ifdef BOT_CONSTRUCTOR_CRASH
__attribute__((constructor)) void CrashWhileLoaded() { *NullTarget = 1; }
#endif
#ifdef BOT_CONSTRUCTOR_LOOP
__attribute__((constructor)) void SpinWhileLoaded() {
    for (;;) asm volatile("");
}
#endif

#ifdef BOT_FORGE
int Forged = -1;  // the worker's answer pipe, once the bot took it over

// Takes the answer pipe over and makes the move as slow as the environment says.
void TakeTheAnswerPipe() {
    Forged = dup(velkaran::worker::AnswerFd);
    const int Nothing = open("/dev/null", O_WRONLY);
    dup2(Nothing, velkaran::worker::AnswerFd);
    close(Nothing);
    const char *Sleep = std::getenv("VELKARAN_FORGE_SLEEP_MS");
    std::this_thread::sleep_for(std::chrono::milliseconds(Sleep != nullptr ? std::atoi(Sleep) : 21000));
}

// Answers the call in hand as the worker would.
void Forge(int32_t Card, const TCardList *Set) {
    velkaran::worker::TAnswer Answer;
    Answer.Kind = velkaran::worker::TAnswerKind::Called;
    Answer.Card = Card;
    if (Set != nullptr) Answer.List = *Set;
    (void)!write(Forged, &Answer, velkaran::worker::CalledAnswerSize);
}
#endif

// The fault itself; returns only for the faults that let the call go on.
[[maybe_unused]] void Misbehave([[maybe_unused]] const TGameView *View,
                                [[maybe_unused]] const TTurnInfo *Info) {
#ifdef BOT_CRASH
    *NullTarget = 1;
#endif
#ifdef BOT_ABORT
    std::abort();
#endif
#ifdef BOT_EXIT
    std::exit(0);
#endif
#ifdef BOT_QUICK_EXIT
    _exit(7);
#endif
#ifdef BOT_RAISE_KILL
    raise(SIGKILL);
#endif
#ifdef BOT_KILL_GROUP
    kill(0, SIGTERM);
    pause();
#endif
#ifdef BOT_RECURSE
    Recurse(0);
#endif
#ifdef BOT_THROW
    throw std::runtime_error("the test bot gives up");
#endif
#ifdef BOT_JOIN_HOST_GROUP
    setpgid(0, getpgid(getppid()));
#endif
#ifdef BOT_LOOP
    for (;;) asm volatile("");
#endif
#ifdef BOT_SLEEP_MS
    std::this_thread::sleep_for(std::chrono::milliseconds(BOT_SLEEP_MS));
#endif
#ifdef BOT_OVERWRITE
    std::memset(const_cast<TTurnInfo *>(Info), 0x55, 1 << 16);
#endif
#ifdef BOT_THREAD_CRASH
    std::thread([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        *NullTarget = 1;
    }).detach();
#endif
#ifdef BOT_SOCKET
    socket(AF_INET, SOCK_STREAM, 0);
#endif
#ifdef BOT_FORGE
    TakeTheAnswerPipe();
#endif
}

#ifdef BOT_JOURNAL
// One line per call: the process, the call, and each record byte by byte ("-" for a null pointer).
void Journal(const char *Call, int32_t Index, const void *First, std::size_t FirstSize, const void *Second,
             std::size_t SecondSize, const void *Third, std::size_t ThirdSize, int32_t Answer) {
    const char *Path = std::getenv("VELKARAN_JOURNAL");
    if (Path == nullptr) return;
    std::FILE *File = std::fopen(Path, "a");
    if (File == nullptr) return;
    std::fprintf(File, "%d %s %d", static_cast<int>(getpid()), Call, Index);
    const void *Records[3] = {First, Second, Third};
    const std::size_t Sizes[3] = {FirstSize, SecondSize, ThirdSize};
    for (int R = 0; R < 3; ++R) {
        if (Sizes[R] == 0) continue;
        std::fputc(' ', File);
        if (Records[R] == nullptr) std::fputc('-', File);
        for (std::size_t B = 0; Records[R] != nullptr && B < Sizes[R]; ++B)
            std::fprintf(File, "%02x", static_cast<const unsigned char *>(Records[R])[B]);
    }
    std::fprintf(File, " -> %d\n", static_cast<int>(Answer));
    std::fclose(File);
}
#endif

}  // namespace

extern "C" {

VELKARAN_EXPORT const char *GetName(void) {
#ifdef BOT_CRASH_IN_NAME
    if (*NullTarget == 0) return "";
#endif
#ifdef BOT_HANG_IN_NAME
    for (;;) pause();
#endif
#ifdef BOT_BAD_NAME_POINTER
    return reinterpret_cast<const char *>(16);
#endif
#ifdef BOT_JOURNAL
    Journal("GetName", 0, nullptr, 0, nullptr, 0, nullptr, 0, 0);
#endif
    return BOT_NAME;
}

VELKARAN_EXPORT void StartGame(int32_t PlayerIndex, [[maybe_unused]] TCardList *CardSet,
                               [[maybe_unused]] const TTurnInfo *Info) {
#ifdef BOT_CHATTY
    std::printf("chatter: StartGame %d\n", PlayerIndex);
#endif
    (void)PlayerIndex;
#ifdef BOT_JOURNAL
    Journal("StartGame", PlayerIndex, CardSet, sizeof(TCardList), Info, sizeof(TTurnInfo), nullptr, 0, 0);
#endif
    if (CardSet == nullptr) {
#ifdef BOT_IN_CLOSE
        if (GamesStarted >= BOT_FROM_GAME) Misbehave(nullptr, Info);
#endif
#ifdef BOT_FORGE
        if (Forged >= 0) Forge(0, nullptr);
#endif
        return;
    }
    ++GamesStarted;
#ifdef BOT_IN_START
    if (GamesStarted >= BOT_FROM_GAME) Misbehave(nullptr, Info);
#endif
#ifdef BOT_FORK
    if (GamesStarted == 1 && fork() == 0) {
#ifdef BOT_SETSID
        setsid();  // out of the worker's process group
#endif
        sleep(3600);
        _exit(0);
    }
#endif
#ifdef BOT_CHDIR
    if (GamesStarted == 1 && chdir("/") != 0) std::abort();
#endif
#ifdef BOT_SPAM_MB
    if (GamesStarted == 1) {
        static char Block[1 << 20];
        std::memset(Block, 'x', sizeof Block);
        for (int Mb = 0; Mb < BOT_SPAM_MB; ++Mb) fwrite(Block, 1, sizeof Block, stdout);
        std::fflush(stdout);
    }
#endif
    for (int Entry = 0; Entry < CardSetSize; ++Entry) CardSet->Card[Entry] = 36 + Entry;
#ifdef BOT_SCRIPTED
    if (const char *Set = std::getenv("VELKARAN_BOT_SET")) {
        *CardSet = TCardList{};
        for (int Entry = 0; Entry < CardSetSize && *Set != '\0'; ++Entry) {
            char *End = nullptr;
            CardSet->Card[Entry] = static_cast<int32_t>(std::strtol(Set, &End, 10));
            Set = *End == ',' ? End + 1 : End;
        }
    }
#endif
#ifdef BOT_FORGE
    if (Forged >= 0) Forge(0, CardSet);
#endif
}

#ifndef BOT_NO_GET_TURN
VELKARAN_EXPORT int32_t GetTurn(int32_t PlayerIndex, const TGameView *View, const TCardList *Playable,
                                const TTurnInfo *Info) {
    (void)PlayerIndex;
    (void)Playable;
    (void)View;
    (void)Info;
#ifdef BOT_CHATTY
    std::printf("chatter: GetTurn round %d\n", Info->Turn);
#endif
#if !defined(BOT_IN_START) && !defined(BOT_IN_CLOSE)
    if (Info->Turn == 3 && GamesStarted >= BOT_FROM_GAME) Misbehave(View, Info);
#endif
#ifdef BOT_THREAD_CRASH
    if (Info->Turn > 3) std::this_thread::sleep_for(std::chrono::milliseconds(2));
#endif
#ifdef BOT_SLOW_MOVES_MS
    std::this_thread::sleep_for(std::chrono::milliseconds(BOT_SLOW_MOVES_MS));
#endif
#ifdef BOT_JOURNAL
    Journal("GetTurn", PlayerIndex, View, sizeof(TGameView), Playable, sizeof(TCardList), Info,
            sizeof(TTurnInfo), 50);
#endif
#ifdef BOT_SCRIPTED
    if (const char *Card = std::getenv("VELKARAN_BOT_CARD")) return static_cast<int32_t>(std::atoi(Card));
#endif
#ifdef BOT_FORGE
    if (Forged >= 0) Forge(50, nullptr);
#endif
    return 50;
}
#endif

}  // extern "C"
