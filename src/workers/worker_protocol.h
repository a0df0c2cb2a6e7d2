// The messages between the host and a bot's worker process.
//
// The worker reads requests on RequestFd and writes answers on AnswerFd, two pipes set up by the
// host. The exchange is strict: one request, then one answer (or none, when the worker dies).
// Every message is a fixed record written with a single write() of at most PIPE_BUF bytes, so it
// arrives whole; anything else on the pipe breaks the protocol. Records of the bot SDK travel
// byte for byte as the SDK lays them out.
#pragma once

#include <velkaran/bot.h>

#include <climits>
#include <cstddef>
#include <cstdint>

namespace velkaran::worker {

// The descriptors a worker finds its pipes on, and the library's content when the host pinned it
// (a sealed copy, loaded through /proc/self/fd; the library's path then names it in messages).
inline constexpr int RequestFd = 3;
inline constexpr int AnswerFd = 4;
inline constexpr int LibraryFd = 5;

// What the worker of a program bot writes in place of the program's greeting, before the reason,
// when it cannot become the program (its folder, the sandbox, the program itself).
inline constexpr char WorkerNotePrefix[] = "velkaran-bot-worker: ";

inline constexpr uint32_t RequestMagic = 0x5156'4B56;  // "VKVQ"
inline constexpr uint32_t AnswerMagic = 0x4156'4B56;   // "VKVA"

enum class TRequestKind : uint32_t {
    Load = 1,       // load the library named on the command line and run the loading checks
    StartGame = 2,  // call StartGame; CardSet is passed when HasList is set
    GetTurn = 3,    // call GetTurn; Playable is passed when HasList is set
    Quit = 4,       // end the worker normally (the bot's destructors and exit handlers run)
};

struct TRequest {
    uint32_t Magic = RequestMagic;
    TRequestKind Kind{};
    int32_t PlayerIndex = 0;
    uint32_t HasList = 0;  // 1: List is passed (the card set to fill, or the playable cards)
    TCardList List{};
    TGameView View{};
    TTurnInfo Info{};
};

enum class TAnswerKind : uint32_t {
    Loaded = 1,     // the loading checks ran: Problem, Name and Text
    Called = 2,     // StartGame or GetTurn returned: Card, List (the filled card set)
    Exception = 3,  // a C++ exception left the bot's function: Text holds what it said
    Refused = 4,    // the sandbox refused a system call: Text holds its name; the worker ends
};

inline constexpr int AnswerTextSize = 1024;

struct TAnswer {
    uint32_t Magic = AnswerMagic;
    TAnswerKind Kind{};
    int32_t Card = 0;             // Called by GetTurn: the card answered
    int32_t Problem = 0;          // Loaded: a TBotProblem value, 0 when the bot is usable
    TCardList List{};             // Called by StartGame with a card set: the set as the bot left it
    char Name[AnswerTextSize]{};  // Loaded: the name from the second GetName call
    char Text[AnswerTextSize]{};  // Loaded: why the bot is unusable; Exception, Refused: see above
};

// A Called answer ends before the two text fields: the texts are not sent with it.
inline constexpr std::size_t CalledAnswerSize = offsetof(TAnswer, Name);

static_assert(sizeof(TRequest) <= PIPE_BUF, "a request arrives whole");
static_assert(sizeof(TAnswer) <= PIPE_BUF, "an answer arrives whole");

// Copies Source into the text field Field, cut to fit, always zero-terminated.
inline void CopyText(char (&Field)[AnswerTextSize], const char *Source) {
    int I = 0;
    for (; Source != nullptr && Source[I] != '\0' && I < AnswerTextSize - 1; ++I) Field[I] = Source[I];
    Field[I] = '\0';
}

}  // namespace velkaran::worker
