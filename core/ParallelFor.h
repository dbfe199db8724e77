// Spreading independent pieces of work over the processor's cores.
#pragma once

#include <algorithm>
#include <thread>
#include <vector>

// Runs body(i) for i in 0..n-1, the indexes shared out over the cores; body must be safe to run
// for different i at once. Worth it when each piece is large (a pass over a million samples).
template <class Body>
void ParallelFor(int n, Body body)
{
    const int workers = std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, std::max(n, 1));
    if (workers <= 1) {
        for (int i = 0; i < n; ++i)
            body(i);
        return;
    }
    std::vector<std::thread> threads;
    for (int w = 0; w < workers; ++w)
        threads.emplace_back([=] {
            for (int i = w; i < n; i += workers)
                body(i);
        });
    for (std::thread& thread : threads)
        thread.join();
}
