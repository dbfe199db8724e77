// Float keys of print INI files.
#include "printing/IniFloat.h"

#include "core/SettingsFile.h"
#include "core/StringUtils.h"

#include <cmath>
#include <limits>

float ReadIniFloat(const TRxIniFile& ini, const std::string& section, const std::string& key,
                   float defaultValue)
{
    const double value = ini.ReadFloat(section, key, defaultValue);
    if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max())
        return defaultValue;
    return static_cast<float>(value);
}

void WriteIniFloat(TRxIniFile& ini, const std::string& section, const std::string& key, float value)
{
    ini.WriteString(section, key, ShortestNumberText(value));
}
