// Lists whose entries show whole: the list keeps the width of its widest entry.
#include "platform/ListWidth.h"

#include <QListView>
#include <QScreen>
#include <QScrollBar>
#include <algorithm>

namespace platform {

namespace {

// Entries appended one by one widen the list by the new ones alone; anything else measures all.
class EntryWidth : public QObject {
public:
    explicit EntryWidth(QListView& list) : QObject(&list), list_(list)
    {
        QAbstractItemModel* model = list.model();
        connect(model, &QAbstractItemModel::rowsInserted, this,
                [this](const QModelIndex&, int first, int last) { Widen(first, last); });
        connect(model, &QAbstractItemModel::rowsRemoved, this, &EntryWidth::Remeasure);
        connect(model, &QAbstractItemModel::modelReset, this, &EntryWidth::Remeasure);
        connect(model, &QAbstractItemModel::layoutChanged, this, &EntryWidth::Remeasure);
        connect(model, &QAbstractItemModel::dataChanged, this, &EntryWidth::Remeasure);
        // The list's own model empties itself after the list is gone.
        connect(&list, &QObject::destroyed, this, [this, model] { model->disconnect(this); });
        Remeasure();
    }

private:
    void Remeasure()
    {
        widest_ = 0;
        Widen(0, list_.model()->rowCount() - 1);
    }

    void Widen(int first, int last)
    {
        for (int row = first; row <= last; ++row)
            widest_ = std::max(widest_, list_.sizeHintForIndex(list_.model()->index(row, 0)).width());
        const int needed = widest_ + 2 * (list_.frameWidth() + list_.spacing()) +
                           list_.verticalScrollBar()->sizeHint().width();
        list_.setMinimumWidth(std::min(needed, list_.screen()->availableGeometry().width() / 2));
    }

    QListView& list_;
    int widest_ = 0;
};

}  // namespace

void FitWidthToEntries(QListView& list) { new EntryWidth(list); }

}  // namespace platform
