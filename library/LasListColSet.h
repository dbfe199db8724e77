// The header columns of the library browser's file list: which header line each column shows,
// its caption and width, kept in the browser settings file under "LLCSettings".
#pragma once

#include <cstdint>
#include <string>

#include "core/QJDynamicArray.h"

class TLasParser2Header;

struct TLasColSetItem {
    static constexpr size_t MaxNameLength = 63;
    static constexpr size_t MaxCaptionLength = 64;

    std::int8_t Mnem = 0;         // standard line code 6..23, 0 for a column found by mnemonic
    std::string Name;             // mnemonic searched for when SearchType is 1
    std::uint8_t SearchType = 1;  // 0: by line code, 1: by mnemonic
    std::uint8_t LASSection = 7;  // 1 ~V, 2 ~W, 3 ~C, 4 ~P; any other value searches ~W
    std::string Caption;
    std::int32_t Width = 40;
    // The list sizes the column to its contents: no width was chosen for it (none is stored).
    bool FitsContents = false;

    // Cut at a character boundary to the record's limits.
    void SetName(const std::string& name);
    void SetCaption(const std::string& caption);
    void Assign(const TLasColSetItem& other) { *this = other; }
};

using TLasColSetItemsArray = CQJDynamicArray<TLasColSetItem>;

class TLasListColSet {
public:
    static constexpr int FirstPredefinedCode = 6;
    static constexpr int LastPredefinedCode = 23;

    TLasListColSet();

    // FLD, WELL, DATE, SRVC and COMP, 100 pixels wide.
    void SetDefaultColumns();
    // Appends the column of a standard line code.
    TLasColSetItem& AddPredefined(int code);
    // True when at least one column was read; a file with at most one section gives the
    // default columns.
    bool Load(const std::string& path);
    // False when the file could not be written.
    bool Save(const std::string& path);
    // The value of column index in the header, decoded from the file's encoding; false (buffer
    // untouched) when the line is missing.
    bool FindValue(int index, const TLasParser2Header& header, std::string& buffer) const;

    // The caption a predefined column of the code gets ("_?_" for another code).
    static std::string PredefinedCaption(int code);

    TLasColSetItemsArray Items;
};
