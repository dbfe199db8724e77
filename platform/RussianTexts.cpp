// Russian dates and file sizes, and the file dialog's columns that show them.
#include "platform/RussianTexts.h"

#include "platform/NumberText.h"

#include <QDateTime>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>

namespace platform {
namespace {

// The file system model's size (1) and date (3) columns, the rest as they are.
class RussianFileColumns : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override
    {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !files || (index.column() != 1 && index.column() != 3))
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        if (index.column() == 3)
            return DateTimeText(files->lastModified(source));
        return files->isDir(source) ? QString() : FileSizeText(files->size(source));
    }
};

}  // namespace

QString DateTimeText(const QDateTime& time)
{
    return QLocale(QLocale::Russian, QLocale::Russia).toString(time, QStringLiteral("dd.MM.yyyy HH:mm"));
}

QString FileSizeText(qint64 bytes)
{
    static const char* const units[] = {"КБ", "МБ", "ГБ", "ТБ"};
    if (bytes < 1024)
        return QString::number(bytes) + QStringLiteral(" байт");
    double value = double(bytes);
    int unit = -1;
    while (value >= 1024 && unit < 3) {
        value /= 1024;
        ++unit;
    }
    return FloatToStrF(value, 15, 2) + ' ' + QString::fromUtf8(units[unit]);
}

void ShowRussianFileDetails(QFileDialog& dialog)
{
    dialog.setProxyModel(new RussianFileColumns(&dialog));
}

}  // namespace platform
