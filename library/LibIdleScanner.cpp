// Thread body of the idle rescan.
#include "library/LibIdleScanner.h"

#include <exception>

#include "library/LogFileDBManager.h"

TLibIdleScanner::TLibIdleScanner(const LogFileDBManager* manager, QObject* parent)
    : QThread(parent), databasePath_(manager && manager->IsOpen() ? manager->GetFileName() : std::string())
{
}

TLibIdleScanner::~TLibIdleScanner()
{
    RequestStop();
    wait();
}

void TLibIdleScanner::StartIdle()
{
    start(QThread::IdlePriority);
}

void TLibIdleScanner::RequestStop()
{
    stop_ = true;
}

void TLibIdleScanner::run()
{
    if (databasePath_.empty())
        return;
    // Nothing may leave the thread.
    try {
        LogFileDBManager manager;
        manager.Open(databasePath_);
        scannedCount_ = manager.RescanAllPaths(&failure_, &stop_);
    } catch (const std::exception& error) {
        failure_ = error.what();
    } catch (...) {
        failure_ = "unknown error";
    }
}
