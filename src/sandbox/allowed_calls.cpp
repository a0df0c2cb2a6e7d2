#include "allowed_calls.h"

#include <sys/syscall.h>

// Calls newer than the C library's headers (x86-64 numbers).
#ifndef __NR_futex_wake
#define __NR_futex_wake 454
#define __NR_futex_wait 455
#define __NR_futex_requeue 456
#endif
#ifndef __NR_map_shadow_stack
#define __NR_map_shadow_stack 453
#endif
#ifndef __NR_mseal
#define __NR_mseal 462
#endif

namespace velkaran {
namespace {

#if defined(__x86_64__) && !defined(__ILP32__)
constexpr int Table[] = {
    // Descriptors: files are opened read-only within what Landlock lets the bot see; writing goes
    // to the descriptors the worker had at entry (its output, its pipes to the host).
    __NR_read,
    __NR_write,
    __NR_readv,
    __NR_writev,
    __NR_pread64,
    __NR_pwrite64,
    __NR_preadv,
    __NR_pwritev,
    __NR_preadv2,
    __NR_pwritev2,
    __NR_open,
    __NR_openat,
    __NR_close,
    __NR_close_range,
    __NR_lseek,
    __NR_dup,
    __NR_dup2,
    __NR_dup3,
    __NR_fcntl,
    __NR_ioctl,
    __NR_pipe,
    __NR_pipe2,
    __NR_ftruncate,
    __NR_fallocate,
    __NR_fsync,
    __NR_fdatasync,
    __NR_fadvise64,
    __NR_readahead,
    // Looking at files.
    __NR_stat,
    __NR_fstat,
    __NR_lstat,
    __NR_newfstatat,
    __NR_statx,
    __NR_statfs,
    __NR_fstatfs,
    __NR_access,
    __NR_faccessat,
    __NR_faccessat2,
    __NR_readlink,
    __NR_readlinkat,
    __NR_getdents,
    __NR_getdents64,
    __NR_getcwd,
    __NR_chdir,
    __NR_fchdir,
    __NR_umask,
    // Waiting on its own descriptors.
    __NR_poll,
    __NR_ppoll,
    __NR_select,
    __NR_pselect6,
    __NR_epoll_create,
    __NR_epoll_create1,
    __NR_epoll_ctl,
    __NR_epoll_wait,
    __NR_epoll_pwait,
    __NR_epoll_pwait2,
    __NR_eventfd,
    __NR_eventfd2,
    __NR_signalfd,
    __NR_signalfd4,
    __NR_timerfd_create,
    __NR_timerfd_settime,
    __NR_timerfd_gettime,
    // Memory.
    __NR_brk,
    __NR_mmap,
    __NR_munmap,
    __NR_mremap,
    __NR_mprotect,
    __NR_madvise,
    __NR_msync,
    __NR_mlock,
    __NR_mlock2,
    __NR_munlock,
    __NR_mlockall,
    __NR_munlockall,
    __NR_pkey_alloc,
    __NR_pkey_free,
    __NR_pkey_mprotect,
    __NR_get_mempolicy,
    __NR_memfd_create,
    __NR_map_shadow_stack,
    __NR_mseal,
    // Threads (clone is checked to start threads only) and their synchronisation.
    __NR_clone,
    __NR_futex,
    __NR_futex_waitv,
    __NR_futex_wake,
    __NR_futex_wait,
    __NR_futex_requeue,
    __NR_set_robust_list,
    __NR_get_robust_list,
    __NR_set_tid_address,
    __NR_rseq,
    __NR_gettid,
    __NR_exit,
    __NR_exit_group,
    __NR_sched_yield,
    __NR_sched_getaffinity,
    __NR_sched_setaffinity,
    __NR_sched_getparam,
    __NR_sched_getscheduler,
    __NR_sched_getattr,
    __NR_sched_get_priority_max,
    __NR_sched_get_priority_min,
    __NR_sched_rr_get_interval,
    __NR_getpriority,
    __NR_setpriority,
    __NR_ioprio_get,
    __NR_ioprio_set,
    __NR_arch_prctl,
    __NR_prctl,
    // Signals, to itself (kill and its kin are checked).
    __NR_rt_sigaction,
    __NR_rt_sigprocmask,
    __NR_rt_sigreturn,
    __NR_rt_sigsuspend,
    __NR_rt_sigpending,
    __NR_rt_sigtimedwait,
    __NR_rt_sigqueueinfo,
    __NR_rt_tgsigqueueinfo,
    __NR_sigaltstack,
    __NR_kill,
    __NR_tkill,
    __NR_tgkill,
    __NR_pause,
    __NR_alarm,
    __NR_setitimer,
    __NR_getitimer,
    __NR_restart_syscall,
    // Time.
    __NR_clock_gettime,
    __NR_clock_getres,
    __NR_clock_nanosleep,
    __NR_nanosleep,
    __NR_gettimeofday,
    __NR_time,
    __NR_times,
    __NR_timer_create,
    __NR_timer_settime,
    __NR_timer_gettime,
    __NR_timer_getoverrun,
    __NR_timer_delete,
    // What a process may ask about itself and its machine.
    __NR_getpid,
    __NR_getppid,
    __NR_getpgrp,
    __NR_getpgid,
    __NR_getsid,
    __NR_getuid,
    __NR_geteuid,
    __NR_getgid,
    __NR_getegid,
    __NR_getresuid,
    __NR_getresgid,
    __NR_getgroups,
    __NR_capget,
    __NR_uname,
    __NR_sysinfo,
    __NR_getrusage,
    __NR_getrlimit,
    __NR_setrlimit,
    __NR_prlimit64,
    __NR_getrandom,
    __NR_getcpu,
    __NR_personality,
};

// execve replaces the worker (and a script its interpreter) with the program. Nothing more is
// needed yet: AllowedCalls covers what the Python interpreter and a C program ask at their start.
constexpr int ProgramTable[] = {
    __NR_execve,
    __NR_execveat,
};
#endif

}  // namespace

std::span<const int> ProgramCalls() {
#if defined(__x86_64__) && !defined(__ILP32__)
    return ProgramTable;
#else
    return {};
#endif
}

std::span<const int> AllowedCalls() {
#if defined(__x86_64__) && !defined(__ILP32__)
    return Table;
#else
    return {};
#endif
}

}  // namespace velkaran
