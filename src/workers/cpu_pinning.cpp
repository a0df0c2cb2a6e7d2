// Pinning with sched_setaffinity on the calling thread; the CPUs a process may use from its
// affinity, its control group's quota and Slurm's allocation.
#include "cpu_pinning.h"

#include <sched.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>

namespace velkaran {
namespace {

// ceil(Quota / Period) as a CPU count; no limit for a non-positive quota or period.
int QuotaCpus(double Quota, double Period) {
    if (Quota <= 0 || Period <= 0) return std::numeric_limits<int>::max();
    return std::max(1, static_cast<int>((Quota + Period - 1) / Period));
}

// The smallest CPU quota on the way from this process's control group up to the root.
int CgroupCpuLimit() {
    int Limit = std::numeric_limits<int>::max();
    std::ifstream Groups("/proc/self/cgroup");
    std::string Line;
    while (std::getline(Groups, Line)) {
        // "0::/path" for cgroup v2; "N:cpu,cpuacct:/path" for the v1 cpu controller.
        const std::size_t First = Line.find(':');
        const std::size_t Second = Line.find(':', First + 1);
        if (First == std::string::npos || Second == std::string::npos) continue;
        const std::string Controllers = Line.substr(First + 1, Second - First - 1);
        std::string Path = Line.substr(Second + 1);
        const bool V2 = Controllers.empty();
        std::stringstream Names(Controllers);
        std::string Name;
        bool Cpu = false;
        while (std::getline(Names, Name, ',')) Cpu = Cpu || Name == "cpu";
        if (!V2 && !Cpu) continue;
        for (;;) {
            if (V2) {
                std::ifstream Max("/sys/fs/cgroup" + Path + "/cpu.max");
                std::string Quota;
                double Period = 0;
                if (Max >> Quota >> Period && Quota != "max")
                    Limit = std::min(Limit, QuotaCpus(std::atof(Quota.c_str()), Period));
            } else {
                const std::string Folder = "/sys/fs/cgroup/" + Controllers + Path;
                std::ifstream QuotaFile(Folder + "/cpu.cfs_quota_us"),
                    PeriodFile(Folder + "/cpu.cfs_period_us");
                double Quota = 0, Period = 0;
                if (QuotaFile >> Quota && PeriodFile >> Period)
                    Limit = std::min(Limit, QuotaCpus(Quota, Period));
            }
            if (Path.empty() || Path == "/") break;
            Path = Path.substr(0, Path.rfind('/'));
        }
    }
    return Limit;
}

// SLURM_CPUS_PER_TASK when it is a positive number.
int SlurmCpuLimit() {
    const char *Text = std::getenv("SLURM_CPUS_PER_TASK");
    if (Text == nullptr) return std::numeric_limits<int>::max();
    char *End = nullptr;
    const long Cpus = std::strtol(Text, &End, 10);
    if (End == Text || *End != '\0' || Cpus < 1) return std::numeric_limits<int>::max();
    return static_cast<int>(std::min<long>(Cpus, std::numeric_limits<int>::max()));
}

}  // namespace

int PinThisThreadToOneCpu(int Cpu) {
    cpu_set_t Allowed;
    CPU_ZERO(&Allowed);
    if (sched_getaffinity(0, sizeof Allowed, &Allowed) != 0) return -1;
    if (Cpu < 0) Cpu = sched_getcpu();
    if (Cpu < 0 || Cpu >= CPU_SETSIZE || !CPU_ISSET(Cpu, &Allowed)) return -1;
    cpu_set_t One;
    CPU_ZERO(&One);
    CPU_SET(Cpu, &One);
    return sched_setaffinity(0, sizeof One, &One) == 0 ? Cpu : -1;
}

std::vector<int> AllowedCpus() {
    std::vector<int> Cpus;
    cpu_set_t Allowed;
    CPU_ZERO(&Allowed);
    if (sched_getaffinity(0, sizeof Allowed, &Allowed) == 0)
        for (int Cpu = 0; Cpu < CPU_SETSIZE; ++Cpu)
            if (CPU_ISSET(Cpu, &Allowed)) Cpus.push_back(Cpu);
    return Cpus;
}

int UsableCpuCount() {
    const int Mask = std::max<int>(1, static_cast<int>(AllowedCpus().size()));
    return std::max(1, std::min({Mask, CgroupCpuLimit(), SlurmCpuLimit()}));
}

std::vector<int> UsableCpus() {
    std::vector<int> Cpus = AllowedCpus();
    const auto Count = static_cast<std::size_t>(UsableCpuCount());
    if (Cpus.size() > Count) Cpus.resize(Count);
    return Cpus;
}

}  // namespace velkaran
