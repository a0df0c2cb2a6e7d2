// The relay thread: poll over the attached pipes and a wake-up pipe, lines assembled per pipe,
// bytes counted per bot.
#include "output_relay.h"

#include "host_failure.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace velkaran {
namespace {

constexpr std::size_t LineLimit = 4096;  // a longer line is written in pieces of this size

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

// Where one bot's output goes, and how much of it went so far: shared by its workers' pipes.
struct TStream {
    std::string Prefix;  // "<bot>: " before every line; empty for a file of its own
    int Sink = -1;
    bool OwnSink = false;  // a log file, closed with the relay
    uint64_t Written = 0;
    bool Cut = false;
};

// One attached pipe and the line it has begun.
struct TSource {
    int Fd = -1;
    TStream *Stream = nullptr;
    std::string Line;
};

}  // namespace

struct TOutputRelay::TState {
    std::string Folder;
    int Sink;
    uint64_t Cap;
    int Wake[2] = {-1, -1};
    std::mutex Lock;
    std::map<std::string, std::unique_ptr<TStream>> Streams;  // by bot; made by Attach
    std::vector<TSource> Added;                               // attached since the thread last looked
    bool Stopping = false;
    std::vector<TSource> Sources;  // the thread's own
    std::thread Thread;

    // Writes Bytes as the stream's next output while they fit under the cap; the first that do
    // not are replaced by a note on a line of its own, and nothing more is written.
    void Forward(TStream &Stream, const char *Bytes, std::size_t Size, bool EndOfLine) {
        if (Stream.Cut) return;
        if (Size + (EndOfLine ? 1 : 0) > Cap - Stream.Written) {
            Stream.Cut = true;
            std::string Note = Stream.Prefix.empty() ? "\n" : Stream.Prefix;
            Note += "[velkaran: the bot's output was cut here: it wrote more than " + std::to_string(Cap) +
                    " bytes in this run]\n";
            iovec Piece{Note.data(), Note.size()};
            WriteAll(Stream.Sink, &Piece, 1);
            return;
        }
        Stream.Written += Size + (EndOfLine ? 1 : 0);
        char LineEnd[] = "\n";
        iovec Pieces[3] = {{Stream.Prefix.data(), Stream.Prefix.size()},
                           {const_cast<char *>(Bytes), Size},
                           {LineEnd, EndOfLine ? std::size_t{1} : std::size_t{0}}};
        WriteAll(Stream.Sink, Pieces, 3);
    }

    void Emit(TSource &Source) {
        Forward(*Source.Stream, Source.Line.data(), Source.Line.size(), true);
        Source.Line.clear();  // keeps its room: no allocation per line
    }

    // Reads what is waiting on Source; false at its end.
    bool Drain(TSource &Source) {
        char Buffer[4096];
        const ssize_t Read = read(Source.Fd, Buffer, sizeof Buffer);
        if (Read < 0) return errno == EINTR || errno == EAGAIN;
        if (Read == 0) return false;
        if (Source.Stream->Prefix.empty()) {  // a file of its own: the bytes as they come
            Forward(*Source.Stream, Buffer, static_cast<std::size_t>(Read), false);
            return true;
        }
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

TOutputRelay::TOutputRelay(std::string Folder, int Sink, uint64_t CapBytes)
    : State(std::make_unique<TState>()) {
    State->Folder = std::move(Folder);
    State->Sink = Sink;
    State->Cap = CapBytes;
    if (pipe2(State->Wake, O_CLOEXEC | O_NONBLOCK) != 0) ThrowHostFailure("cannot make a pipe", errno);
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
    for (const auto &[Bot, Stream] : State->Streams)
        if (Stream->OwnSink) close(Stream->Sink);
    for (int Fd : State->Wake)
        if (Fd >= 0) close(Fd);
}

int TOutputRelay::Attach(const std::string &Bot) {
    std::lock_guard<std::mutex> Guard(State->Lock);
    std::unique_ptr<TStream> &Stream = State->Streams[Bot];
    if (!Stream) {
        auto Made = std::make_unique<TStream>();
        if (State->Folder.empty()) {
            Made->Prefix = Bot + ": ";
            Made->Sink = State->Sink;
        } else {
            const std::string Log = (std::filesystem::path(State->Folder) / (Bot + ".log")).string();
            Made->Sink = open(Log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
            if (Made->Sink < 0) {
                State->Streams.erase(Bot);
                ThrowHostFailure("cannot write the bot's output to " + Log, errno);
            }
            Made->OwnSink = true;
        }
        Stream = std::move(Made);
    }
    int Pipe[2];
    if (pipe2(Pipe, O_CLOEXEC) != 0) ThrowHostFailure("cannot make a pipe for a bot's output", errno);
    State->Added.push_back(TSource{Pipe[0], Stream.get(), {}});
    State->Added.back().Line.reserve(LineLimit);
    State->Poke();
    return Pipe[1];
}

}  // namespace velkaran
