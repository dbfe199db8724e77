// Undo store: named snapshots of all curve arrays of a document, with what its depth column
// holds beside them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/Lasfile.h"
#include "core/StravoFloatArray.h"

class DumpRestoreCurveData {
public:
    static constexpr std::size_t kDefaultByteBudget = std::size_t(1) << 30;

    explicit DumpRestoreCurveData(int limit = 16);

    // Binds the store to a document (may be null) and empties it.
    void SetLasFile(TLASFile* lasFile);
    void Clear();

    // Snapshots all curves of the document as one step; drops the redo tail and the oldest steps
    // beyond the count limit or the byte budget (the newest step is always kept). The dropped
    // steps are held for DiscardLast until ReleaseDropped or the next change of the history; a
    // copy that runs out of memory leaves the history as it was.
    void Dump(const std::string& name);

    // Only steps taken since the document's curves were last added or deleted can be applied;
    // older ones are neither offered nor kept.
    bool CanUndo() const;
    bool CanRedo() const;
    std::string GetUndoName() const;
    std::string GetRedoName() const;
    // Exchange the stored snapshot with the document's arrays; false when there is nothing to do.
    bool Undo();
    bool Redo();

    // Takes back the newest step when nothing was changed after its Dump (a cancelled drag, a
    // refused command), with the steps that Dump dropped: undo and redo are as before it. Does
    // nothing unless the last Dump succeeded and no undo, redo or clear came after it.
    void DiscardLast();
    // The change the newest step was taken for stands: frees the steps its Dump dropped.
    void ReleaseDropped();

    // Identifies the document's state: every Dump gives the state after it a new number, undo
    // and redo go back to the numbers of the states they restore, and binding another document
    // starts a new one. A state whose steps have been dropped can never come back.
    std::uint64_t StateId() const { return stateId_; }

    // Applies from the next Dump on.
    void SetByteBudget(std::size_t bytes);

private:
    struct Step {
        std::string name;
        TStravoFloatArrayList arrays;
        TLASFile::DepthState depth;  // the depth column's decimals, STEP and decimal depths
        LasTypedTexts typed;
        unsigned long long curveSet = 0;  // the document's curve-set revision at the snapshot
        std::uint64_t before = 0;  // state ids around the change
        std::uint64_t after = 0;
    };

    bool Applies(const Step& step) const;
    void DropDeadSteps();
    void SwapWithDocument(Step& step);
    void MakeRoomFor(std::size_t newBytes);
    void PutBackDropped();

    TLASFile* lasFile_ = nullptr;
    int limit_;
    std::size_t byteBudget_ = kDefaultByteBudget;
    std::vector<Step> steps_;
    std::size_t position_ = 0;  // steps before it can be undone, from it on redone
    // What the last Dump dropped, while its change may still be taken back.
    std::vector<Step> droppedOldest_;
    std::vector<Step> droppedRedo_;
    bool newestTakeable_ = false;  // the newest step is the last Dump's, which nothing followed
    std::uint64_t stateId_ = 0;
    std::uint64_t lastId_ = 0;
};
