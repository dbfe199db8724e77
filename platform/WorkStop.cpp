// The stop request of long work, read by every thread.
#include "platform/WorkStop.h"

#include <atomic>

namespace platform {
namespace {

std::atomic<int> stops{0};

}  // namespace

WorkStop::WorkStop()
{
    ++stops;
}

WorkStop::~WorkStop()
{
    --stops;
}

bool WorkStopRequested()
{
    return stops.load(std::memory_order_relaxed) > 0;
}

}  // namespace platform
