// A worker gets its pipes, its library and its output whatever descriptors the host has free:
// the pipes of a new worker may be made on the very numbers the worker expects them on.
#include "bot_folder.h"

#include "workers/library_pin.h"
#include "workers/worker_process.h"
#include "workers/worker_run.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

namespace velkaran::testing {
namespace {

constexpr int LowFds = 64;   // the descriptors a layout decides on
constexpr int Parked = 200;  // where the test's own descriptors wait meanwhile

// Holds every descriptor below LowFds open (on /dev/null where the test had none) except Free,
// whose own descriptors are parked meanwhile; the destructor puts everything back.
class DescriptorLayout {
public:
    explicit DescriptorLayout(const std::vector<int> &Free) {
        for (int Fd = 0; Fd < LowFds; ++Fd) {
            const bool Open = fcntl(Fd, F_GETFD) >= 0;
            const bool Freed = std::find(Free.begin(), Free.end(), Fd) != Free.end();
            if (Freed && Open) {
                dup2(Fd, Parked + Fd);
                close(Fd);
                Restore.push_back(Fd);
            } else if (!Freed && !Open) {
                const int Null = open("/dev/null", O_RDWR | O_CLOEXEC);
                if (Null != Fd) dup3(Null, Fd, O_CLOEXEC), close(Null);
                Filled.push_back(Fd);
            }
        }
    }
    ~DescriptorLayout() {
        for (const int Fd : Filled) close(Fd);
        for (const int Fd : Restore) {
            dup2(Parked + Fd, Fd);
            close(Parked + Fd);
        }
    }

private:
    std::vector<int> Restore;
    std::vector<int> Filled;
};

TEST(WorkerStart, WhateverDescriptorsTheHostHasFreeTheWorkerGetsItsChannel) {
    BotFolder Folder;
    TWorkerSettings Settings;
    Settings.Program = VELKARAN_WORKER_PROGRAM;
    TWorkerRun Run;
    // The library and the worker's output on numbers that no layout below frees.
    std::shared_ptr<TPinnedLibrary> Library;
    int Output[2];
    std::string Error;
    {
        const DescriptorLayout AllTaken({});
        Library = TPinnedLibrary::Pin(Folder.AddSampleBot("passive.so"), Error);
        ASSERT_EQ(pipe2(Output, O_CLOEXEC), 0);
    }
    ASSERT_TRUE(Library) << Error;
    // The pipes land on 3 and 4 themselves, crosswise, or with the host's stdout closed.
    for (const std::vector<int> &Free :
         {std::vector{3, 4}, std::vector{4, 3, 5}, std::vector{1, 3, 4, 5, 6, 7, 8, 9}}) {
        SCOPED_TRACE(::testing::PrintToString(Free));
        worker::TAnswer Answer;
        TCallOutcome Outcome;
        {
            const DescriptorLayout Layout(Free);
            const std::unique_ptr<TWorkerProcess> Worker =
                TWorkerProcess::Start(Settings, Run, *Library, Output[1]);
            worker::TRequest Load;
            Load.Kind = worker::TRequestKind::Load;
            Outcome = Worker->Exchange(Load, Answer, 10000);
            Worker->Stop(2000);
        }
        EXPECT_EQ(Outcome.Fault, TCallFault::None) << Outcome.Detail;
        EXPECT_EQ(Answer.Kind, worker::TAnswerKind::Loaded);
        EXPECT_EQ(Answer.Problem, 0) << Answer.Text;
        EXPECT_STREQ(Answer.Name, "Passive");
    }
    close(Output[0]);
    close(Output[1]);
}

}  // namespace
}  // namespace velkaran::testing
