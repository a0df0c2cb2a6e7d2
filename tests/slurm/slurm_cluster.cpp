// The test cluster: a munge key and socket, a slurm.conf and the state of both Slurm daemons in one
// temporary folder. Every process carries SLURM_CONF=<that folder's slurm.conf> in its environment
// (the daemons get it from here, the jobs from sbatch), which is how leftovers are found.
#include "slurm_cluster.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

namespace velkaran::testing {
namespace {

namespace fs = std::filesystem;
using std::chrono::steady_clock;

constexpr auto StopGrace = std::chrono::seconds(5);
constexpr auto StartLimit = std::chrono::seconds(30);

const char *const NeededPrograms[] = {"munged", "slurmctld", "slurmd",   "sbatch",
                                      "squeue", "sinfo",     "scontrol", "scancel"};

// True when a TCP socket can be bound to Port on 127.0.0.1 now.
bool PortIsFree(int Port) {
    const int Socket = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (Socket < 0) return false;
    sockaddr_in Address{};
    Address.sin_family = AF_INET;
    Address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    Address.sin_port = htons(static_cast<uint16_t>(Port));
    const bool Free = bind(Socket, reinterpret_cast<sockaddr *>(&Address), sizeof Address) == 0;
    close(Socket);
    return Free;
}

// Two neighbouring free ports, far from Slurm's usual 6817/6818 and below the ephemeral range; 0 if none.
int FreePortPair() {
    std::mt19937 Random(std::random_device{}());
    std::uniform_int_distribution<int> Base(20000, 29998);
    for (int Try = 0; Try < 100; ++Try) {
        const int Port = Base(Random);
        if (PortIsFree(Port) && PortIsFree(Port + 1)) return Port;
    }
    return 0;
}

// True when something listens on TCP port Port of 127.0.0.1 (read from /proc, without connecting).
bool Listening(int Port) {
    char Local[32];
    std::snprintf(Local, sizeof Local, "0100007F:%04X", static_cast<unsigned>(Port));
    std::istringstream Table(ReadText("/proc/net/tcp"));
    std::string Line;
    std::getline(Table, Line);  // the header
    while (std::getline(Table, Line)) {
        std::istringstream Fields(Line);
        std::string Slot, Address, Remote, State;
        Fields >> Slot >> Address >> Remote >> State;
        if (Address == Local && State == "0A") return true;
    }
    return false;
}

// The last Count lines of a log file, indented, for failure messages.
std::string Tail(const fs::path &File, int Count) {
    std::istringstream Text(ReadText(File));
    std::vector<std::string> Lines;
    for (std::string Line; std::getline(Text, Line);) Lines.push_back(Line);
    std::string Result = "--- " + File.filename().string() + ":\n";
    const std::size_t First = Lines.size() > static_cast<std::size_t>(Count) ? Lines.size() - Count : 0;
    for (std::size_t I = First; I < Lines.size(); ++I) Result += "    " + Lines[I] + "\n";
    return Result;
}

bool WriteFile(const fs::path &File, const std::string &Text) {
    std::ofstream Stream(File, std::ios::binary);
    Stream << Text;
    return static_cast<bool>(Stream.flush());
}

}  // namespace

TSlurmCluster::~TSlurmCluster() { Stop(); }

std::string TSlurmCluster::Unavailable() {
    if (geteuid() != 0)
        return "a test Slurm cluster needs root (slurmd starts the jobs); run the tests as root";
    for (const char *Program : NeededPrograms)
        if (FindProgram(Program).empty())
            return std::string(Program) +
                   " is not installed (scripts/install-deps installs slurm-wlm and munge)";
    return "";
}

std::string TSlurmCluster::Start() {
    if (!Root.empty()) return "the cluster is already started";
    std::string Pattern = (fs::temp_directory_path() / "velkaran-slurm-XXXXXX").string();
    if (mkdtemp(Pattern.data()) == nullptr) return "cannot create a temporary folder";
    Root = Pattern;
    Config = Root / "slurm.conf";
    // Job step daemons detach from slurmd; as a subreaper this process inherits and reaps them.
    prctl(PR_GET_CHILD_SUBREAPER, &WasSubreaper);
    prctl(PR_SET_CHILD_SUBREAPER, 1);
    // munged wants every folder above its socket searchable by all, and a key only its user reads.
    chmod(Root.c_str(), 0711);
    for (const char *Sub : {"munge", "state", "spool"}) fs::create_directory(Root / Sub);
    std::ifstream Random("/dev/urandom", std::ios::binary);
    std::string KeyBytes(1024, '\0');
    Random.read(KeyBytes.data(), static_cast<std::streamsize>(KeyBytes.size()));
    if (!Random || !WriteFile(Root / "munge/munge.key", KeyBytes)) return Failure("cannot write a munge key");
    chmod((Root / "munge/munge.key").c_str(), 0400);

    const auto Begin = steady_clock::now();
    const fs::path Socket = Root / "munge/munge.socket";
    MungedPid = StartProcess(
        {FindProgram("munged"), "--foreground", "--socket=" + Socket.string(),
         "--key-file=" + (Root / "munge/munge.key").string(),
         "--pid-file=" + (Root / "munge/munged.pid").string(), "--log-file=" + (Root / "munged.log").string(),
         "--seed-file=" + (Root / "munge/munged.seed").string()},
        Env(), Root, Root / "munged.log", Root / "munged.log");
    if (MungedPid < 0) return Failure("cannot start munged");
    if (std::string Error = WaitFor([&] { return fs::exists(Socket); }, "munged made no socket");
        !Error.empty())
        return Failure(Error);

    if (std::string Error = WriteConfig(); !Error.empty()) return Failure(Error);
    ControllerPid = StartProcess({FindProgram("slurmctld"), "-D", "-f", Config.string()}, Env(), Root,
                                 Root / "slurmctld.err", Root / "slurmctld.err");
    if (ControllerPid < 0) return Failure("cannot start slurmctld");
    // A slurmd that finds no controller tries again only a second later: start it once slurmctld listens.
    if (std::string Error = WaitFor([&] { return Listening(Port); }, "slurmctld does not listen");
        !Error.empty())
        return Failure(Error);
    NodePid = StartProcess({FindProgram("slurmd"), "-D", "-N", "localhost", "-f", Config.string()}, Env(),
                           Root, Root / "slurmd.err", Root / "slurmd.err");
    if (NodePid < 0) return Failure("cannot start slurmd");
    const auto NodeIdle = [&] {
        return RunProgram({"sinfo", "-h", "-n", "localhost", "-o", "%T"}, Env(), Root).Out == "idle\n";
    };
    if (std::string Error = WaitFor(NodeIdle, "the node is not idle"); !Error.empty()) return Failure(Error);
    ReadySeconds = std::chrono::duration<double>(steady_clock::now() - Begin).count();
    return "";
}

std::string TSlurmCluster::WriteConfig() {
    Port = FreePortPair();
    if (Port == 0) return "no two free ports between 20000 and 29999";
    const long Cpus = sysconf(_SC_NPROCESSORS_ONLN);
    const long long MemoryMb =
        static_cast<long long>(sysconf(_SC_PHYS_PAGES)) * sysconf(_SC_PAGESIZE) / (1024 * 1024);
    std::ostringstream Text;
    Text << "# A one-node test cluster: loopback only, ports of its own, every file in this folder.\n"
         << "ClusterName=velkarantest\n"
         << "SlurmctldHost=localhost\n"
         << "SlurmctldPort=" << Port << "\n"
         << "SlurmdPort=" << Port + 1 << "\n"
         << "CommunicationParameters=NoCtldInAddrAny,NoInAddrAny\n"
         << "SlurmUser=root\n"
         << "SlurmdUser=root\n"
         << "AuthType=auth/munge\n"
         << "CredType=cred/munge\n"
         << "AuthInfo=socket=" << (Root / "munge/munge.socket").string() << "\n"
         << "StateSaveLocation=" << (Root / "state").string() << "\n"
         << "SlurmdSpoolDir=" << (Root / "spool").string() << "\n"
         << "SlurmctldPidFile=" << (Root / "slurmctld.pid").string() << "\n"
         << "SlurmdPidFile=" << (Root / "slurmd.pid").string() << "\n"
         << "SlurmctldLogFile=" << (Root / "slurmctld.log").string() << "\n"
         << "SlurmdLogFile=" << (Root / "slurmd.log").string() << "\n"
         << "ProctrackType=proctrack/linuxproc\n"
         << "TaskPlugin=task/none\n"
         << "JobAcctGatherType=jobacct_gather/none\n"
         << "AccountingStorageType=accounting_storage/none\n"
         << "JobCompType=jobcomp/none\n"
         << "SelectType=select/cons_tres\n"
         << "SelectTypeParameters=CR_CPU\n"
         << "SchedulerParameters=batch_sched_delay=0\n"
         << "MpiDefault=none\n"
         << "ReturnToService=2\n"
         << "MailProg=/bin/true\n"
         << "NodeName=localhost NodeAddr=127.0.0.1 CPUs=" << Cpus << " RealMemory=" << MemoryMb
         << " State=UNKNOWN\n"
         << "PartitionName=test Nodes=localhost Default=YES MaxTime=INFINITE State=UP\n";
    return WriteFile(Config, Text.str()) ? "" : "cannot write " + Config.string();
}

std::string TSlurmCluster::WaitFor(const std::function<bool()> &Condition, const std::string &What) {
    const auto Begin = steady_clock::now();
    while (true) {
        for (auto [Name, Pid] : {std::pair{"munged", &MungedPid}, std::pair{"slurmctld", &ControllerPid},
                                 std::pair{"slurmd", &NodePid}})
            if (*Pid > 0 && FinishedStatus(*Pid)) {
                *Pid = -1;
                return std::string(Name) + " ended at its start";
            }
        if (Condition()) return "";
        if (steady_clock::now() - Begin > StartLimit) return What + " after 30 s";
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

std::string TSlurmCluster::Failure(const std::string &What) {
    std::string Text = What + "\n";
    for (const char *Log : {"munged.log", "slurmctld.err", "slurmctld.log", "slurmd.err", "slurmd.log"})
        if (fs::exists(Root / Log)) Text += Tail(Root / Log, 15);
    Stop();
    return Text;
}

void TSlurmCluster::Stop() {
    if (Root.empty()) return;
    StopProcess(NodePid, StopGrace);
    StopProcess(ControllerPid, StopGrace);
    StopProcess(MungedPid, StopGrace);
    MungedPid = ControllerPid = NodePid = -1;
    // Whatever the daemons left (step daemons, job processes, slurmctld's script helper) is killed;
    // the ones that became this process's children are reaped.
    const auto Deadline = steady_clock::now() + StopGrace;
    while (true) {
        const std::vector<TProcessInfo> Left = Processes();
        for (const TProcessInfo &Process : Left) kill(Process.Pid, SIGKILL);
        while (waitpid(-1, nullptr, WNOHANG) > 0) {
        }
        if (Left.empty() || steady_clock::now() > Deadline) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    prctl(PR_SET_CHILD_SUBREAPER, WasSubreaper);
    std::error_code Ignored;
    fs::remove_all(Root, Ignored);
    Root.clear();
    Config.clear();
}

std::vector<std::string> TSlurmCluster::Env() const { return {"SLURM_CONF=" + Config.string()}; }

std::vector<TProcessInfo> TSlurmCluster::Processes() const {
    if (Config.empty()) return {};
    std::vector<TProcessInfo> Found = ProcessesWithEnvironment("SLURM_CONF=" + Config.string());
    std::erase_if(Found, [](const TProcessInfo &Process) { return Process.Pid == getpid(); });
    return Found;
}

}  // namespace velkaran::testing
