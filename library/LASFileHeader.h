// The header model of a LAS file: the six fields read from its ~W lines, and changed values
// written back into those lines in place, in the file's own encoding.
#pragma once

#include <string>
#include <string_view>

#include "core/CodePages.h"
#include "library/LogFileHeader.h"

class LASFileHeader : public ILogFileHeader {
public:
    // Write results besides -1 (nothing changed) and 0 (written).
    static constexpr int WriteFailed = 2;
    static constexpr int OpenFailed = 3;

    // 0 when read, 1 when the file cannot be opened or its header parsed.
    int Read(const std::string& path) override;
    // -1, 0, WriteFailed or OpenFailed; on failure the file stays as it was.
    int Write(const std::string& path) override;
    bool GetExtraFieldInfo(const std::string& name, FieldInfo& info) const override;
    std::string GetExtraFieldCaption(const std::string& name) const override;
    // Refuses a line break and a character the file's encoding cannot hold.
    void CheckValue(const std::string& name, const std::string& value) const override;

    // The encoding found by the last Read (CP866 before any).
    TextEncoding GetEncoding() const { return encoding_; }

    // The ~W line with its changed field's value put in, or the line itself. LAS 1.2 lines
    // (version below 2) carry the value after the colon.
    std::string RewriteWellLine(std::string_view line, double version, TextEncoding encoding) const;

private:
    TextEncoding encoding_ = TextEncoding::Cp866;
};

// Where a ~W line's value stands: the text before it, the old value field and the rest.
// The value field of a LAS 2.0 line begins after the blank that ends the unit and ends at the
// colon; of a LAS 1.2 information line it is all the text after the colon.
struct HeaderLineParts {
    std::string mnemonic;  // the mnemonic field without blanks and tabs
    std::string_view head;
    std::string_view value;
    std::string_view tail;  // the colon and the description (empty without a colon)
    bool information = false;  // a LAS 1.2 line whose value follows the colon
};

// False when the line has no dot.
bool SplitHeaderLine(std::string_view line, double version, HeaderLineParts& parts);
