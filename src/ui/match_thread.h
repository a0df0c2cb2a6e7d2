// The thread that plays the desktop program's matches and talks to the bots' workers.
#pragma once

#include <QThread>

#include <functional>
#include <memory>

namespace velkaran {

// One thread with an event loop, started with the program and kept until it ends: a worker
// process is ended when the thread that started it ends, so every worker must be started from a
// thread that lives as long as the program. The thread pins itself to one CPU first, so that the
// workers it starts inherit that CPU. Tasks run one after another, in the order given.
class TMatchThread {
public:
    TMatchThread();
    // Waits for the task in hand (if any) and ends the thread.
    ~TMatchThread();
    TMatchThread(const TMatchThread &) = delete;
    TMatchThread &operator=(const TMatchThread &) = delete;

    // Queues Task and returns at once.
    void Post(std::function<void()> Task);
    // Runs Task on the thread and returns when it is done; an exception it throws is rethrown
    // here. Must not be called from the thread itself, nor while a task waits for the caller.
    void Run(const std::function<void()> &Task);
    // True when called from the thread itself.
    bool IsCurrent() const;

private:
    QThread Thread;
    std::unique_ptr<QObject> Context;  // lives on Thread: what the tasks are queued to
};

}  // namespace velkaran
