// Import of a column text file into a new-file record, and the saved sets of import parameters
// ("ip_<N>.sav" files). Standard library only.
#pragma once

#include "core/NewLASInfo.h"

#include <cstdint>
#include <istream>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

struct ImportFromTextParams {
    std::string SourceFile;  // never saved in a set
    bool InColumns = true;
    bool DepthByHand = false;
    float StartDepth = 0;
    bool StepGiven = true;  // StepOrEnd is the step, else the end depth
    float StepOrEnd = 0;
    std::uint32_t StartLine = 1;  // first data line, from 1
    std::uint32_t SkipCount = 0;  // characters or words dropped at the start of every data line
    bool SkipWords = false;
    std::string Delimiters = std::string(" \t") + "|:&!/;$#@(){}[]";
    bool IgnoreErrors = true;

    // The set's lines (CR LF between them, none after the last), the first one the name.
    void Write(std::ostream& out, const std::string& name) const;
    // Reads a set written by Write (CR LF or LF line ends); returns its name. Throws
    // std::runtime_error for a set it cannot read.
    std::string Read(std::istream& in);
};

// Most rows (depth points) of a file made by the wizard or the import.
inline constexpr std::size_t kMaxNewLasPoints = 10'000'000;

// Appends the maximal runs of characters not in `delimiters`.
void SplitByDelimiters(const std::string& line, std::vector<std::string>& words, const std::string& delimiters);
// Appends every whitespace-separated string of the stream; returns how many.
int SplitByWhitespace(std::vector<std::string>& words, std::istream& in);
// A word read as a number.
struct ImportNumber {
    double value = 0;   // the decimal in double
    float single = 0;   // the float it reads as
    int decimals = 0;   // of its text
    std::string text;   // trimmed, a point for a decimal comma
};
// A word as a whole number as the LAS reader takes it, with the reader's value (a decimal comma
// stands for the point); false for anything else, such as a number beyond the float range
// (IsLasNumberOutOfRange of number.text).
bool ConvertImportWord(const std::string& word, ImportNumber& number);

// What an import gave.
enum class ImportResult {
    Done,
    NoCurves,        // no data column
    TooFewDepths,    // depth from the file: fewer than 2 values
    TooFewRows,      // end depth by hand: fewer than 2 rows
    TooManyRows,     // more than kMaxNewLasPoints rows
    DepthNotMonotonic,  // depth from the file neither strictly rising nor strictly falling
    CannotOpen,
};

// The error of a stopped import ("Остановить импорт").
class ImportStopped : public std::runtime_error {
public:
    ImportStopped() : std::runtime_error("Invalid data type conversion") {}
};

// Reads params.SourceFile into the record's curves, depth and step (emptied first); each column
// keeps the decimals of its texts, and the step carries the first depth to the last. With
// IgnoreErrors false a word that is no number throws ImportStopped; the record keeps what was read.
ImportResult ImportFromText(const ImportFromTextParams& params, NewLASInfo& info);
// The same over a stream.
ImportResult ImportFromText(const ImportFromTextParams& params, std::istream& in, NewLASInfo& info);

// Saved sets in a folder (ending with a separator).
struct SavedImport {
    std::string FileName;  // without the folder
    std::string Name;      // empty when the file could not be read
};
// Writes the set as the first free "ip_<N>.sav"; returns the file name, empty on a failed write.
std::string SaveImportSet(const std::string& folder, const std::string& name, const ImportFromTextParams& params);
// Every "*.sav" file of the folder with a readable, non-empty name, in directory order.
std::vector<SavedImport> ListSavedImports(const std::string& folder);
// The set's name read from the file, into `params` when given; empty when it cannot be read.
std::string ReadImportSet(const std::string& path, ImportFromTextParams* params);
