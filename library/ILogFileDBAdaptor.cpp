// Column values and extension test shared by every file adaptor.
#include "library/ILogFileDBAdaptor.h"

#include <algorithm>

#include "library/LogFileColumns.h"

ILogFileDBAdaptor::ILogFileDBAdaptor() : values_(LogFilesColumnCount)
{
}

void ILogFileDBAdaptor::SetExtensions(std::vector<std::string> extensions)
{
    extensions_ = std::move(extensions);
    std::sort(extensions_.begin(), extensions_.end());
}

bool ILogFileDBAdaptor::SupportsExtension(std::string_view extension) const
{
    return std::binary_search(extensions_.begin(), extensions_.end(), extension);
}

bool ILogFileDBAdaptor::SetValue(std::string_view column, std::string_view value)
{
    const std::vector<std::string>& columns = LogFilesColumnList();
    const auto found = std::find(columns.begin(), columns.end(), column);
    if (found == columns.end())
        return false;
    values_[found - columns.begin()].assign(value);
    return true;
}

// The texts keep their storage for the next file.
void ILogFileDBAdaptor::ClearValues()
{
    for (std::string& value : values_)
        value.clear();
}
