// Profile folders and the library database manager.
#include "app/StrativProfileManager.h"

#include <filesystem>
#include <memory>
#include <system_error>

#include "platform/Folders.h"

namespace {

const char* const SubFolderNames[] = {"sess", "templ", "lib", "imp"};

// Folder creation failures are not fatal: the folder's users report their own failures.
std::string Created(const std::string& folder)
{
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    return folder;
}

}  // namespace

namespace {
std::unique_ptr<StrativProfileManager>& TheInstance()
{
    static std::unique_ptr<StrativProfileManager> instance;
    return instance;
}
}  // namespace

StrativProfileManager& StrativProfileManager::Instance()
{
    std::unique_ptr<StrativProfileManager>& instance = TheInstance();
    if (!instance)
        instance = std::make_unique<StrativProfileManager>(platform::AppDataDir());
    return *instance;
}

void StrativProfileManager::ResetInstance()
{
    TheInstance().reset();
}

StrativProfileManager::StrativProfileManager(const std::string& appDataDir)
    : profileDir_(appDataDir + (appDataDir.empty() || appDataDir.back() == '/' ? "" : "/") + ".strativ/")
{
    for (const char* name : SubFolderNames)
        SubFolder(name);
}

std::string StrativProfileManager::SubFolder(const char* name) const
{
    return Created(profileDir_ + name + "/");
}

std::string StrativProfileManager::GetProfileDir() const
{
    return Created(profileDir_);
}

std::string StrativProfileManager::GetSessionsDir() const
{
    return SubFolder("sess");
}

std::string StrativProfileManager::GetTemplatesDir() const
{
    return SubFolder("templ");
}

std::string StrativProfileManager::GetLibDir() const
{
    return SubFolder("lib");
}

std::string StrativProfileManager::GetImportsDir() const
{
    return SubFolder("imp");
}
