// Spreading independent pieces of work over the processor's cores.
#pragma once

#include <functional>

// Runs body(i) for i in 0..n-1, the indexes shared out over a pool of threads kept for the
// program's life (the caller takes part); body must be safe to run for different i at once. When a
// body throws, no further index is started and the first exception reaches the caller once every
// body of the call has ended. A call made while the pool is busy (from a body, or from another
// thread) runs on the calling thread alone.
void ParallelFor(int n, const std::function<void(int)>& body);
