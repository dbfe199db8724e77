// A progress of long work for tests: it records the parts told and cancels at a chosen step.
#pragma once

#include "platform/WorkProgress.h"

#include <cstddef>
#include <vector>

// Installed while alive: records the parts of the work told, and cancels at step `cancelAt` (from 1).
struct ScriptedProgress : platform::WorkProgress {
    explicit ScriptedProgress(std::size_t cancelAt) : cancelAt(cancelAt) { platform::SetWorkProgress(this); }
    ~ScriptedProgress() override { platform::SetWorkProgress(nullptr); }
    void Begin(const QString&) override {}
    bool Step(double part) override
    {
        parts.push_back(part);
        return parts.size() != cancelAt;
    }
    void End() override { ++ended; }
    std::size_t cancelAt;
    std::vector<double> parts;
    int ended = 0;
};
