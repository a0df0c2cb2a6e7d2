// Pinning with sched_setaffinity on the calling thread.
#include "cpu_pinning.h"

#include <sched.h>

namespace velkaran {

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

}  // namespace velkaran
