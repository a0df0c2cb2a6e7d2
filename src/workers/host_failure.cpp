#include "host_failure.h"

#include <cstring>

namespace velkaran {

void ThrowHostFailure(const std::string &What, int Errno) {
    throw THostFailure(What + ": " + std::strerror(Errno));
}

}  // namespace velkaran
