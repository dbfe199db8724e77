// Curve check list.
#include "datawin/CurveCheckList.h"

#include "core/Lasfile.h"

#include <QAbstractButton>
#include <QListWidget>

void FillCurveCheckList(QListWidget& list, const TLASFile& document, CurveItemText text)
{
    list.clear();
    for (int i = 1; i < document.GetCurvesCount(); ++i) {
        QStringList parts{QString::fromStdString(document.GetCurveName(i))};
        // A curve without a unit or a description shows none, not an empty place between commas.
        if (text == CurveItemText::Full)
            for (const std::string& part : {document.GetCurveUnit(i), document.GetCurveDescription(i)})
                if (const QString shown = QString::fromStdString(part).trimmed(); !shown.isEmpty())
                    parts << shown;
        auto* item = new QListWidgetItem(parts.join(QStringLiteral(", ")), &list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
        item->setData(Qt::UserRole, i);
    }
}

void SetAllChecked(QListWidget& list, bool checked)
{
    for (int i = 0; i < list.count(); ++i)
        list.item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

std::vector<int> CheckedCurves(const QListWidget& list)
{
    std::vector<int> curves;
    for (int i = 0; i < list.count(); ++i)
        if (list.item(i)->checkState() == Qt::Checked)
            curves.push_back(list.item(i)->data(Qt::UserRole).toInt());
    return curves;
}

void ConnectCheckButtons(QListWidget& list, QAbstractButton& checkAll, QAbstractButton& uncheckAll)
{
    QObject::connect(&checkAll, &QAbstractButton::clicked, &list, [&list] { SetAllChecked(list, true); });
    QObject::connect(&uncheckAll, &QAbstractButton::clicked, &list, [&list] { SetAllChecked(list, false); });
}
