#include "match_thread.h"

#include "workers/cpu_pinning.h"

#include <QMetaObject>

#include <cassert>
#include <exception>

namespace velkaran {

TMatchThread::TMatchThread() : Context(std::make_unique<QObject>()) {
    Thread.setObjectName(QStringLiteral("velkaran-match"));
    Context->moveToThread(&Thread);
    Thread.start();
    Post([] { PinThisThreadToOneCpu(); });
}

TMatchThread::~TMatchThread() {
    Thread.quit();
    Thread.wait();
    // The context has no thread any more; it is deleted here, which Qt allows for a thread that has ended.
    Context.reset();
}

void TMatchThread::Post(std::function<void()> Task) {
    QMetaObject::invokeMethod(Context.get(), std::move(Task), Qt::QueuedConnection);
}

void TMatchThread::Run(const std::function<void()> &Task) {
    assert(!IsCurrent() && "a task cannot wait for its own thread");
    std::exception_ptr Failure;
    QMetaObject::invokeMethod(
        Context.get(),
        [&Task, &Failure] {
            try {
                Task();
            } catch (...) {
                Failure = std::current_exception();
            }
        },
        Qt::BlockingQueuedConnection);
    if (Failure) std::rethrow_exception(Failure);
}

bool TMatchThread::IsCurrent() const { return QThread::currentThread() == &Thread; }

}  // namespace velkaran
