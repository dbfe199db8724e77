// The main window's list of single-curve windows: the document, scripts, undo store and
// intervals they share, docking two of them side by side, and the notices between them and
// the main window.
#pragma once

#include "datawin/DockingRule.h"

#include <cstdint>
#include <vector>

class DumpRestoreCurveData;
class IntervalManager;
class TExprList;
class TFormSingleCurve;
class TLASFile;

class TSynchSingleWindows {
public:
    using Callback = void (*)(void* context);

    TSynchSingleWindows(DumpRestoreCurveData* undoStore, IntervalManager* intervals);
    // Frees the windows still open or waiting to be freed.
    ~TSynchSingleWindows();
    TSynchSingleWindows(const TSynchSingleWindows&) = delete;
    TSynchSingleWindows& operator=(const TSynchSingleWindows&) = delete;

    // Closes every window; each is freed once its own handlers have returned.
    void CloseAll();
    // Closes every window, then works on `document` (null: none).
    void SetLasFile(TLASFile* document);
    TLASFile* LasFile() const { return lasFile_; }
    // Opens a window on data curve `curveIndex` (1 .. count-1) with its colour (0x00BBGGRR) and
    // the depth scale; the number of open windows, or -1 when nothing was opened.
    int OpenWindow(int curveIndex, std::uint32_t color, float verticalScale);
    // A closing window leaves the list; the pair is dissolved.
    void RemoveWindow(TFormSingleCurve* window);
    int IndexOfWindow(const TFormSingleCurve* window) const;
    int Count() const { return static_cast<int>(windows_.size()); }
    TFormSingleCurve* Window(int index) const { return windows_[static_cast<std::size_t>(index)]; }
    void SetExprList(TExprList* list);
    TExprList* ExprList() const { return exprList_; }
    // Every window reloads the document's current arrays.
    void RefreshAll();
    // Every window but the sender refreshes its undo buttons; a sender's change reaches the main
    // window too.
    void BroadcastUndoState(TFormSingleCurve* sender);
    // Every window but the sender repaints; a sender's intervals reach the main window too.
    void BroadcastRepaint(TFormSingleCurve* sender);
    void Undo();
    void Redo();

    // A move notice of the active `window`, its client area now at (x, y) on `desktop`: the
    // docking step, or near the desktop's edge the end of a pair it leads.
    void WindowMoved(TFormSingleCurve* window, const DockRect& desktop, int x, int y);
    // The docking step after `window` moved.
    void DockWindow(TFormSingleCurve* window);
    // A window became minimised or maximised.
    void WindowStateChanged(TFormSingleCurve* window);
    const DockPair& Pair() const { return pair_; }
    // The partner of `source` in the pair follows its scroll offset or selected range.
    void SyncVerticalOffset(TFormSingleCurve* source, int offset);
    void SyncInterval(TFormSingleCurve* source, int first, int last);

    DumpRestoreCurveData* UndoStore() const { return undoStore_; }
    IntervalManager* Intervals() const { return intervals_; }

    // A closed window being freed later; its destructor calls WindowDestroyed.
    void WindowDestroyed(TFormSingleCurve* window);

    int SnapDistance = kSnapDistance;
    Callback OnUndoStateChanged = nullptr;
    void* CallbackContext = nullptr;
    Callback OnUndo = nullptr;
    Callback OnRedo = nullptr;
    Callback OnIntervalsChanged = nullptr;

private:
    std::vector<DockMember> Members() const;
    TFormSingleCurve* Partner(const TFormSingleCurve* source) const;

    std::vector<TFormSingleCurve*> windows_;
    // Closed windows not yet freed.
    std::vector<TFormSingleCurve*> closing_;
    TLASFile* lasFile_ = nullptr;
    TExprList* exprList_ = nullptr;
    DockPair pair_;
    bool syncing_ = false;  // a partner is being scrolled, selected or moved
    DumpRestoreCurveData* undoStore_;
    IntervalManager* intervals_;
};
