// A rescan of the library on a thread of its own: the idle rescan, and the scans the user asks
// for, which the window thread watches with a progress while its windows go on answering.
#pragma once

#include <atomic>
#include <memory>
#include <string>

#include <QString>
#include <QThread>

#include "library/LogFileDBManager.h"

// Scans through a manager and connection of its own on the database file of the given
// manager, so the window thread keeps using its manager meanwhile; SQLite's file locks
// and the busy time-out order the two connections. Destroying a running scanner stops
// it between files and waits for its thread; the end of the program (platform/WorkStop)
// stops it as well, also while it waits for another connection's lock.
class TLibScanner : public QThread {
    Q_OBJECT
public:
    // A null or closed manager gives a scanner that ends without touching any database. With
    // a folder to add, the scan adds it to the library folders and rescans it alone; without,
    // it rescans every library folder.
    explicit TLibScanner(const LogFileDBManager* manager, std::string folderToAdd = {}, QObject* parent = nullptr);
    ~TLibScanner() override;
    // A scanner that rescans only the library folders whose scan did not end, but those another
    // running instance of the program is scanning.
    static std::unique_ptr<TLibScanner> ResumingUnfinished(const LogFileDBManager* manager);

    // Starts the thread at idle priority.
    void StartIdle();
    // Runs the scan and returns when it has ended: a busy cursor meanwhile and, after half a
    // second, a window with the files read and "Отмена", which stops the scan.
    void RunWithProgress(const QString& title);
    // Asks a running scan to end after the file in hand.
    void RequestStop();

    // Read after the thread has ended: rows written, the failure (empty when none), whether
    // the scan was stopped before its end and whether the folder to add was listed already.
    int ScannedCount() const { return scannedCount_; }
    const std::string& Failure() const { return failure_; }
    bool Stopped() const { return stop_; }
    bool FolderWasListed() const { return folderWasListed_; }

protected:
    void run() override;

private:
    const std::string databasePath_;
    const std::string folderToAdd_;
    bool unfinishedOnly_ = false;
    std::atomic<bool> stop_{false};
    LibraryScanProgress progress_;
    int scannedCount_ = 0;
    std::string failure_;
    bool folderWasListed_ = false;
};
