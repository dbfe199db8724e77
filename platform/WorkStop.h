// The end of the program stops its long work: while a WorkStop lives, scans, reports, exports and
// other long work, on any thread, stop at their next step instead of running to their end.
#pragma once

namespace platform {

class WorkStop {
public:
    WorkStop();
    ~WorkStop();
    WorkStop(const WorkStop&) = delete;
    WorkStop& operator=(const WorkStop&) = delete;
};

// True while a WorkStop lives; safe on any thread.
bool WorkStopRequested();

}  // namespace platform
