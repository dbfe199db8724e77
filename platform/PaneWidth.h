// Splitter panes as wide as the names they show, and trees whose current entry stays in view.
#pragma once

#include <QObject>
#include <vector>

class QAbstractItemView;
class QSplitter;
class QTimer;
class QTreeView;
class QWidget;

namespace platform {

// A pane of a splitter that takes the width its shown widgets need to show their entries whole:
// never narrower than it started, never wider than half the window. It stops following them
// once the user drags the splitter's handle, or when told to keep its width (a stored one).
class PaneWidth : public QObject {
public:
    PaneWidth(QSplitter& splitter, QWidget& pane);

    // A tree or list of the pane whose widest shown entry the pane follows.
    void FollowView(QAbstractItemView& view);
    // A widget of the pane whose size hint the pane follows (a combo box of whole entries).
    void FollowWidget(QWidget& widget);
    void Keep();
    bool Kept() const { return kept_; }
    // Fits the pane once the events in hand are done.
    void Refit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int Needed() const;
    void Fit();

    QSplitter& splitter_;
    QWidget& pane_;
    std::vector<QAbstractItemView*> views_;
    std::vector<QWidget*> widgets_;
    QTimer* timer_ = nullptr;
    int startWidth_ = -1;
    int widestNeed_ = 0;
    bool kept_ = false;
};

// The tree shows its names whole, scrolling sideways rather than cutting them, and brings its
// current entry back into view when it is shown, resized, or rows appear above the entry.
void KeepCurrentInView(QTreeView& tree);

}  // namespace platform
