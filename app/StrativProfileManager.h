// The per-user profile: the ".strativ" folder under the user's data folder with its
// sub-folders, and the library database manager of the program.
#pragma once

#include <string>

#include "library/LogFileDBManager.h"

class StrativProfileManager {
public:
    // Name of the library database inside GetLibDir().
    static constexpr const char* LibraryDatabaseName = "las_files.db";

    // The program's profile, built on first use under platform::AppDataDir().
    static StrativProfileManager& Instance();
    // Drops the profile (closing its database); the next Instance() builds it again under the
    // data folder of that moment. For a program that changes its data folder, as tests do.
    static void ResetInstance();

    // Builds the profile under the given data folder (ending with "/"), creating its
    // folders when missing. The database manager stays closed until someone opens it.
    explicit StrativProfileManager(const std::string& appDataDir);
    StrativProfileManager(const StrativProfileManager&) = delete;
    StrativProfileManager& operator=(const StrativProfileManager&) = delete;

    // Full folder paths ending with "/", each created again when it went missing.
    std::string GetProfileDir() const;
    std::string GetSessionsDir() const;
    std::string GetTemplatesDir() const;
    std::string GetLibDir() const;
    std::string GetImportsDir() const;

    LogFileDBManager& GetLogFileDBManager() { return dbManager_; }

private:
    std::string SubFolder(const char* name) const;

    std::string profileDir_;
    LogFileDBManager dbManager_;
};
