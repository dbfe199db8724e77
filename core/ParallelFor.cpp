// The worker pool behind ParallelFor: threads started once, woken for each run.
#include "core/ParallelFor.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace {

class WorkerPool {
public:
    WorkerPool()
    {
        const int workers = std::max(static_cast<int>(std::thread::hardware_concurrency()), 1) - 1;
        for (int w = 0; w < workers; ++w)
            threads_.emplace_back([this] { Work(); });
    }

    ~WorkerPool()
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        for (std::thread& thread : threads_)
            thread.join();
    }

    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // False when the pool is busy with another run. The first exception of a body is thrown
    // here once every thread has left the run.
    bool Run(int n, const std::function<void(int)>& body)
    {
        std::unique_lock<std::mutex> running(runMutex_, std::try_to_lock);
        if (!running.owns_lock())
            return false;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            body_ = &body;
            n_ = n;
            next_.store(0);
            failure_ = nullptr;
            ++generation_;
        }
        wake_.notify_all();
        Take(body, n);
        std::exception_ptr failure;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            done_.wait(lock, [this] { return active_ == 0; });
            // A worker waking from now on finds no run to join.
            body_ = nullptr;
            failure = std::exchange(failure_, nullptr);
        }
        if (failure)
            std::rethrow_exception(failure);
        return true;
    }

private:
    // After a body has thrown no further index is handed out.
    void Take(const std::function<void(int)>& body, int n)
    {
        for (int i = next_.fetch_add(1); i < n; i = next_.fetch_add(1)) {
            try {
                body(i);
            } catch (...) {
                next_.store(n);
                std::lock_guard<std::mutex> lock(mutex_);
                if (!failure_)
                    failure_ = std::current_exception();
            }
        }
    }

    void Work()
    {
        unsigned long long seen = 0;
        for (;;) {
            const std::function<void(int)>* body = nullptr;
            int n = 0;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                wake_.wait(lock, [&] { return stop_ || generation_ != seen; });
                if (stop_)
                    return;
                seen = generation_;
                if (!body_)
                    continue;
                body = body_;
                n = n_;
                ++active_;
            }
            Take(*body, n);
            std::lock_guard<std::mutex> lock(mutex_);
            if (--active_ == 0)
                done_.notify_all();
        }
    }

    std::mutex runMutex_;  // one run at a time
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    const std::function<void(int)>* body_ = nullptr;
    int n_ = 0;
    std::atomic<int> next_{0};
    unsigned long long generation_ = 0;
    int active_ = 0;
    std::exception_ptr failure_;  // the first exception of the current run
    bool stop_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace

void ParallelFor(int n, const std::function<void(int)>& body)
{
    if (n <= 0)
        return;
    static WorkerPool pool;
    // The thread running the pool's run may not try its lock again.
    thread_local bool running = false;
    bool done = false;
    if (n > 1 && !running) {
        struct Running {
            Running() { running = true; }
            ~Running() { running = false; }
        } scope;
        done = pool.Run(n, body);
    }
    if (!done)
        for (int i = 0; i < n; ++i)
            body(i);
}
