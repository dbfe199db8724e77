// The intervals window: a tool window over the main window listing the intervals by name with
// a tick for their Active mark, with commands to change, delete and merge them.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>

namespace Ui { class TFormIntervals; }
class IntervalManager;
class TFormIntervalParams;
class TLASFile;

class TFormIntervals : public QWidget {
    Q_OBJECT
public:
    // `params` edits an interval's properties; both live as long as the window.
    TFormIntervals(QWidget* owner, TFormIntervalParams& params);
    ~TFormIntervals() override;

    void SetManager(IntervalManager* manager);
    // Row i: interval i's name, ticked when it is active. Refilling runs no tick handler.
    void FillList();
    // Called after the window changed intervals.
    std::function<void()> OnIntervalsChanged;
    // The document whose depths the intervals lie on (null: none), as the parameters show them.
    std::function<const TLASFile*()> Document;

    void ButtonEditClick();
    void ButtonDeleteClick();
    void ButtonMergeClick();

    Ui::TFormIntervals& Form() const { return *ui; }

private:
    void ListBoxIntervalsClickCheck();
    // The selected row when the list is in step with the manager, -1 otherwise.
    int SelectedInterval() const;
    void Changed();

    std::unique_ptr<Ui::TFormIntervals> ui;
    TFormIntervalParams& params_;
    IntervalManager* Manager = nullptr;
};
