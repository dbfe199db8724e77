// A Qt device writing through AtomicFileWriter.
#include "platform/AtomicFileDevice.h"

namespace platform {

AtomicFileDevice::AtomicFileDevice(const std::string& path) : writer_(path)
{
    if (writer_.IsOpen())
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

bool AtomicFileDevice::Commit()
{
    close();
    return writer_.Commit();
}

void AtomicFileDevice::Discard()
{
    close();
    writer_.Discard();
}

qint64 AtomicFileDevice::readData(char*, qint64) { return -1; }

qint64 AtomicFileDevice::writeData(const char* data, qint64 size)
{
    writer_.Write(std::string_view(data, static_cast<std::size_t>(size)));
    return writer_.Failed() ? -1 : size;
}

}  // namespace platform
