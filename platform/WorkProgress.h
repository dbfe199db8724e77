// Progress of a long piece of work done on the GUI thread, and the user's way to stop it: a busy
// cursor from the start, the program's windows repainting, and once the work has taken half a
// second, a window with a bar and "Отмена". Replaceable, so that a test can cancel
// at a chosen step. The end of the program (platform/WorkStop) stops the work as "Отмена" does.
#pragma once

#include "platform/WorkStop.h"

#include <QString>

namespace platform {

// The longest the windows wait for their events while long work runs: a step handles them once
// this long has passed since they last did.
constexpr int WorkEventsEveryMs = 5;

class WorkProgress {
public:
    virtual ~WorkProgress() = default;
    // The work starts; `title` names it in the window.
    virtual void Begin(const QString& title) = 0;
    // `part` of the work (0 to 1) is done; false: the user cancelled.
    virtual bool Step(double part) = 0;
    virtual void End() = 0;
};

// The progress in use (the busy cursor and the window unless replaced).
WorkProgress& CurrentWorkProgress();
// Replaces it (null: back to the window); returns the previous one.
WorkProgress* SetWorkProgress(WorkProgress* progress);

// Begin on construction, End on destruction, also when the work throws.
class WorkProgressScope {
public:
    explicit WorkProgressScope(const QString& title) { CurrentWorkProgress().Begin(title); }
    ~WorkProgressScope() { CurrentWorkProgress().End(); }
    WorkProgressScope(const WorkProgressScope&) = delete;
    WorkProgressScope& operator=(const WorkProgressScope&) = delete;
    // The step lets the windows handle events, among them a request to end the program.
    bool Step(double part) { return CurrentWorkProgress().Step(part) && !WorkStopRequested(); }
};

}  // namespace platform
