#include "refused_calls.h"

#include <fcntl.h>
#include <linux/ioprio.h>
#include <linux/seccomp.h>
#include <linux/sockios.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>

#include <cerrno>
#include <csignal>

// Calls newer than the C library's headers (x86-64 numbers).
#ifndef __NR_fchmodat2
#define __NR_fchmodat2 452
#endif
#ifndef __NR_statmount
#define __NR_statmount 457
#endif
#ifndef __NR_listmount
#define __NR_listmount 458
#endif
#ifndef __NR_lsm_set_self_attr
#define __NR_lsm_set_self_attr 460
#endif
#ifndef __NR_setxattrat
#define __NR_setxattrat 463
#endif
#ifndef __NR_removexattrat
#define __NR_removexattrat 466
#endif
#ifndef __NR_open_tree_attr
#define __NR_open_tree_attr 467
#endif
#ifndef __NR_file_setattr
#define __NR_file_setattr 469
#endif
#ifndef IOPRIO_WHO_PROCESS
#define IOPRIO_WHO_PROCESS 1
#endif

namespace velkaran {
namespace {

#define VELK_CALL(Name) #Name, __NR_##Name

constexpr uint64_t WriteOpenFlags = O_WRONLY | O_RDWR | O_CREAT | O_TRUNC;

constexpr uint64_t NamespaceFlags =
    CLONE_NEWNS | CLONE_NEWCGROUP | CLONE_NEWUTS | CLONE_NEWIPC | CLONE_NEWUSER | CLONE_NEWPID | CLONE_NEWNET;

#if defined(__x86_64__) && !defined(__ILP32__)
constexpr TRefusedCall Table[] = {
    // Sockets: the bot talks to nobody.
    {VELK_CALL(socket)},
    {VELK_CALL(socketpair)},
    {VELK_CALL(connect)},
    {VELK_CALL(bind)},
    {VELK_CALL(listen)},
    {VELK_CALL(accept)},
    {VELK_CALL(accept4)},
    // New processes and programs; threads start through clone with CLONE_THREAD.
    {VELK_CALL(fork)},
    {VELK_CALL(vfork)},
    {VELK_CALL(execve)},
    {VELK_CALL(execveat)},
    {VELK_CALL(clone), TRefusal::ArgLacksBit, 0, CLONE_THREAD},
    {VELK_CALL(clone), TRefusal::ArgHasAnyBit, 0, NamespaceFlags},
    // Its flags live in memory a filter cannot read: the C library falls back to clone.
    {VELK_CALL(clone3), TRefusal::Always, 0, 0, TRefusalAnswer::NoSystemCall},
    // Reaching into other processes.
    {VELK_CALL(ptrace)},
    {VELK_CALL(process_vm_readv)},
    {VELK_CALL(process_vm_writev)},
    {VELK_CALL(kcmp)},
    {VELK_CALL(pidfd_open)},
    {VELK_CALL(pidfd_getfd)},
    {VELK_CALL(pidfd_send_signal)},  // the target hides behind a descriptor
    {VELK_CALL(get_robust_list), TRefusal::ArgNotSelfOrZero, 0},
    {VELK_CALL(process_madvise)},
    {VELK_CALL(process_mrelease)},
    {VELK_CALL(migrate_pages)},
    {VELK_CALL(move_pages)},
    // Signals go to the process itself only, and its SIGSYS handler stays.
    {VELK_CALL(kill), TRefusal::ArgNotSelf, 0},
    {VELK_CALL(tkill), TRefusal::ArgNotSelf, 0},
    {VELK_CALL(tgkill), TRefusal::ArgNotSelf, 0},
    {VELK_CALL(rt_sigqueueinfo), TRefusal::ArgNotSelf, 0},
    {VELK_CALL(rt_tgsigqueueinfo), TRefusal::ArgNotSelf, 0},
    {VELK_CALL(rt_sigaction), TRefusal::HandlerFor, 0, SIGSYS},
    // Signals by proxy: a descriptor's owner gets SIGIO when the descriptor is ready.
    {VELK_CALL(fcntl), TRefusal::ArgIs32, 1, F_SETOWN, TRefusalAnswer::NotPermitted},
    {VELK_CALL(fcntl), TRefusal::ArgIs32, 1, F_SETOWN_EX, TRefusalAnswer::NotPermitted},
    {VELK_CALL(fcntl), TRefusal::ArgIs32, 1, F_SETSIG, TRefusalAnswer::NotPermitted},
    {VELK_CALL(ioctl), TRefusal::ArgIs32, 1, FIOSETOWN, TRefusalAnswer::NotPermitted},
    {VELK_CALL(ioctl), TRefusal::ArgIs32, 1, SIOCSPGRP, TRefusalAnswer::NotPermitted},
    // Limits, priorities and CPUs of other processes (an opponent's worker, the host).
    {VELK_CALL(prlimit64), TRefusal::ArgNotSelfOrZero, 0},
    // The CPU it was pinned to stays its CPU: undoing the pinning would take time from other games.
    {VELK_CALL(sched_setaffinity), TRefusal::Always, 0, 0, TRefusalAnswer::NotPermitted},
    {VELK_CALL(setpriority), TRefusal::ArgNot, 0, PRIO_PROCESS},
    {VELK_CALL(setpriority), TRefusal::ArgNotSelfOrZero, 1},
    {VELK_CALL(ioprio_set), TRefusal::ArgNot, 0, IOPRIO_WHO_PROCESS},
    {VELK_CALL(ioprio_set), TRefusal::ArgNotSelfOrZero, 1},
    {VELK_CALL(sched_setscheduler)},
    {VELK_CALL(sched_setparam)},
    {VELK_CALL(sched_setattr)},
    // Kernel interfaces that bypass the filter or widen what a process can reach.
    {VELK_CALL(io_uring_setup)},
    {VELK_CALL(io_uring_enter)},
    {VELK_CALL(io_uring_register)},
    {VELK_CALL(bpf)},
    {VELK_CALL(perf_event_open)},
    {VELK_CALL(userfaultfd)},
    {VELK_CALL(keyctl)},
    {VELK_CALL(add_key)},
    {VELK_CALL(request_key)},
    {VELK_CALL(modify_ldt)},
    {VELK_CALL(uselib)},
    {VELK_CALL(lookup_dcookie)},
    {VELK_CALL(personality), TRefusal::ArgNot, 0, 0xffffffffu},  // querying stays allowed
    {VELK_CALL(ioctl), TRefusal::ArgIs32, 1, TIOCSTI},           // typing into a terminal
    {VELK_CALL(ioctl), TRefusal::ArgIs32, 1, TIOCLINUX},
    // Talking to other processes: System V IPC, POSIX message queues, memory shared by descriptor
    // (allowed only when a control group counts it against the memory cap), locks on shared files.
    {VELK_CALL(shmget)},
    {VELK_CALL(shmat)},
    {VELK_CALL(shmctl)},
    {VELK_CALL(shmdt)},
    {VELK_CALL(semget)},
    {VELK_CALL(semop)},
    {VELK_CALL(semtimedop)},
    {VELK_CALL(semctl)},
    {VELK_CALL(msgget)},
    {VELK_CALL(msgsnd)},
    {VELK_CALL(msgrcv)},
    {VELK_CALL(msgctl)},
    {VELK_CALL(mq_open)},
    {VELK_CALL(mq_unlink)},
    {VELK_CALL(mq_timedsend)},
    {VELK_CALL(mq_timedreceive)},
    {VELK_CALL(mq_notify)},
    {VELK_CALL(mq_getsetattr)},
    {VELK_CALL(memfd_create), TRefusal::UnlessMemoryCapped},
    {VELK_CALL(memfd_secret)},
    {VELK_CALL(flock), TRefusal::Always, 0, 0, TRefusalAnswer::NotPermitted},
    {VELK_CALL(fcntl), TRefusal::ArgIs32, 1, F_SETLK, TRefusalAnswer::NotPermitted},
    {VELK_CALL(fcntl), TRefusal::ArgIs32, 1, F_SETLKW, TRefusalAnswer::NotPermitted},
    {VELK_CALL(fcntl), TRefusal::ArgIs32, 1, F_OFD_SETLK, TRefusalAnswer::NotPermitted},
    {VELK_CALL(fcntl), TRefusal::ArgIs32, 1, F_OFD_SETLKW, TRefusalAnswer::NotPermitted},
    {VELK_CALL(fcntl), TRefusal::ArgIs32, 1, F_SETLEASE, TRefusalAnswer::NotPermitted},
    {VELK_CALL(fcntl), TRefusal::ArgIs32, 1, F_NOTIFY, TRefusalAnswer::NotPermitted},
    // Writing to the file system, refused here as well as by Landlock (which a kernel may lack),
    // with Landlock's answer. Descriptors open at entry stay writable.
    {VELK_CALL(open), TRefusal::ArgHasAnyBit, 1, WriteOpenFlags, TRefusalAnswer::AccessDenied},
    {VELK_CALL(openat), TRefusal::ArgHasAnyBit, 2, WriteOpenFlags, TRefusalAnswer::AccessDenied},
    {VELK_CALL(creat), TRefusal::Always, 0, 0, TRefusalAnswer::AccessDenied},
    {VELK_CALL(truncate), TRefusal::Always, 0, 0, TRefusalAnswer::AccessDenied},
    {VELK_CALL(mkdir), TRefusal::Always, 0, 0, TRefusalAnswer::AccessDenied},
    {VELK_CALL(mkdirat), TRefusal::Always, 0, 0, TRefusalAnswer::AccessDenied},
    {VELK_CALL(rmdir), TRefusal::Always, 0, 0, TRefusalAnswer::AccessDenied},
    {VELK_CALL(unlink), TRefusal::Always, 0, 0, TRefusalAnswer::AccessDenied},
    {VELK_CALL(unlinkat), TRefusal::Always, 0, 0, TRefusalAnswer::AccessDenied},
    {VELK_CALL(rename), TRefusal::Always, 0, 0, TRefusalAnswer::AccessDenied},
    {VELK_CALL(renameat), TRefusal::Always, 0, 0, TRefusalAnswer::AccessDenied},
    {VELK_CALL(renameat2), TRefusal::Always, 0, 0, TRefusalAnswer::AccessDenied},
    {VELK_CALL(link), TRefusal::Always, 0, 0, TRefusalAnswer::AccessDenied},
    {VELK_CALL(linkat), TRefusal::Always, 0, 0, TRefusalAnswer::AccessDenied},
    {VELK_CALL(symlink), TRefusal::Always, 0, 0, TRefusalAnswer::AccessDenied},
    {VELK_CALL(symlinkat), TRefusal::Always, 0, 0, TRefusalAnswer::AccessDenied},
    // Namespaces and mounts.
    {VELK_CALL(unshare)},
    {VELK_CALL(setns)},
    {VELK_CALL(mount)},
    {VELK_CALL(umount2)},
    {VELK_CALL(pivot_root)},
    {VELK_CALL(chroot)},
    {VELK_CALL(open_tree)},
    {VELK_CALL(open_tree_attr)},
    {VELK_CALL(move_mount)},
    {VELK_CALL(fsopen)},
    {VELK_CALL(fsconfig)},
    {VELK_CALL(fsmount)},
    {VELK_CALL(fspick)},
    {VELK_CALL(mount_setattr)},
    {VELK_CALL(statmount)},
    {VELK_CALL(listmount)},
    // Files by handle, which skips path checks.
    {VELK_CALL(name_to_handle_at)},
    {VELK_CALL(open_by_handle_at)},
    // File metadata, which Landlock does not govern.
    {VELK_CALL(chmod)},
    {VELK_CALL(fchmod)},
    {VELK_CALL(fchmodat)},
    {VELK_CALL(fchmodat2)},
    {VELK_CALL(chown)},
    {VELK_CALL(fchown)},
    {VELK_CALL(lchown)},
    {VELK_CALL(fchownat)},
    {VELK_CALL(setxattr)},
    {VELK_CALL(lsetxattr)},
    {VELK_CALL(fsetxattr)},
    {VELK_CALL(setxattrat)},
    {VELK_CALL(removexattr)},
    {VELK_CALL(lremovexattr)},
    {VELK_CALL(fremovexattr)},
    {VELK_CALL(removexattrat)},
    {VELK_CALL(file_setattr)},
    {VELK_CALL(utime)},
    {VELK_CALL(utimes)},
    {VELK_CALL(futimesat)},
    {VELK_CALL(utimensat)},
    {VELK_CALL(mknod)},
    {VELK_CALL(mknodat)},
    // Watching files outside the folder.
    {VELK_CALL(inotify_add_watch)},
    {VELK_CALL(fanotify_init)},
    {VELK_CALL(fanotify_mark)},
    // Identity and privileges.
    {VELK_CALL(setuid)},
    {VELK_CALL(setgid)},
    {VELK_CALL(setreuid)},
    {VELK_CALL(setregid)},
    {VELK_CALL(setresuid)},
    {VELK_CALL(setresgid)},
    {VELK_CALL(setfsuid)},
    {VELK_CALL(setfsgid)},
    {VELK_CALL(setgroups)},
    {VELK_CALL(capset)},
    {VELK_CALL(lsm_set_self_attr)},
    // Administration of the machine (matters when the worker runs as root).
    {VELK_CALL(kexec_load)},
    {VELK_CALL(kexec_file_load)},
    {VELK_CALL(init_module)},
    {VELK_CALL(finit_module)},
    {VELK_CALL(delete_module)},
    {VELK_CALL(reboot)},
    {VELK_CALL(swapon)},
    {VELK_CALL(swapoff)},
    {VELK_CALL(acct)},
    {VELK_CALL(quotactl)},
    {VELK_CALL(quotactl_fd)},
    {VELK_CALL(settimeofday)},
    {VELK_CALL(clock_settime)},
    {VELK_CALL(clock_adjtime)},
    {VELK_CALL(adjtimex)},
    {VELK_CALL(sethostname)},
    {VELK_CALL(setdomainname)},
    {VELK_CALL(iopl)},
    {VELK_CALL(ioperm)},
    {VELK_CALL(syslog)},
    {VELK_CALL(vhangup)},
};
#else
constexpr TRefusedCall Table[] = {{"", -1}};  // the filter is written for x86-64 only
#endif

#undef VELK_CALL

}  // namespace

std::span<const TRefusedCall> RefusedCalls() {
#if defined(__x86_64__) && !defined(__ILP32__)
    return Table;
#else
    return {};
#endif
}

bool DependsOnProcess(const TRefusedCall &Call) {
    return Call.When == TRefusal::ArgNotSelf || Call.When == TRefusal::ArgNotSelfOrZero ||
           Call.When == TRefusal::UnlessMemoryCapped;
}

bool StartsAProgram(const TRefusedCall &Call) {
#if defined(__x86_64__) && !defined(__ILP32__)
    return Call.Number == __NR_execve || Call.Number == __NR_execveat;
#else
    return false;
#endif
}

uint32_t RefusalAction(TRefusalAnswer Answer) {
    switch (Answer) {
        case TRefusalAnswer::Trap:
            return SECCOMP_RET_TRAP;
        case TRefusalAnswer::NoSystemCall:
            return SECCOMP_RET_ERRNO | ENOSYS;
        case TRefusalAnswer::NotPermitted:
            return SECCOMP_RET_ERRNO | EPERM;
        case TRefusalAnswer::AccessDenied:
            return SECCOMP_RET_ERRNO | EACCES;
    }
    return SECCOMP_RET_TRAP;
}

const char *RefusedCallName(int Number) {
    for (const TRefusedCall &Call : RefusedCalls())
        if (Call.Number == Number && Call.Answer == TRefusalAnswer::Trap) return Call.Name;
    return nullptr;
}

}  // namespace velkaran
