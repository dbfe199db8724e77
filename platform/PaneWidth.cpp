// Splitter panes as wide as the names they show, and trees whose current entry stays in view.
#include "platform/PaneWidth.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QSplitter>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <functional>

namespace platform {

namespace {

// Runs the action once the events in hand are done, however often it is asked meanwhile.
QTimer* Coalescing(QObject* owner, std::function<void()> action)
{
    auto* timer = new QTimer(owner);
    timer->setSingleShot(true);
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, owner, std::move(action));
    return timer;
}

class CurrentInView : public QObject {
public:
    explicit CurrentInView(QTreeView& tree) : QObject(&tree), tree_(tree), timer_(Coalescing(this, [this] { Show(); }))
    {
        tree.viewport()->installEventFilter(this);
        tree.installEventFilter(this);
        connect(tree.selectionModel(), &QItemSelectionModel::currentChanged, timer_, qOverload<>(&QTimer::start));
        connect(tree.model(), &QAbstractItemModel::rowsInserted, this,
                [this](const QModelIndex& parent, int first, int) {
                    for (QModelIndex entry = tree_.currentIndex(); entry.isValid(); entry = entry.parent())
                        if (entry.parent() == parent && first <= entry.row())
                            timer_->start();
                });
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Resize || event->type() == QEvent::Show)
            timer_->start();
        return false;
    }

private:
    void Show()
    {
        const QModelIndex current = tree_.currentIndex();
        if (!current.isValid())
            return;
        tree_.scrollTo(current);
        // Sideways: the whole name when it fits, else its start, one step of the branch before it.
        const QRect rect = tree_.visualRect(current);
        const int right = rect.left() + tree_.sizeHintForIndex(current).width();
        const int margin = tree_.indentation();
        int shift = 0;
        if (right > tree_.viewport()->width())
            shift = std::min(right - tree_.viewport()->width(), std::max(rect.left() - margin, 0));
        if (rect.left() < 0)
            shift = rect.left() - margin;
        QScrollBar* bar = tree_.horizontalScrollBar();
        bar->setValue(bar->value() + shift);
    }

    QTreeView& tree_;
    QTimer* timer_;
};

}  // namespace

PaneWidth::PaneWidth(QSplitter& splitter, QWidget& pane)
    : QObject(&pane), splitter_(splitter), pane_(pane), timer_(Coalescing(this, [this] { Fit(); }))
{
    splitter.installEventFilter(this);
    pane.installEventFilter(this);
    // Handle i lies before widget i: the pane's own handles are its index and the next one.
    connect(&splitter, &QSplitter::splitterMoved, this, [this](int, int handle) {
        const int index = splitter_.indexOf(&pane_);
        if (handle == index || handle == index + 1)
            kept_ = true;
    });
}

void PaneWidth::FollowView(QAbstractItemView& view)
{
    views_.push_back(&view);
    QAbstractItemModel* model = view.model();
    connect(model, &QAbstractItemModel::rowsInserted, this, &PaneWidth::Refit);
    connect(model, &QAbstractItemModel::modelReset, this, &PaneWidth::Refit);
    connect(model, &QAbstractItemModel::layoutChanged, this, &PaneWidth::Refit);
    if (auto* tree = qobject_cast<QTreeView*>(&view))
        connect(tree, &QTreeView::expanded, this, &PaneWidth::Refit);
}

void PaneWidth::FollowWidget(QWidget& widget)
{
    widgets_.push_back(&widget);
}

void PaneWidth::Keep()
{
    kept_ = true;
}

void PaneWidth::Refit()
{
    if (!kept_)
        timer_->start();
}

bool PaneWidth::eventFilter(QObject*, QEvent* event)
{
    if (event->type() == QEvent::Resize || event->type() == QEvent::Show)
        Refit();
    return false;
}

// What the pane needs around each shown widget (frames, margins, scroll bars) is what it has
// around it now.
int PaneWidth::Needed() const
{
    int needed = 0;
    for (const QAbstractItemView* view : views_)
        if (view->isVisible())
            needed = std::max(needed, view->sizeHintForColumn(0) + pane_.width() - view->viewport()->width());
    for (const QWidget* widget : widgets_)
        if (widget->isVisible())
            needed = std::max(needed, widget->sizeHint().width() + pane_.width() - widget->width());
    return needed;
}

void PaneWidth::Fit()
{
    const int index = splitter_.indexOf(&pane_);
    QList<int> sizes = splitter_.sizes();
    if (kept_ || index < 0 || sizes.size() < 2 || !pane_.isVisible())
        return;
    if (startWidth_ < 0)
        startWidth_ = sizes[index];
    // The widest need seen so far: a pane that has grown for a deep branch does not shrink back.
    widestNeed_ = std::max(widestNeed_, Needed());
    const int target = std::max(startWidth_, std::min(widestNeed_, splitter_.window()->width() / 2));
    if (target == sizes[index])
        return;
    int widest = index == 0 ? 1 : 0;
    for (int i = 0; i < sizes.size(); ++i)
        if (i != index && sizes[i] > sizes[widest])
            widest = i;
    sizes[widest] -= target - sizes[index];
    sizes[index] = target;
    splitter_.setSizes(sizes);
}

void KeepCurrentInView(QTreeView& tree)
{
    tree.header()->setStretchLastSection(false);
    tree.header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    new CurrentInView(tree);
}

}  // namespace platform
