// The list of single-curve windows.
#include "datawin/SynchSingleWindows.h"

#include "core/Lasfile.h"
#include "datawin/SingleCurve.h"
#include "view/PanelWithCurves.h"

#include <algorithm>

namespace {
DockRect RectOf(const TFormSingleCurve* window)
{
    const QRect r = window->frameGeometry();
    return {r.left(), r.top(), r.width(), r.height()};
}

bool MinimisedOrMaximised(const TFormSingleCurve* window)
{
    return window->isMinimized() || window->isMaximized();
}

// Runs `step` unless a partner is already being updated: a partner's own notices never come back.
template <class Step>
void Guarded(bool& busy, Step step)
{
    if (busy)
        return;
    busy = true;
    try {
        step();
    } catch (...) {
        busy = false;
        throw;
    }
    busy = false;
}
}  // namespace

TSynchSingleWindows::TSynchSingleWindows(DumpRestoreCurveData* undoStore, IntervalManager* intervals)
    : undoStore_(undoStore), intervals_(intervals)
{
}

TSynchSingleWindows::~TSynchSingleWindows()
{
    std::vector<TFormSingleCurve*> all = windows_;
    all.insert(all.end(), closing_.begin(), closing_.end());
    windows_.clear();
    closing_.clear();
    for (TFormSingleCurve* window : all) {
        window->ForgetKeeper();
        delete window;
    }
}

void TSynchSingleWindows::CloseAll()
{
    std::vector<TFormSingleCurve*> open;
    open.swap(windows_);
    for (TFormSingleCurve* window : open) {
        closing_.push_back(window);
        window->Release();
    }
}

void TSynchSingleWindows::SetLasFile(TLASFile* document)
{
    CloseAll();
    lasFile_ = document;
}

int TSynchSingleWindows::OpenWindow(int curveIndex, std::uint32_t color, float verticalScale)
{
    if (!lasFile_ || curveIndex < 1 || curveIndex >= lasFile_->GetCurvesCount())
        return -1;
    auto* window = new TFormSingleCurve(this);
    window->SetLasFile(lasFile_);
    window->SetExprList(exprList_);
    window->Init(curveIndex, color, verticalScale);
    window->SetOwnerList(this);
    window->show();
    if (windows_.empty())
        pair_.Dissolve();
    windows_.push_back(window);
    window->UpdateUndoButtons(nullptr);
    return Count();
}

void TSynchSingleWindows::RemoveWindow(TFormSingleCurve* window)
{
    const auto end = std::remove(windows_.begin(), windows_.end(), window);
    if (end != windows_.end() && std::find(closing_.begin(), closing_.end(), window) == closing_.end())
        closing_.push_back(window);
    windows_.erase(end, windows_.end());
    pair_.Dissolve();
}

int TSynchSingleWindows::IndexOfWindow(const TFormSingleCurve* window) const
{
    const auto found = std::find(windows_.begin(), windows_.end(), window);
    return found == windows_.end() ? -1 : static_cast<int>(found - windows_.begin());
}

void TSynchSingleWindows::WindowDestroyed(TFormSingleCurve* window)
{
    if (IndexOfWindow(window) >= 0)
        RemoveWindow(window);
    closing_.erase(std::remove(closing_.begin(), closing_.end(), window), closing_.end());
}

void TSynchSingleWindows::SetExprList(TExprList* list)
{
    exprList_ = list;
    for (TFormSingleCurve* window : windows_)
        window->SetExprList(list);
}

void TSynchSingleWindows::RefreshAll()
{
    for (TFormSingleCurve* window : windows_)
        window->ReloadData();
}

void TSynchSingleWindows::BroadcastUndoState(TFormSingleCurve* sender)
{
    for (TFormSingleCurve* window : windows_)
        if (window != sender)
            window->UpdateUndoButtons(nullptr);
    if (sender && OnUndoStateChanged && CallbackContext)
        OnUndoStateChanged(CallbackContext);
}

void TSynchSingleWindows::BroadcastRepaint(TFormSingleCurve* sender)
{
    for (TFormSingleCurve* window : windows_)
        if (window != sender)
            window->RepaintPanel();
    if (sender && OnIntervalsChanged && CallbackContext)
        OnIntervalsChanged(CallbackContext);
}

void TSynchSingleWindows::Undo()
{
    if (OnUndo)
        OnUndo(CallbackContext);
}

void TSynchSingleWindows::Redo()
{
    if (OnRedo)
        OnRedo(CallbackContext);
}

std::vector<DockMember> TSynchSingleWindows::Members() const
{
    std::vector<DockMember> members;
    members.reserve(windows_.size());
    for (const TFormSingleCurve* window : windows_)
        members.push_back({RectOf(window), MinimisedOrMaximised(window)});
    return members;
}

void TSynchSingleWindows::WindowMoved(TFormSingleCurve* window, const DockRect& desktop, int x, int y)
{
    if (DocksOnDesktop(desktop, x, y, RectOf(window)))
        DockWindow(window);
    else if (pair_.first >= 0 && pair_.first == IndexOfWindow(window))
        pair_.Dissolve();
}

void TSynchSingleWindows::DockWindow(TFormSingleCurve* window)
{
    const int index = IndexOfWindow(window);
    if (index < 0)
        return;
    Guarded(syncing_, [&] {
        for (const DockMove& move : DockStep(Members(), index, pair_, SnapDistance)) {
            TFormSingleCurve* moved = windows_[static_cast<std::size_t>(move.window)];
            moved->move(move.left, move.top);
            moved->update();
        }
    });
}

void TSynchSingleWindows::WindowStateChanged(TFormSingleCurve* window)
{
    const int index = IndexOfWindow(window);
    if (index >= 0 && MinimisedOrMaximised(window) && (pair_.first == index || pair_.second == index))
        pair_.Dissolve();
}

TFormSingleCurve* TSynchSingleWindows::Partner(const TFormSingleCurve* source) const
{
    if (pair_.first < 0 || pair_.second < 0)
        return nullptr;
    const int index = IndexOfWindow(source);
    if (index < 0)
        return nullptr;
    if (index == pair_.first)
        return windows_[static_cast<std::size_t>(pair_.second)];
    if (index == pair_.second)
        return windows_[static_cast<std::size_t>(pair_.first)];
    return nullptr;
}

void TSynchSingleWindows::SyncVerticalOffset(TFormSingleCurve* source, int offset)
{
    TFormSingleCurve* partner = Partner(source);
    if (!partner)
        return;
    Guarded(syncing_, [&] {
        partner->PanelMain->YAxisInfo.SetOffset(offset);
        partner->RepaintPanel();
    });
}

void TSynchSingleWindows::SyncInterval(TFormSingleCurve* source, int first, int last)
{
    TFormSingleCurve* partner = Partner(source);
    if (!partner || first < 0 || last < 0)
        return;
    Guarded(syncing_, [&] {
        partner->PanelMain->Interval.Clear();
        partner->PanelMain->Interval.SetRange(first, last);
        partner->RepaintPanel();
    });
}
