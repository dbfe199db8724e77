// A file adaptor of the library database: turns one file of the extensions it declares
// into the column values of its logfiles row.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class ILogFileDBAdaptor {
public:
    ILogFileDBAdaptor();
    virtual ~ILogFileDBAdaptor() = default;

    // Fills the column values from the file: 0 when filled, anything else when not read.
    virtual int GetFileValues(const std::string& path) = 0;

    void SetExtensions(std::vector<std::string> extensions);
    // Exact, case-sensitive match against the declared extensions.
    bool SupportsExtension(std::string_view extension) const;
    // Replaces the value of a logfiles column; false (nothing changed) for any other name.
    bool SetValue(std::string_view column, std::string_view value);
    void ClearValues();
    // One value per logfiles column, in column order.
    const std::vector<std::string>& GetValues() const { return values_; }

private:
    std::vector<std::string> values_;
    std::vector<std::string> extensions_;  // sorted ascending
};

using ILogDBAdaptors = std::vector<std::unique_ptr<ILogFileDBAdaptor>>;
