// Progress of a print job of several pages and the user's way to stop it. Replaceable, so
// that a test can cancel at a chosen page.
#pragma once

namespace platform {

class PrintProgress {
public:
    virtual ~PrintProgress() = default;
    // A job of `pages` pages starts (the window shows only for more than one).
    virtual void Begin(int pages) = 0;
    // Page `page` (1-based) of `pages` is about to be printed; false: the user cancelled.
    virtual bool Page(int page, int pages) = 0;
    virtual void End() = 0;
};

// The progress in use (a window "Печать" with "Отмена" unless replaced).
PrintProgress& CurrentPrintProgress();
// Replaces it (null: back to the window); returns the previous one.
PrintProgress* SetPrintProgress(PrintProgress* progress);

}  // namespace platform
