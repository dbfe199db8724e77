// The ~A data section of a LAS file read into one float array per curve, in a single pass over
// blocks of the file.
#pragma once

#include <string>
#include <vector>

#include "core/LasReadDepths.h"
#include "core/LasSource.h"
#include "core/StravoFloatArray.h"

class LasLineReader;

struct LasDataColumns {
    TStravoFloatArrayList arrays;  // curve 0 (depth) increasing
    // Most decimals seen in each column's non-NULL numbers; -1 when none had a point.
    std::vector<int> decimals;
    bool descending = false;  // the file's depths decreased (the arrays were reversed)
    // What was left out: the '~' line that ended the data (0: none), the first line with
    // values beyond the curves (0: none) and the number of such lines.
    int stopLine = 0;
    int surplusLine = 0;
    long long surplusLines = 0;
    // The line the data ended on: the '~' line, the line after the last one, or the line where
    // the text ended.
    int endLine = 0;
    // The depth texts of the first and last rows in file order.
    std::string firstDepthText;
    std::string lastDepthText;
    // The line the last row began on and how many values it lacked (0: it was complete).
    int lastRowLine = 0;
    int lastRowMissing = 0;
    // Rows before the last one that lacked values (WRAP NO): the first one's line and how many.
    int shortRowLine = 0;
    long long shortRows = 0;
    // The depths as the file wrote them where the float of some may stand for more than one
    // decimal of its decimals.
    LasReadColumn depths;
    LasRowsSummary summary;
};

// Reads the lines after the ~A title (the reader stands just after it; its next line is line
// firstLine of the file). WRAP NO: one row per line, missing values NULL, surplus values ignored.
// WRAP YES: one stream of values, curveCount per row, an incomplete last row completed with NULL.
// Lines starting with '#' are skipped; a line starting with '~' ends the data. Throws
// std::runtime_error naming the line for a value that is not a number and for depths out of
// order, and when there is no row. heldBytes: memory the document holds already (its header),
// counted when the arrays are checked against the machine's memory. nullText: the NULL text of
// ~W, which NULL samples of a regular block hold.
LasDataColumns ReadLasData(LasLineReader& reader, int firstLine, int curveCount, float nullValue,
                           const std::string& nullText, bool wrapped,
                           unsigned long long heldBytes = 0);
