// The background rescan of the library folders: a thread that rescans once and ends.
#pragma once

#include <atomic>
#include <string>

#include <QThread>

class LogFileDBManager;

// Scans through a manager and connection of its own on the database file of the given
// manager, so the window thread keeps using its manager meanwhile; SQLite's file locks
// and the busy time-out order the two connections. Destroying a running scanner stops
// it between files and waits for its thread.
class TLibIdleScanner : public QThread {
    Q_OBJECT
public:
    // A null or closed manager gives a scanner that ends without touching any database.
    explicit TLibIdleScanner(const LogFileDBManager* manager, QObject* parent = nullptr);
    ~TLibIdleScanner() override;

    // Starts the thread at idle priority.
    void StartIdle();
    // Asks a running scan to end after the file in hand.
    void RequestStop();

    // Read after finished(): rows written, and the failure (empty when none).
    int ScannedCount() const { return scannedCount_; }
    const std::string& Failure() const { return failure_; }

protected:
    void run() override;

private:
    const std::string databasePath_;
    std::atomic<bool> stop_{false};
    int scannedCount_ = 0;
    std::string failure_;
};
