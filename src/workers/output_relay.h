// Bots' output, forwarded by the host: line by line to stderr with the bot's file name in front,
// or into one file per bot; never more than a cap per bot.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace velkaran {

// What one bot may write in a run; the rest is dropped after a note that says so.
inline constexpr uint64_t BotOutputCapBytes = uint64_t{64} << 20;

// A thread that reads the output pipes of workers. Memory stays bounded whatever a bot prints: a
// line longer than a buffer is written in pieces, and a slow sink slows the bot down, never the
// host's memory; a bot's output past CapBytes is read and dropped, after a note in its output.
class TOutputRelay {
public:
    // With an empty Folder, forwards every line to the descriptor Sink (stderr by default, which
    // must stay open) as "<bot>: <line>"; else writes each bot's bytes as they come to
    // "<Folder>/<bot>.log", begun afresh by the first worker of that bot.
    explicit TOutputRelay(std::string Folder = "", int Sink = 2, uint64_t CapBytes = BotOutputCapBytes);
    // Forwards what is already waiting, then stops; pipes still open are closed unread.
    ~TOutputRelay();
    TOutputRelay(const TOutputRelay &) = delete;
    TOutputRelay &operator=(const TOutputRelay &) = delete;

    // A new pipe for a worker of the bot Bot (its library's file name), whose read end the relay
    // owns from now on; returns its write end, for the worker's stdout and stderr (the caller
    // closes it once the worker has it). Throws THostFailure when no pipe or log file can be made.
    int Attach(const std::string &Bot);

private:
    struct TState;
    std::unique_ptr<TState> State;
};

}  // namespace velkaran
