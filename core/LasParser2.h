// The LAS header model (parsed lines, sections) and the two readers: header only, and full
// (header plus the ~A data as one float array per curve).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/CodePages.h"
#include "core/LasReadDepths.h"
#include "core/LasSource.h"
#include "core/LasTypedTexts.h"
#include "core/StravoFloatArray.h"

class LasLineReader;
struct LasDataColumns;

// A header text of any length, holding memory in proportion to it.
class TLasParsString {
public:
    TLasParsString() = default;
    explicit TLasParsString(std::string_view text) : text_(text) {}

    void Assign(std::string_view text) { text_.assign(text); }
    const char* c_str() const { return text_.c_str(); }
    std::string_view View() const { return text_; }
    // Heap bytes held beyond the object itself.
    size_t HeapBytes() const;

    TLasParsString TrimLeftCopy() const;
    TLasParsString TrimRightCopy() const;

private:
    std::string text_;
};

// Line codes of the LAS mnemonic table, and the codes of lines that carry no such mnemonic.
enum LasLineCode {
    kLineParameter = 0,     // a parameter line whose mnemonic is not in the table
    kLineSectionTitle = 1,  // a repeated ~V, ~W or ~C title, kept where it stood in the section it continues
    kLineFreeText = 2,      // ~O text, lines of other sections, lines without a dot
    kLineComment = 3,
    kLineCurve = 4,
    kLineOtherParameter = 5,  // a ~P line whose mnemonic is not in the table
    kLineVers = 6,
    kLineWrap = 7,
    kLineStrt = 8,
    kLineStop = 9,
    kLineStep = 10,
    kLineNull = 11,
    kLineComp = 12,
    kLineWell = 13,
    kLineFld = 14,
    kLineLoc = 15,
    kLineProv = 16,
    kLineCnty = 17,
    kLineStat = 18,
    kLineCtry = 19,
    kLineSrvc = 20,
    kLineDate = 21,
    kLineUwi = 22,
    kLineApi = 23,
};

// The code a parameter line gets from its mnemonic (compared ignoring ASCII case); -1 when the
// mnemonic is not in the table.
int LasMnemonicCode(std::string_view mnemonic);

// Where the fields of a parameter line stand: split at the first dot, the first blank after it and
// the last colon (the first colon after the dot when firstColon is set).
struct LasParameterSplit {
    size_t dot = std::string_view::npos;  // npos: no dot, no fields
    size_t unitEnd = 0;
    size_t colon = std::string_view::npos;
    std::string_view value;  // trimmed

    static LasParameterSplit Of(std::string_view raw, bool firstColon);
    // The trimmed text after the colon; empty without a colon.
    std::string_view Description(std::string_view raw) const;
};

// One header line: four OEM text fields (mnemonic, unit, value, description) and its layout,
// so that an unmodified line is written back exactly as read. A line read from a file holds its
// text once: the fields are C strings inside it; a field set since holds its own copy.
class TLasParsParsedString {
public:
    enum Field { kMnemonic = 0, kUnit = 1, kValue = 2, kDescription = 3 };

    TLasParsParsedString() = default;
    TLasParsParsedString(const TLasParsParsedString& other);
    TLasParsParsedString& operator=(const TLasParsParsedString& other);
    TLasParsParsedString(TLasParsParsedString&&) noexcept = default;
    TLasParsParsedString& operator=(TLasParsParsedString&&) noexcept = default;
    ~TLasParsParsedString();

    // A line of ~V, ~W, ~C or ~P that has a dot, split at the first dot, the first blank after
    // it and the last colon (the first colon after the unit for LAS 1.2 information lines,
    // whose information may hold colons).
    static TLasParsParsedString FromParameterLine(std::string_view raw, int kind,
                                                  bool firstColon = false);
    // A line kept as it is, with empty fields (comments, free text, lines without a dot).
    static TLasParsParsedString FromRawLine(std::string_view raw, int kind);
    // A line made by the program; written as "MNEM    .UNIT       value : description".
    static TLasParsParsedString MakeNew(std::string_view mnemonic, std::string_view unit,
                                        std::string_view value, std::string_view description,
                                        int kind);

    int GetKind() const { return kind_; }
    const char* GetField(int field) const;
    const char* Mnemonic() const { return GetField(kMnemonic); }
    const char* Unit() const { return GetField(kUnit); }
    const char* Value() const { return GetField(kValue); }
    const char* Description() const { return GetField(kDescription); }
    // The field as read from the file, whatever was set since; empty for a line made by the
    // program.
    std::string_view GetFieldAsRead(int field) const;

    // Sets a field and marks the line modified.
    void SetField(int field, std::string_view text);
    bool IsModified() const { return (flags_ & kSetMask) != 0; }
    bool HasFields() const { return (flags_ & kHasFields) != 0; }
    // The line as read; empty for a line made by the program.
    std::string GetRawText() const;
    // Byte columns of the line read: its first dot and the colon that ends its value (-1 when
    // there is none).
    int GetDotColumn() const;
    int GetColonColumn() const { return colonColumn_; }
    // 1-based line of the file it was read from; 0 for a line made by the program.
    int GetLineNumber() const { return lineNumber_; }
    void SetLineNumber(int line) { lineNumber_ = line; }

    // LAS 1.2 information lines of ~W carry their information after the colon: the fields are
    // exchanged so that Value holds it, and the layout remembers where each stands.
    void SwapValueAndDescription() { flags_ ^= kSwapped; }

    // The text to write: the raw line when unmodified, else the line rebuilt in its old layout.
    std::string Compose() const;
    // Memory the line holds, itself included.
    size_t MemoryBytes() const;

private:
    enum Flags : unsigned char {
        kHasRaw = 1,
        kHasFields = 2,
        kSwapped = 4,
        kSetMask = 0xF0,  // one bit per slot whose field was set: 0x10 << slot
    };

    // Fields stand in the line in slot order: mnemonic, unit, the text before the colon, the
    // text after it (value and description, exchanged for a swapped line).
    int SlotOf(int field) const
    {
        return (flags_ & kSwapped) && field >= kValue ? kValue + kDescription - field : field;
    }
    bool IsSet(int slot) const { return (flags_ & (0x10 << slot)) != 0; }
    std::string_view ReadSlot(int slot) const;
    // Byte column of the line read where the slot begins.
    int ReadColumn(int slot) const { return static_cast<int>(slot_[slot]) - slot; }
    std::string Rebuild() const;

    // The line read with a NUL after each of its four fields (none for a line without fields),
    // and a final NUL; null for a line made by the program.
    std::unique_ptr<char[]> text_;
    // The fields set by the program, one per slot; null until one is set.
    std::unique_ptr<std::string[]> set_;
    unsigned size_ = 0;  // bytes of text_ before its final NUL
    unsigned slot_[4] = {};  // where each slot's field begins in text_
    int lineNumber_ = 0;
    int colonColumn_ = -1;
    signed char kind_ = kLineFreeText;
    unsigned char flags_ = 0;
};

// Why a UTF-8 text cannot stand in the field of a header line (kMnemonic: no '.', ':', blank,
// line break, not empty; kUnit: no blank, ':', line break; kDescription: no ':', line break), in
// Russian; empty when it can.
std::string LasFieldProblem(int field, std::string_view text);

enum LasSectionKind {
    kSectionNone = 0,
    kSectionVersion = 1,
    kSectionWell = 2,
    kSectionCurve = 3,
    kSectionParameter = 4,
    kSectionOther = 5,
    kSectionData = 6,
    kSectionCustom = 7,
};

// A header section: its kind, its title line and its lines in file order.
class TLasParsSection {
public:
    explicit TLasParsSection(int kind = kSectionNone) : kind_(kind) {}
    TLasParsSection(const TLasParsSection&) = delete;
    TLasParsSection& operator=(const TLasParsSection&) = delete;

    // The kind given by the first character after '~', ignoring case.
    static int KindOfTitle(std::string_view title);

    int GetKind() const { return kind_; }
    // The title line without its leading blanks (the caption of a section of kind 7).
    const char* GetName() const { return name_.c_str(); }
    // The title line as read; empty when the section was not in the file.
    const std::string& GetTitle() const { return title_; }
    // 1-based line of the title in the file; 0 when not read from one.
    int GetTitleLineNumber() const { return titleLine_; }
    void SetTitle(std::string_view title, int lineNumber = 0);
    bool IsInFile() const { return !title_.empty(); }

    int GetCount() const { return static_cast<int>(lines_.size()); }
    TLasParsParsedString* GetLine(int i);
    const TLasParsParsedString* GetLine(int i) const;
    TLasParsParsedString* FindLineByCode(int code);
    const TLasParsParsedString* FindLineByCode(int code) const;
    TLasParsParsedString* FindLineByMnemonic(std::string_view mnemonic);
    const TLasParsParsedString* FindLineByMnemonic(std::string_view mnemonic) const;
    const TLasParsParsedString* GetFldLine() const { return FindLineByCode(kLineFld); }

    TLasParsParsedString* AddLine(TLasParsParsedString line);
    TLasParsParsedString* InsertLine(int i, TLasParsParsedString line);
    void DeleteLine(int i);
    void Clear();
    // Changes whenever lines are added or removed.
    unsigned long long GetRevision() const { return revision_; }

private:
    int kind_;
    unsigned long long revision_ = 0;
    std::string title_;
    int titleLine_ = 0;
    TLasParsString name_;
    // Owned one by one so that callers may keep pointers while lines are added.
    std::vector<std::unique_ptr<TLasParsParsedString>> lines_;
};

// The DATE line of a section, or null.
const TLasParsParsedString* FindDateLine(const TLasParsSection& section);

// The words of a ~A title after its first ("~A"), each with the blanks before it.
struct LasTitleWord {
    std::string_view blanks;
    std::string_view word;
};
std::vector<LasTitleWord> LasDataTitleWords(std::string_view title);

// The code a header line of a section of the kind gets (a table code, kLineParameter,
// kLineOtherParameter, kLineCurve, kLineComment or kLineFreeText, which blank lines get).
int LasHeaderLineCode(int sectionKind, std::string_view line);

// Walks the lines of a LAS header up to the ~A title, with the checks every header read makes
// (UTF-16 text, binary data, a ~V or ~W title), finding the encoding of its text on the way.
class LasHeaderWalker {
public:
    class Visitor {
    public:
        virtual ~Visitor() = default;
        // A section title line of the given kind (the walk ends after ~A).
        virtual void Title(std::string_view line, int lineNumber, int kind) = 0;
        // Any other line; sectionKind is kSectionNone before the first title.
        virtual void Line(std::string_view line, int lineNumber, int sectionKind) = 0;
    };

    // False with the reason in GetError.
    bool Walk(LasLineReader& reader, Visitor& visitor);
    const std::string& GetError() const { return error_; }
    bool HasByteOrderMark() const { return byteOrderMark_; }
    TextEncoding GetEncoding() const { return encoding_; }

private:
    std::string error_;
    bool byteOrderMark_ = false;
    TextEncoding encoding_ = TextEncoding::Cp866;
};

// Header-only reader: the sections of a LAS file up to the ~A title. Keeps no shared state, so
// several threads may each parse their own files.
class TLasParser2Header {
public:
    // Full path of the parsed file.
    TLasParsString FileName;

    TLasParser2Header();
    virtual ~TLasParser2Header();
    TLasParser2Header(const TLasParser2Header&) = delete;
    TLasParser2Header& operator=(const TLasParser2Header&) = delete;

    // True when the file was opened and its header read (a ~V or ~W title before ~A or the
    // end); false otherwise, with the reason in GetError.
    bool ParseFile(const std::string& path);
    const std::string& GetError() const { return error_; }

    // The raw lines before the first section title (comments of the tools that wrote the file).
    const std::vector<std::string>& GetPreamble() const { return preamble_; }
    // Whether the file started with a UTF-8 byte order mark.
    bool HasByteOrderMark() const { return byteOrderMark_; }

    TLasParsSection& GetVersionSection() { return version_; }
    const TLasParsSection& GetVersionSection() const { return version_; }
    TLasParsSection& GetWellSection() { return well_; }
    const TLasParsSection& GetWellSection() const { return well_; }
    TLasParsSection& GetCurveSection() { return curve_; }
    const TLasParsSection& GetCurveSection() const { return curve_; }
    TLasParsSection& GetParameterSection() { return parameter_; }
    const TLasParsSection& GetParameterSection() const { return parameter_; }
    TLasParsSection& GetOtherSection() { return other_; }
    const TLasParsSection& GetOtherSection() const { return other_; }

    // The ~A section; null when the read did not reach one.
    const TLasParsSection* GetDataSection() const { return dataSection_; }
    // Every section in file order, ~A included when reached.
    int GetSectionCount() const { return static_cast<int>(order_.size()); }
    TLasParsSection* GetSection(int i);
    const TLasParsSection* GetSection(int i) const;

    // VERS of ~V as a number; 0 when missing or unreadable.
    double GetVersion() const;
    bool IsWrapped() const;
    // The encoding of the header's text, found from its bytes when it was read.
    TextEncoding GetEncoding() const { return encoding_; }
    // A header text (a field of a line, a title) as UTF-8.
    std::string Decode(std::string_view text) const { return DecodeText(text, encoding_); }
    // Memory the header model holds: its sections and their lines.
    size_t MemoryBytes() const;

protected:
    virtual void Reset();
    // Resets the reader and opens the file; false with the reason in GetError.
    bool Open(LasLineReader& reader, const std::string& path);
    // Reads the header from an opened file; stops after the ~A title line.
    bool ReadHeader(LasLineReader& reader);
    bool HasDataSection() const { return dataSection_ != nullptr; }
    void SetError(std::string text) { error_ = std::move(text); }

private:
    TLasParsSection* OpenSection(std::string_view title, int lineNumber);
    void AddHeaderLine(TLasParsSection& section, std::string_view line, int lineNumber);
    void SwapLas12InformationLines();

    class Builder;

    std::string error_;
    std::vector<std::string> preamble_;
    bool byteOrderMark_ = false;
    TextEncoding encoding_ = TextEncoding::Cp866;
    TLasParsSection version_{kSectionVersion};
    TLasParsSection well_{kSectionWell};
    TLasParsSection curve_{kSectionCurve};
    TLasParsSection parameter_{kSectionParameter};
    TLasParsSection other_{kSectionOther};
    // ~A, sections of kind 7 and repeated ~P and ~O sections.
    std::vector<std::unique_ptr<TLasParsSection>> custom_;
    std::vector<TLasParsSection*> order_;
    TLasParsSection* dataSection_ = nullptr;
};

// Full reader: the header, then the ~A data as one float array per ~C curve, depth (curve 0)
// increasing.
class TLasParser2Parser : public TLasParser2Header {
public:
    static constexpr float kDefaultNull = -999.25f;

    // Reads the whole file; throws std::runtime_error with the reason when it cannot be loaded.
    // Curves without a number with a point take defaultDecimals.
    void ReadFile(const std::string& path, int defaultDecimals);

    TStravoFloatArrayList& GetCurveArrays() { return arrays_; }
    const TStravoFloatArrayList& GetCurveArrays() const { return arrays_; }
    int GetPointCount() const { return arrays_.Count() > 0 ? arrays_.Item(0).Count() : 0; }

    // Decimals of each curve's values (index 0: not used, see GetDepthDecimals).
    std::vector<int>& GetCurveDecimals() { return decimals_; }
    const std::vector<int>& GetCurveDecimals() const { return decimals_; }
    int GetDepthDecimals() const { return depthDecimals_; }
    void SetDepthDecimals(int n) { depthDecimals_ = n; }

    // Whether the file listed its depths bottom up; the writers keep that order.
    bool IsDescending() const { return descending_; }

    float GetNullValue() const { return nullValue_; }
    // The NULL text of ~W, written for NULL samples; "-999.25" when the line is missing.
    const std::string& GetNullText() const { return nullText_; }
    // STEP of ~W as read or set (0 when missing or unreadable).
    float GetStepValue() const { return stepValue_; }
    void SetStepValue(float step) { stepValue_ = step; }

    // What the read left out of the file's data (rows after a '~' line in ~A or after a DOS
    // end-of-file byte, values beyond the ~C curves, values a last row cut short lacks), in
    // Russian naming the lines; empty when everything was taken.
    const std::string& GetOmittedData() const { return omittedData_; }
    // The lines of GetOmittedData that name values of the file not loaded, which a save loses.
    const std::string& GetUnloadedData() const { return unloadedData_; }
    // The depths in double as the file wrote them when a float may not hold them (see
    // LasDataColumns::depths), handed over once.
    LasReadColumn TakeReadDepths() { return std::move(readDepths_); }

    // Whether the ~A title as read names the ~C curves in order after its first word (the depth
    // any word where it names other curves too): the depth's word then follows a rename.
    bool DataTitleNamesCurves() const { return dataTitleNamesCurves_; }
    // Whether the ~A title as read has a word over each ~C curve: one word per curve, the first a
    // depth word or some word a curve's mnemonic (so that a caption such as "Log Data" is none).
    bool DataTitleWordsColumns() const { return dataTitleWordsColumns_; }
    // The ~C curves of the file as read, and the column curve i (0: depth) held among them, found
    // by its ~C line: -1 for a curve added since.
    int GetCurveCountAsRead() const { return static_cast<int>(curveLinesAsRead_.size()); }
    int GetColumnAsRead(int i) const;

    // The texts typed for values, written for them while they read as the values.
    LasTypedTexts& GetTypedTexts() { return typed_; }
    const LasTypedTexts& GetTypedTexts() const { return typed_; }

    // The ~C line of curve i (the i-th line of code 4), or null.
    TLasParsParsedString* GetCurveLine(int i);
    const TLasParsParsedString* GetCurveLine(int i) const;

    // Where the rows can be read again. It follows the document's file, not its values: a write
    // of the whole document moves it to the file written, so it may change on a const document.
    LasDataSource& GetDataSource() const { return source_; }

protected:
    void Reset() override;

private:
    void ReadDocument(const std::string& path, int defaultDecimals);
    void ReadWellValues();
    bool TitleNamesCurves(int curveCount) const;
    bool TitleWordsColumns(int curveCount) const;
    // Why the data cannot be read for want of curves or of ~A (a DOS end-of-file byte before it
    // named with its line); empty when they can.
    std::string MissingDataReason(int curveCount, int dataLine, const LasLineReader& reader) const;
    void DescribeOmittedData(const LasDataColumns& columns, const LasLineReader& reader,
                             int curveCount);
    void KeepDataSource(const std::string& path, const std::optional<LasFileStamp>& stamp,
                        const LasLineReader& reader, long long dataOffset, LasDataColumns& columns);

    TStravoFloatArrayList arrays_;
    std::vector<int> decimals_;
    int depthDecimals_ = 2;
    float nullValue_ = kDefaultNull;
    std::string nullText_ = "-999.25";
    float stepValue_ = 0.0f;
    bool descending_ = false;
    bool dataTitleNamesCurves_ = false;
    bool dataTitleWordsColumns_ = false;
    std::vector<int> curveLinesAsRead_;  // the file line of each ~C curve line read, ascending
    std::string omittedData_;
    std::string unloadedData_;
    LasReadColumn readDepths_;
    LasTypedTexts typed_;
    mutable LasDataSource source_;
    // The curve lines of ~C in order, rebuilt when the section's lines change.
    mutable std::vector<TLasParsParsedString*> curveLines_;
    mutable unsigned long long curveLinesRevision_ = ~0ULL;
};
