// A write-only Qt device over an atomic file: what Qt writes goes to the temporary file, a
// failed write is kept with the system's reason, and Commit puts the file in place only when
// every byte reached the disk.
#pragma once

#include "core/AtomicFile.h"

#include <QIODevice>

namespace platform {

class AtomicFileDevice : public QIODevice {
public:
    // Open for writing when the temporary file could be made.
    explicit AtomicFileDevice(const std::string& path);

    const std::string& TempPath() const { return writer_.TempPath(); }
    // Closes the device; false (target untouched) when any write failed.
    bool Commit();
    // Closes the device and leaves the target as it was.
    void Discard();
    int SystemError() const { return writer_.SystemError(); }

protected:
    qint64 readData(char* data, qint64 size) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    AtomicFileWriter writer_;
};

}  // namespace platform
