// Thread body of the library rescan, and the progress the window thread shows meanwhile.
#include "library/LibScanner.h"

#include <exception>

#include "platform/WorkProgress.h"

TLibScanner::TLibScanner(const LogFileDBManager* manager, std::string folderToAdd, QObject* parent)
    : QThread(parent), databasePath_(manager && manager->IsOpen() ? manager->GetFileName() : std::string()),
      folderToAdd_(std::move(folderToAdd))
{
}

TLibScanner::~TLibScanner()
{
    RequestStop();
    wait();
}

std::unique_ptr<TLibScanner> TLibScanner::ResumingUnfinished(const LogFileDBManager* manager)
{
    auto scanner = std::make_unique<TLibScanner>(manager);
    scanner->unfinishedOnly_ = true;
    return scanner;
}

void TLibScanner::StartIdle()
{
    start(QThread::IdlePriority);
}

void TLibScanner::RunWithProgress(const QString& title)
{
    platform::WorkProgressScope progress(title);
    start();
    // Waits as long as the progress lets the windows wait for their events, so that each step
    // handles them.
    while (!wait(QDeadlineTimer(platform::WorkEventsEveryMs))) {
        const int found = progress_.found;
        if (!progress.Step(found ? static_cast<double>(progress_.read) / found : 0.0))
            RequestStop();
    }
}

void TLibScanner::RequestStop()
{
    stop_ = true;
}

void TLibScanner::run()
{
    if (databasePath_.empty())
        return;
    // Nothing may leave the thread.
    try {
        LogFileDBManager manager;
        manager.Open(databasePath_);
        if (unfinishedOnly_) {
            scannedCount_ = manager.RescanPaths(manager.GetResumableScans(), &failure_, &stop_, &progress_);
            return;
        }
        if (folderToAdd_.empty()) {
            scannedCount_ = manager.RescanAllPaths(&failure_, &stop_, &progress_);
            return;
        }
        folderWasListed_ = !manager.AddLookupPath(folderToAdd_);
        scannedCount_ = manager.RescanPaths({folderToAdd_}, &failure_, &stop_, &progress_);
    } catch (...) {
        failure_ = DescribeLibraryFailure(std::current_exception(), databasePath_);
    }
}
