// Header values of a LAS file for its library row.
#include "library/LASDBAdaptor.h"

LASDBAdaptor::LASDBAdaptor()
{
    SetExtensions({"las"});
}

int LASDBAdaptor::GetFileValues(const std::string& path)
{
    struct WellLine {
        int code;
        const char* column;
    };
    // "api", "loc" and "format" have no logfiles column: offered, and refused by SetValue.
    static const WellLine lines[] = {{kLineWell, "well"}, {kLineComp, "comp"}, {kLineFld, "fld"},
                                     {kLineSrvc, "srvc"}, {kLineDate, "date"}, {kLineUwi, "uwi"},
                                     {kLineApi, "api"},   {kLineLoc, "loc"}};
    ClearValues();
    if (!reader_.Read(path))
        return 1;
    for (const WellLine& line : lines)
        if (const std::string* value = reader_.Value(line.code))
            SetValue(line.column, *value);
    SetValue("file", path);
    SetValue("format", "las");
    return 0;
}
