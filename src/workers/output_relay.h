// Bots' output, forwarded line by line with the bot's file name in front.
#pragma once

#include <memory>
#include <string>

namespace velkaran {

// A thread that reads the output pipes of workers and writes every line to Sink as
// "<prefix>: <line>". Memory stays bounded whatever a bot prints: a line longer than a buffer is
// written in pieces, and a slow Sink slows the bot down, never the host's memory.
class TOutputRelay {
public:
    // Forwards to the descriptor Sink (stderr by default), which must stay open.
    explicit TOutputRelay(int Sink = 2);
    // Forwards what is already waiting, then stops; pipes still open are closed unread.
    ~TOutputRelay();
    TOutputRelay(const TOutputRelay &) = delete;
    TOutputRelay &operator=(const TOutputRelay &) = delete;

    // A new pipe whose read end the relay owns from now on; returns its write end, for a worker's
    // stdout and stderr (the caller closes it once the worker has it), or -1 when no pipe can be
    // made.
    int Attach(const std::string &Prefix);

private:
    struct TState;
    std::unique_ptr<TState> State;
};

}  // namespace velkaran
