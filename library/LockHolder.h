// Who holds the write lock of a database file that another connection found locked.
#pragma once

#include <string>

// "База данных библиотеки <path> занята: процесс <pid> (<name>) держит блокировку записи…"; the
// process is named when the system's lock table shows it.
std::string LockedDatabaseText(const std::string& databasePath);
