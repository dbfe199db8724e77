// The header of one log file as a short list of named, typed fields with Russian captions,
// independent of the file format.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct FieldInfo {
    enum Type : std::uint8_t { Text = 0, Integer = 1, Float = 2, Boolean = 3 };
    std::uint8_t type = Text;
    std::uint8_t writable = 0;
};

class ILogFileHeader {
public:
    static constexpr int StdFieldCount = 6;

    ILogFileHeader() = default;
    virtual ~ILogFileHeader() = default;
    ILogFileHeader(const ILogFileHeader&) = delete;
    ILogFileHeader& operator=(const ILogFileHeader&) = delete;

    // Standard fields: text and writable; others are asked of GetExtraFieldInfo.
    virtual bool GetFieldInfo(const std::string& name, FieldInfo& info) const;
    // Every getter throws std::runtime_error "Поле отсутствует: <name>" for a name that is no
    // field, the typed ones "Invalid data type conversion" for a value that does not convert.
    virtual std::string GetString(const std::string& name) const;
    virtual int GetInt(const std::string& name) const;
    virtual double GetFloat(const std::string& name) const;
    virtual bool GetBool(const std::string& name) const;
    // Stores the value normalised by the field's type and marks the field changed; a value equal
    // to the stored text changes nothing. Throws std::runtime_error with a Russian text.
    virtual void SetValue(const std::string& name, const std::string& value);
    // Throws std::runtime_error when the value cannot be stored in the file; the base accepts all.
    virtual void CheckValue(const std::string& name, const std::string& value) const;
    virtual bool IsFieldChanged(const std::string& name) const;
    // 0 when read; anything else when the file could not be read (values kept).
    virtual int Read(const std::string& path) = 0;
    // -1 when nothing changed, 0 when written, another code when the write failed.
    virtual int Write(const std::string& path) = 0;
    virtual bool GetExtraFieldInfo(const std::string& name, FieldInfo& info) const = 0;
    virtual std::string GetStdFieldCaption(int index) const;
    virtual std::string GetExtraFieldCaption(const std::string& name) const = 0;

    bool HasField(const std::string& name) const;
    // The standard names in table order, then the extra names.
    std::vector<std::string> GetFieldNames() const;
    std::string GetFieldCaption(const std::string& name) const;
    void ClearChangedFlags();

protected:
    struct FieldRef {
        bool standard = true;
        int index = -1;
    };
    // Standard names are matched ignoring case, extra names exactly; throws for no field.
    FieldRef FindField(const std::string& name) const;
    bool LookupField(const std::string& name, FieldRef& ref) const;
    // The text stored for the value of a field of the given type.
    static std::string ConvertValueByType(const std::string& value, int type);

    std::vector<std::string> extraNames_;
    std::string stdValues_[StdFieldCount];
    std::vector<std::string> extraValues_;
    bool stdChanged_[StdFieldCount] = {};
    std::vector<bool> extraChanged_;

private:
    const std::string& ValueOf(const FieldRef& ref) const;
};
