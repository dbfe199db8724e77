// Save dialog of chosen curves.
#include "datawin/SaveToLas.h"

#include "datawin/AddCurves.h"
#include "datawin/CurveCheckList.h"
#include "core/FileUtils.h"
#include "core/Lasfile.h"
#include "platform/DialogRunner.h"
#include "platform/ErrorReport.h"
#include "platform/FileErrors.h"
#include "platform/FileNames.h"
#include "platform/NumberText.h"
#include "ui_SaveToLas.h"

#include <algorithm>

namespace {
const QString kTitle = QStringLiteral("Сохранение");

void Warn(QWidget* owner, const QString& text, const QString& title)
{
    platform::MessageBox(owner, text, title, platform::MB_OK | platform::MB_ICONWARNING);
}
}  // namespace

QStringList LasPartFileNames(const QString& path, int curveCount)
{
    if (curveCount <= MaxCurvesPerLasFile)
        return {path};
    QString stem = path;
    if (stem.endsWith(QStringLiteral(".las"), Qt::CaseInsensitive))
        stem.chop(4);
    QStringList names;
    const int parts = (curveCount + MaxCurvesPerLasFile - 1) / MaxCurvesPerLasFile;
    for (int part = 1; part <= parts; ++part)
        names << stem + QStringLiteral("_") + QString::number(part) + QStringLiteral(".las");
    return names;
}

LoadedFileInfo DescribeLoadedFile(const TLASFile& document)
{
    LoadedFileInfo info;
    info.path = platform::FileNameFromBytes(document.GetFileName());
    for (int i = 1; i < document.GetCurvesCount(); ++i)
        info.curves << QString::fromStdString(document.GetCurveName(i));
    info.rows = document.GetPointCount();
    info.depths = platform::RowRangeText(document, 0, info.rows - 1);
    return info;
}

void ReportUnloadedFile(QWidget* owner, const QString& path, const QString& reason)
{
    platform::MessageBox(owner, QStringLiteral("Не удалось загрузить файл\n") + path + QStringLiteral("\n") + reason,
                         QStringLiteral("Ошибка"), platform::MB_OK | platform::MB_ICONERROR);
}

void WarnOmittedData(QWidget* owner, const TLASFile& document, const QString& path)
{
    if (!document.GetOmittedData().empty())
        Warn(owner,
             QStringLiteral("Файл\n") + path + QStringLiteral("\nзагружен не полностью:\n") +
                 QString::fromStdString(document.GetOmittedData()),
             QStringLiteral("Предупреждение"));
}

namespace {

// What replacing the loaded file with these curves and rows would lose; empty when nothing.
QString LossOfLoadedFile(const TLASFile& document, const int* curves, int count, int first, int last,
                         const LoadedFileInfo& loaded)
{
    QString loss;
    if (count < loaded.curves.size()) {
        QStringList kept;
        for (int i = 0; i < count; ++i)
            kept << QString::fromStdString(document.GetCurveName(curves[i]));
        loss += QStringLiteral("В файле останется %1 из %2 кривых: %3\n")
                    .arg(count)
                    .arg(loaded.curves.size())
                    .arg(kept.join(QStringLiteral(", ")));
    }
    // Rows are lost to a range chosen or to rows the document no longer holds; a depth shift
    // keeps every row.
    if (first > 0 || last < document.GetPointCount() - 1 || last - first + 1 < loaded.rows)
        loss += QStringLiteral("В файле останутся глубины %1 из %2\n")
                    .arg(platform::RowRangeText(document, first, last), loaded.depths);
    if (!loaded.omitted.isEmpty())
        loss += QStringLiteral("Не загруженные при открытии данные файла:\n") + loaded.omitted;
    return loss;
}

// Asks before a file is replaced; false when the user says no.
bool AgreeToReplace(QWidget* owner, const QString& name, const QString& loss)
{
    if (!loss.isEmpty())
        return platform::MessageBox(owner,
                                    QStringLiteral("Файл\n") + platform::ShownFileName(name) +
                                        QStringLiteral("\nбудет заменен, из него будут потеряны данные.\n") + loss +
                                        QStringLiteral("Заменить файл?"),
                                    kTitle,
                                    platform::MB_YESNO | platform::MB_ICONWARNING | platform::MB_DEFBUTTON2) ==
               platform::IDYES;
    return platform::KindOfPath(name) == platform::PathKind::Missing ||
           platform::MessageBox(owner,
                                QStringLiteral("Файл\n") + platform::ShownFileName(name) +
                                    QStringLiteral("\nуже существует. Заменить?"),
                                kTitle, platform::MB_YESNO | platform::MB_ICONQUESTION) == platform::IDYES;
}

}  // namespace

bool WriteCurvesToLas(QWidget* owner, const TLASFile& document, const std::vector<int>& curves, int first, int last,
                      const QString& path, QStringList& written, const LoadedFileInfo* loadedFrom)
{
    written.clear();
    // The whole document saved into its own file stays one file in its own layout.
    const bool whole = static_cast<int>(curves.size()) == document.GetCurvesCount() - 1 && first == 0 &&
                       last == document.GetPointCount() - 1;
    const QString own = platform::FileNameFromBytes(document.GetFileName());
    const QStringList names = whole && !own.isEmpty() && platform::SameFile(path, own)
                                  ? QStringList{path}
                                  : LasPartFileNames(path, static_cast<int>(curves.size()));
    bool all = true;
    for (int part = 0; part < names.size(); ++part) {
        const QString& name = names[part];
        const int begin = part * MaxCurvesPerLasFile;
        const int count = names.size() == 1 ? static_cast<int>(curves.size())
                                            : std::min<int>(MaxCurvesPerLasFile, static_cast<int>(curves.size()) - begin);
        const QString loss = loadedFrom && platform::SameFile(name, loadedFrom->path)
                                 ? LossOfLoadedFile(document, curves.data() + begin, count, first, last, *loadedFrom)
                                 : QString();
        if (!AgreeToReplace(owner, name, loss)) {
            all = false;
            continue;
        }
        if (document.WriteLasThinned(count, curves.data() + begin, 0, 1, last, first,
                                     platform::FileNameToBytes(name))) {
            written << name;
        } else {
            platform::MessageBox(owner, platform::WriteFailureText(name, document.GetWriteError()), QStringLiteral("Ошибка"),
                                 platform::MB_OK | platform::MB_ICONERROR);
            all = false;
        }
    }
    if (names.size() > 1 && !written.isEmpty())
        platform::MessageBox(owner, QStringLiteral("Записаны файлы:\n") + written.join(QStringLiteral("\n")), kTitle,
                             platform::MB_OK | platform::MB_ICONINFORMATION);
    return all;
}

TFormSaveToLas::TFormSaveToLas(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TFormSaveToLas>())
{
    ui->setupUi(this);
    connect(ui->OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    ConnectCheckButtons(*ui->ListCurves, *ui->ButtonCheckAll, *ui->ButtonUncheckAll);
    connect(ui->ButtonBrowse, &QPushButton::clicked, this, platform::Guarded([this] { ButtonBrowseClick(); }));
    connect(ui->CheckBoxLimitDept, &QCheckBox::toggled, this, [this](bool on) {
        ui->EditLimitFrom->setEnabled(on);
        ui->EditLimitTo->setEnabled(on);
    });
}

TFormSaveToLas::~TFormSaveToLas() = default;

bool TFormSaveToLas::Execute(TLASFile* document, const LoadedFileInfo* loadedFrom, const QString& place)
{
    savedWhole_ = false;
    savedPath_.clear();
    if (!document || document->GetCurvesCount() < 2)
        return false;
    document_ = document;
    FillCurveCheckList(*ui->ListCurves, *document);
    const double top = document->DepthAt(0);
    const double bottom = document->DepthAt(document->GetPointCount() - 1);
    for (QDoubleSpinBox* edit : {ui->EditLimitFrom, ui->EditLimitTo}) {
        edit->setDecimals(document->GetDepthDecimals());
        edit->setRange(top, bottom);
    }
    ui->EditLimitFrom->setValue(top);
    ui->EditLimitTo->setValue(bottom);
    ui->CheckBoxLimitDept->setChecked(false);
    ui->EditLimitFrom->setEnabled(false);
    ui->EditLimitTo->setEnabled(false);
    ui->EditFileName->setText(place.isEmpty() ? platform::FileNameFromBytes(document->GetFileName()) : place);
    if (ui->EditFileName->text().isEmpty()) {
        ButtonBrowseClick();
        if (ui->EditFileName->text().isEmpty()) {
            document_ = nullptr;
            return false;
        }
    }
    folder_ = platform::FolderOfFile(ui->EditFileName->text());

    bool saved = false;
    while (!saved && platform::ExecDialog(*this) == QDialog::Accepted) {
        std::vector<int> curves;
        int first = 0;
        int last = 0;
        if (!CheckChoice(curves, first, last))
            continue;
        const QString path = platform::FileNameFromBytes(ResolveTypedFileName(
            platform::FileNameToBytes(ui->EditFileName->text().trimmed()), platform::FileNameToBytes(folder_), "las"));
        if (path.isEmpty()) {
            Warn(this, QStringLiteral("Недопустимое имя файла:\n") + ui->EditFileName->text().trimmed(),
                 QStringLiteral("Ошибка"));
            continue;
        }
        QStringList written;
        saved = WriteCurvesToLas(this, *document, curves, first, last, path, written, loadedFrom);
        if (!saved && !written.isEmpty())
            break;  // part of the files was written: the user has been told which
        savedWhole_ = saved && written.size() == 1 && static_cast<int>(curves.size()) == document->GetCurvesCount() - 1 &&
                      first == 0 && last == document->GetPointCount() - 1;
        savedPath_ = written.value(0);
    }
    document_ = nullptr;
    return saved;
}

bool TFormSaveToLas::CheckChoice(std::vector<int>& curves, int& first, int& last)
{
    curves = CheckedCurves(*ui->ListCurves);
    if (curves.empty()) {
        Warn(this, QStringLiteral("Не выбрано ни одной кривой!"), QStringLiteral("Ошибка"));
        return false;
    }
    if (ui->EditFileName->text().trimmed().isEmpty()) {
        Warn(this, QStringLiteral("Не задано имя файла"), QStringLiteral("Ошибка"));
        return false;
    }
    first = 0;
    last = document_->GetPointCount() - 1;
    if (ui->CheckBoxLimitDept->isChecked()) {
        double from = ui->EditLimitFrom->value();
        double to = ui->EditLimitTo->value();
        DepthLimitToIndexes(*document_, from, to, first, last);
        ui->EditLimitFrom->setValue(from);
        ui->EditLimitTo->setValue(to);
    }
    if (first > last) {
        Warn(this, QStringLiteral("Некорректно задано ограничение интервала глубины"), kTitle);
        return false;
    }
    return true;
}

void TFormSaveToLas::ButtonBrowseClick()
{
    platform::FileDialogOptions options = platform::FileDialogOptions::StartingAt(ui->EditFileName->text());
    options.title = QStringLiteral("Сохранить как");
    options.filter = QStringLiteral("LAS файлы (*.las *.LAS *.Las);;Все файлы (*)");
    options.defaultSuffix = QStringLiteral("las");
    options.confirmOverwrite = false;  // the save asks itself, once per file it writes
    const QString path = platform::GetSaveFileName(this, options);
    if (!path.isEmpty()) {
        ui->EditFileName->setText(path);
        folder_ = platform::FolderOfFile(path);
    }
}
