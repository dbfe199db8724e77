// Save dialog of chosen curves.
#include "datawin/SaveToLas.h"

#include "datawin/CurveCheckList.h"
#include "core/Lasfile.h"
#include "platform/DialogRunner.h"
#include "platform/ErrorReport.h"
#include "ui_SaveToLas.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>

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

bool WriteCurvesToLas(QWidget* owner, const TLASFile& document, const std::vector<int>& curves, int first, int last,
                      const QString& path, QStringList& written)
{
    written.clear();
    const QStringList names = LasPartFileNames(path, static_cast<int>(curves.size()));
    bool all = true;
    for (int part = 0; part < names.size(); ++part) {
        const QString& name = names[part];
        if (QFileInfo::exists(name) &&
            platform::MessageBox(owner, QStringLiteral("Файл\n") + name + QStringLiteral("\nуже существует. Заменить?"),
                                 kTitle, platform::MB_YESNO | platform::MB_ICONQUESTION) != platform::IDYES) {
            all = false;
            continue;
        }
        const int begin = part * MaxCurvesPerLasFile;
        const int count = std::min<int>(MaxCurvesPerLasFile, static_cast<int>(curves.size()) - begin);
        if (document.WriteLasThinned(count, curves.data() + begin, 0, 1, last, first, name.toStdString())) {
            written << name;
        } else {
            platform::MessageBox(owner, QStringLiteral("Не удалось записать файл\n") + name, QStringLiteral("Ошибка"),
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

bool TFormSaveToLas::Execute(TLASFile* document)
{
    if (!document || document->GetCurvesCount() < 2)
        return false;
    document_ = document;
    FillCurveCheckList(*ui->ListCurves, *document);
    const double top = document->GetTopDepth();
    const double bottom = document->GetBottomDepth();
    for (QDoubleSpinBox* edit : {ui->EditLimitFrom, ui->EditLimitTo}) {
        edit->setDecimals(document->GetDepthDecimals());
        edit->setRange(top, bottom);
    }
    ui->EditLimitFrom->setValue(top);
    ui->EditLimitTo->setValue(bottom);
    ui->CheckBoxLimitDept->setChecked(false);
    ui->EditLimitFrom->setEnabled(false);
    ui->EditLimitTo->setEnabled(false);
    ui->EditFileName->setText(QString::fromStdString(document->GetFileName()));

    bool saved = false;
    while (!saved && platform::ExecDialog(*this) == QDialog::Accepted) {
        std::vector<int> curves;
        int first = 0;
        int last = 0;
        if (!CheckChoice(curves, first, last))
            continue;
        QStringList written;
        saved = WriteCurvesToLas(this, *document, curves, first, last, ui->EditFileName->text().trimmed(), written);
        if (!saved && !written.isEmpty())
            break;  // part of the files was written: the user has been told which
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
    const int count = document_->GetPointCount();
    first = 0;
    last = count - 1;
    if (ui->CheckBoxLimitDept->isChecked()) {
        double from = ui->EditLimitFrom->value();
        double to = ui->EditLimitTo->value();
        if (from > to) {
            std::swap(from, to);
            ui->EditLimitFrom->setValue(from);
            ui->EditLimitTo->setValue(to);
        }
        const double step = document_->GetStep();
        const double top = document_->GetTopDepth();
        if (step > 0.0) {
            first = std::max(0, static_cast<int>(std::trunc((from - top) / step)));
            last = std::min(count - 1, static_cast<int>(std::ceil((to - top) / step)));
        }
    }
    if (first > last) {
        Warn(this, QStringLiteral("Некорректно задано ограничение интервала глубины"), kTitle);
        return false;
    }
    return true;
}

void TFormSaveToLas::ButtonBrowseClick()
{
    platform::FileDialogOptions options;
    options.title = QStringLiteral("Сохранить как");
    const QFileInfo current(ui->EditFileName->text());
    options.directory = current.absolutePath();
    options.fileName = current.fileName();
    options.filter = QStringLiteral("LAS файлы (*.las *.LAS *.Las);;Все файлы (*)");
    options.defaultSuffix = QStringLiteral("las");
    options.confirmOverwrite = false;  // the save asks itself, once per file it writes
    const QString path = platform::GetSaveFileName(this, options);
    if (!path.isEmpty())
        ui->EditFileName->setText(path);
}
