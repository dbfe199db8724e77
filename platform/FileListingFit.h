// The width of Qt's own file dialog and of its detail columns.
#pragma once

class QFileDialog;

namespace platform {

// Each listing read fits the columns to the names, sizes, types and dates shown; the first one
// also widens the dialog, within the screen, until every column is in sight.
void FitFileListing(QFileDialog& dialog);

}  // namespace platform
