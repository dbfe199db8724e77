// Header values of a LAS file for its library row.
#include "library/LASDBAdaptor.h"

#include "core/LasParser2.h"

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
    TLasParser2Header header;
    if (!header.ParseFile(path))
        return 1;
    const TLasParsSection& well = header.GetWellSection();
    for (const WellLine& line : lines) {
        const TLasParsParsedString* found =
            line.code == kLineDate ? FindDateLine(well) : well.FindLineByCode(line.code);
        if (found)
            SetValue(line.column, header.Decode(found->Value()));
    }
    SetValue("file", path);
    SetValue("format", "las");
    return 0;
}
