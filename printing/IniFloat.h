// Float values of print templates and print settings in INI files: written with a point in
// the shortest form that reads back as the same float, read accepting a point or a comma.
#pragma once

#include <string>

class TRxIniFile;

// The stored value, or `defaultValue` when the key is missing, unreadable or not a finite
// single-precision number.
float ReadIniFloat(const TRxIniFile& ini, const std::string& section, const std::string& key,
                   float defaultValue);
void WriteIniFloat(TRxIniFile& ini, const std::string& section, const std::string& key, float value);
