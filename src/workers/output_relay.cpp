// The relay thread: poll over the attached pipes and a wake-up pipe, lines assembled per pipe.
#include "output_relay.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <thread>
#include <vector>

namespace velkaran {
namespace {

constexpr std::size_t LineLimit = 4096;  // a longer line is written in pieces of this size

// One attached pipe and the line it has begun.
struct TSource {
    int Fd = -1;
    std::string Prefix;
    std::string Line;
};

// Writes the pieces one after the other, in as few system calls as the sink allows.
void WriteAll(int Fd, iovec *Pieces, int Count) {
    while (Count > 0) {
        ssize_t Written = writev(Fd, Pieces, Count);
        if (Written < 0 && errno == EINTR) continue;
        if (Written <= 0) return;  // the sink is gone: the output is dropped, the bot goes on
        while (Count > 0 && static_cast<std::size_t>(Written) >= Pieces->iov_len) {
            Written -= static_cast<ssize_t>(Pieces->iov_len);
            ++Pieces;
            --Count;
        }
        if (Count > 0) {
            Pieces->iov_base = static_cast<char *>(Pieces->iov_base) + Written;
            Pieces->iov_len -= static_cast<std::size_t>(Written);
        }
    }
}

}  // namespace

struct TOutputRelay::TState {
    int Sink;
    int Wake[2] = {-1, -1};
    std::mutex Lock;
    std::vector<TSource> Added;  // attached since the thread last looked
    bool Stopping = false;
    std::vector<TSource> Sources;  // the thread's own
    std::thread Thread;

    void Emit(TSource &Source) {
        char Separator[] = ": ";
        char End[] = "\n";
        iovec Pieces[4] = {{Source.Prefix.data(), Source.Prefix.size()},
                           {Separator, 2},
                           {Source.Line.data(), Source.Line.size()},
                           {End, 1}};
        WriteAll(Sink, Pieces, 4);
        Source.Line.clear();  // keeps its room: no allocation per line
    }

    // Reads what is waiting on Source; false at its end.
    bool Drain(TSource &Source) {
        char Buffer[4096];
        const ssize_t Read = read(Source.Fd, Buffer, sizeof Buffer);
        if (Read < 0) return errno == EINTR || errno == EAGAIN;
        if (Read == 0) return false;
        for (ssize_t I = 0; I < Read; ++I) {
            if (Buffer[I] == '\n') {
                Emit(Source);
            } else {
                Source.Line += Buffer[I];
                if (Source.Line.size() >= LineLimit) Emit(Source);
            }
        }
        return true;
    }

    void Close(TSource &Source) {
        if (!Source.Line.empty()) Emit(Source);
        close(Source.Fd);
        Source.Fd = -1;
    }

    void Run() {
        // Once stopping, what is waiting is forwarded for a moment at most: a process that
        // escaped its group could otherwise keep printing for ever.
        int StopRounds = 256;
        for (;;) {
            bool Stop;
            {
                std::lock_guard<std::mutex> Guard(Lock);
                for (TSource &Source : Added) Sources.push_back(std::move(Source));
                Added.clear();
                Stop = Stopping;
            }
            std::vector<pollfd> Watch{{Wake[0], POLLIN, 0}};
            for (const TSource &Source : Sources) Watch.push_back({Source.Fd, POLLIN, 0});
            // When stopping, only what is already waiting is forwarded.
            const int Ready = poll(Watch.data(), Watch.size(), Stop ? 0 : -1);
            if (Ready < 0 && errno != EINTR) break;
            if (Stop && (Ready <= 0 || --StopRounds == 0)) break;
            if (Watch[0].revents != 0) {
                char Byte[64];
                (void)!read(Wake[0], Byte, sizeof Byte);
            }
            for (std::size_t I = 1; I < Watch.size(); ++I) {
                if (Watch[I].revents == 0) continue;
                if (!Drain(Sources[I - 1])) Close(Sources[I - 1]);
            }
            std::erase_if(Sources, [](const TSource &Source) { return Source.Fd < 0; });
        }
        for (TSource &Source : Sources) Close(Source);
        Sources.clear();
    }

    void Poke() const { (void)!write(Wake[1], "x", 1); }
};

TOutputRelay::TOutputRelay(int Sink) : State(std::make_unique<TState>()) {
    State->Sink = Sink;
    if (pipe2(State->Wake, O_CLOEXEC | O_NONBLOCK) != 0) State->Wake[0] = State->Wake[1] = -1;
    State->Thread = std::thread([this] { State->Run(); });
}

TOutputRelay::~TOutputRelay() {
    {
        std::lock_guard<std::mutex> Guard(State->Lock);
        State->Stopping = true;
    }
    State->Poke();
    State->Thread.join();
    std::lock_guard<std::mutex> Guard(State->Lock);
    for (TSource &Source : State->Added) close(Source.Fd);
    for (int Fd : State->Wake)
        if (Fd >= 0) close(Fd);
}

int TOutputRelay::Attach(const std::string &Prefix) {
    int Pipe[2];
    if (pipe2(Pipe, O_CLOEXEC) != 0) return -1;
    {
        std::lock_guard<std::mutex> Guard(State->Lock);
        State->Added.push_back(TSource{Pipe[0], Prefix, {}});
        State->Added.back().Line.reserve(LineLimit);
    }
    State->Poke();
    return Pipe[1];
}

}  // namespace velkaran
