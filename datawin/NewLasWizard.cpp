// New LAS file wizard: pages, navigation, the by-hand record and the creation of the file.
#include "datawin/NewLasWizard.h"

#include "core/CodePages.h"
#include "core/FileUtils.h"
#include "core/LasDepthColumn.h"
#include "core/LasParser2.h"
#include "core/Q7mathutils.h"
#include "editing/CreateCurveByValues.h"
#include "library/CppSQLite3Exception.h"
#include "library/DlgLogFileHeaderEditor.h"
#include "library/LASFileHeader.h"
#include "library/LogFileDBManager.h"
#include "platform/DialogRunner.h"
#include "platform/ErrorReport.h"
#include "platform/FileNames.h"
#include "platform/NumberText.h"
#include "platform/SelectOnEntry.h"
#include "ui_NewLasWizard.h"


#include <algorithm>
#include <cmath>

TDlgNewLasWizard::TDlgNewLasWizard(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TDlgNewLasWizard>())
{
    ui->setupUi(this);
    setFixedSize(size());
    Ui::TDlgNewLasWizard& f = *ui;
    connect(f.ButtonNext, &QPushButton::clicked, this, platform::Guarded([this] { ButtonNextClick(); }));
    connect(f.ButtonPrev, &QPushButton::clicked, this, platform::Guarded([this] { ButtonPrevClick(); }));
    connect(f.CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(f.ListBoxCurvesParams, &QListWidget::currentRowChanged, this,
            platform::Guarded([this](int row) { ShowCurveParams(row); }));
    for (QLineEdit* edit : {f.EditCurveName, f.EditCurveUnits, f.EditCurveComment})
        connect(edit, &QLineEdit::textChanged, this, platform::Guarded([this](const QString&) { EditCurveNameChange(); }));
    platform::SelectTextOnEntry(*f.EditCurveName);
    connect(f.EditCurveDecimal, &QSpinBox::valueChanged, this, platform::Guarded([this](int) { EditCurveNameChange(); }));
    connect(f.RBByPoints, &QRadioButton::toggled, this, platform::Guarded([this](bool) { EditCurveNameChange(); }));
    connect(f.Button1, &QPushButton::clicked, this, platform::Guarded([this] { Button1Click(); }));
    connect(f.EditSourceFileName, &QLineEdit::textChanged, this,
            platform::Guarded([this](const QString&) { EditSourceFileNameChange(); }));
    connect(f.ButtonSaveImport, &QPushButton::clicked, this, platform::Guarded([this] { ButtonSaveImportClick(); }));
    connect(f.BtnDeleteSavedImport, &QToolButton::clicked, this,
            platform::Guarded([this] { BtnDeleteSavedImportClick(); }));
    connect(f.ComboImports, &QComboBox::currentIndexChanged, this,
            platform::Guarded([this](int index) { ComboImportsChange(index); }));
    f.MnemoSourceView->setFont(QFont(QStringLiteral("Courier New")));
    ShowPage(f.TSStart);
}

TDlgNewLasWizard::~TDlgNewLasWizard() = default;

QString TDlgNewLasWizard::Execute()
{
    created_.clear();
    ShowPage(ui->TSStart);
    return platform::ExecDialog(*this) == QDialog::Accepted ? created_ : QString();
}

bool TDlgNewLasWizard::Manual() const
{
    return ui->RBManual->isChecked();
}

void TDlgNewLasWizard::Error(QWidget* focus, const QString& text)
{
    platform::MessageBox(this, text, QStringLiteral("Ошибка"), platform::MB_OK | platform::MB_ICONERROR);
    if (focus)
        focus->setFocus();
}

void TDlgNewLasWizard::ShowPage(QWidget* page)
{
    Ui::TDlgNewLasWizard& f = *ui;
    f.PageControl->setCurrentWidget(page);
    f.PanelTop->setText(page->windowTitle());
    if (page == f.TSManual1)
        TSManual1Show();
    else if (page == f.TSManual2)
        FillCurvesPage();
    else if (page == f.TSImport2)
        SetImportControls();
}

void TDlgNewLasWizard::ButtonNextClick()
{
    Ui::TDlgNewLasWizard& f = *ui;
    QWidget* page = f.PageControl->currentWidget();
    if (page == f.TSStart) {
        ShowPage(Manual() ? f.TSManual1 : f.TSImport1);
    } else if (page == f.TSManual1) {
        if (Manual() ? ValidateManualDepths() : ValidateImportDepth())
            ShowPage(Manual() ? f.TSManual2 : f.TSImport2);
    } else if (page == f.TSManual2) {
        if (CheckCurveTexts() && FillCurveValues())
            CreateLasFile();
    } else if (page == f.TSImport1) {
        if (ValidateSourceFile())
            ShowPage(f.RBDepthByHand->isChecked() ? f.TSManual1 : f.TSImport2);
    } else if (page == f.TSImport2) {
        if (ImportFromText())
            CreateLasFile();
    }
}

void TDlgNewLasWizard::ButtonPrevClick()
{
    Ui::TDlgNewLasWizard& f = *ui;
    QWidget* page = f.PageControl->currentWidget();
    if (page == f.TSManual1) {
        ShowPage(Manual() ? f.TSStart : f.TSImport1);
    } else if (page == f.TSManual2) {
        FillCurveValues();
        ShowPage(f.TSManual1);
    } else if (page == f.TSImport1) {
        ShowPage(f.TSStart);
    } else if (page == f.TSImport2) {
        ShowPage(f.RBDepthByHand->isChecked() ? f.TSManual1 : f.TSImport1);
    }
}

void TDlgNewLasWizard::TSManual1Show()
{
    Ui::TDlgNewLasWizard& f = *ui;
    const bool manual = Manual();
    f.RBPoints->setText(manual ? QStringLiteral("Задать количество точек") : QStringLiteral("Задать конечную глубину"));
    for (QWidget* w : {static_cast<QWidget*>(f.EditStop), static_cast<QWidget*>(f.LabelStop),
                       static_cast<QWidget*>(f.LabelNumberOfCurves), static_cast<QWidget*>(f.EditManualCurveCount)})
        w->setVisible(manual);
    if (!manual) {
        f.EditStart->setValue(params_.StartDepth);
        (params_.StepGiven ? f.RBStep : f.RBPoints)->setChecked(true);
        f.EditStepOrPointsNumber->setValue(params_.StepOrEnd);
        return;
    }
    if (info_.Depth.empty()) {
        f.RBStep->setChecked(true);
        f.EditStepOrPointsNumber->setValue(info_.Step);
        return;
    }
    f.EditStart->setValue(info_.Depth.front());
    f.EditStop->setValue(info_.Depth.back());
    f.EditStepOrPointsNumber->setValue(f.RBStep->isChecked() ? double(info_.Step) : double(info_.Depth.size()));
    f.EditManualCurveCount->setValue(int(info_.Curves.size()));
}

bool TDlgNewLasWizard::ValidateManualDepths()
{
    Ui::TDlgNewLasWizard& f = *ui;
    const double start = f.EditStart->value();
    const double stop = f.EditStop->value();
    const double v = f.EditStepOrPointsNumber->value();
    if (start == stop) {
        Error(f.EditStart, QStringLiteral("Начальная и конечная глубины должны отличаться!"));
        return false;
    }
    const QString tooMany = QStringLiteral("При заданных параметрах количество точек больше 10 000 000!");
    double step = 0;
    double count = 0;
    if (f.RBStep->isChecked()) {
        step = v;
        if (step == 0 || (step < 0 && start < stop) || (step > 0 && start > stop)) {
            Error(f.EditStepOrPointsNumber, QStringLiteral("Некорректно задан шаг!"));
            return false;
        }
        // Counted from the typed values, a millionth of a step short of a point still counts it.
        count = std::floor((stop - start) / step + 1 + 1e-6);
        if (count > double(kMaxNewLasPoints)) {
            Error(f.EditStepOrPointsNumber, tooMany);
            return false;
        }
        if (count < 2) {
            Error(f.EditStepOrPointsNumber, QStringLiteral("При заданных параметрах количество точек меньше 2!"));
            return false;
        }
    } else {
        count = std::trunc(v);
        if (count < 2) {
            Error(f.EditStepOrPointsNumber, QStringLiteral("Количество точек должно быть не меньше 2!"));
            return false;
        }
        if (count > double(kMaxNewLasPoints)) {
            Error(f.EditStepOrPointsNumber, tooMany);
            return false;
        }
        step = (stop - start) / (count - 1);
    }
    const int curves = f.EditManualCurveCount->value();
    if (curves < 1) {
        Error(f.EditManualCurveCount, QStringLiteral("Количество кривых быть не меньше 1!"));
        return false;
    }
    const std::size_t n = std::size_t(count);
    info_.Depth.resize(n);
    for (std::size_t i = 0; i < n; ++i)
        info_.Depth[i] = start + double(i) * step;
    info_.Step = step;
    info_.DepthDecimals = kNewLasDepthDecimals;
    info_.Curves.resize(std::size_t(curves));
    valueModes_.resize(std::size_t(curves), 0);
    for (LASCurveData& curve : info_.Curves) {
        curve.Values.resize(n);
        if (curve.Mnemonic.empty())
            curve.Mnemonic = "NoName";
    }
    return true;
}

bool TDlgNewLasWizard::ValidateSourceFile()
{
    const QString path = ui->EditSourceFileName->text();
    if (path.isEmpty() || platform::KindOfPath(path) != platform::PathKind::File) {
        platform::MessageBox(this, QStringLiteral("Указанного файла не существует!"), QStringLiteral("Импорт данных"),
                             platform::MB_OK | platform::MB_ICONERROR);
        ui->EditSourceFileName->setFocus();
        return false;
    }
    sourceFile_ = platform::FileNameToBytes(path);
    return true;
}

void TDlgNewLasWizard::FillCurvesPage()
{
    QListWidget& list = *ui->ListBoxCurvesParams;
    {
        QSignalBlocker block(list);
        list.setCurrentRow(-1);
        list.clear();
        for (const LASCurveData& curve : info_.Curves)
            list.addItem(QString::fromStdString(curve.Mnemonic));
        list.setCurrentRow(0);
    }
    ShowCurveParams(list.currentRow());
}

void TDlgNewLasWizard::ShowCurveParams(int index)
{
    Ui::TDlgNewLasWizard& f = *ui;
    controlsReady_ = false;
    const bool valid = index >= 0 && index < int(info_.Curves.size());
    const LASCurveData none;
    const LASCurveData& curve = valid ? info_.Curves[std::size_t(index)] : none;
    f.EditCurveName->setText(QString::fromStdString(curve.Mnemonic));
    f.EditCurveUnits->setText(QString::fromStdString(curve.Unit));
    f.EditCurveComment->setText(QString::fromStdString(curve.Description));
    f.EditCurveDecimal->setValue(curve.Decimals);
    // Without a curve nothing typed would have a place to go.
    for (QWidget* edit : std::initializer_list<QWidget*>{f.EditCurveName, f.EditCurveUnits, f.EditCurveComment,
                                                         f.EditCurveDecimal, f.RGCurveValues})
        edit->setEnabled(valid);
    if (valid)
        (valueModes_[std::size_t(index)] == 1 ? f.RBByPoints : f.RBRandom)->setChecked(true);
    controlsReady_ = true;
}

void TDlgNewLasWizard::EditCurveNameChange()
{
    Ui::TDlgNewLasWizard& f = *ui;
    const int index = f.ListBoxCurvesParams->currentRow();
    if (!controlsReady_ || index < 0 || index >= int(info_.Curves.size()))
        return;
    LASCurveData& curve = info_.Curves[std::size_t(index)];
    curve.Mnemonic = f.EditCurveName->text().toStdString();
    curve.Unit = f.EditCurveUnits->text().toStdString();
    curve.Description = f.EditCurveComment->text().toStdString();
    curve.Decimals = f.EditCurveDecimal->value();
    f.ListBoxCurvesParams->item(index)->setText(f.EditCurveName->text());
    valueModes_[std::size_t(index)] = f.RBByPoints->isChecked() ? 1 : 0;
}

bool TDlgNewLasWizard::CheckCurveTexts()
{
    static const int fields[] = {TLasParsParsedString::kMnemonic, TLasParsParsedString::kUnit,
                                 TLasParsParsedString::kDescription};
    for (std::size_t i = 0; i < info_.Curves.size(); ++i) {
        const LASCurveData& curve = info_.Curves[i];
        const std::string* texts[] = {&curve.Mnemonic, &curve.Unit, &curve.Description};
        for (int k = 0; k < 3; ++k) {
            std::string problem = LasFieldProblem(fields[k], *texts[k]);
            std::string encoded;
            std::string bad;
            if (problem.empty() && !EncodeText(*texts[k], TextEncoding::Cp866, encoded, &bad))
                problem = "Символ '" + bad + "' нельзя записать в кодировке файла";
            if (!problem.empty()) {
                ui->ListBoxCurvesParams->setCurrentRow(int(i));
                Error(nullptr, QStringLiteral("Кривая ") + QString::number(i + 1) + QStringLiteral(" <") +
                                   QString::fromStdString(curve.Mnemonic) + QStringLiteral(">: ") +
                                   QString::fromStdString(problem));
                return false;
            }
        }
    }
    return true;
}

bool TDlgNewLasWizard::FillCurveValues()
{
    Randomize();
    const auto randomValues = [](FloatVector& values) {
        for (float& value : values)
            value = float(RandomInt(200) - 100);
    };
    // The point dialog places points on rising depths: a falling depth goes to it reversed.
    const bool falling = info_.Depth.size() > 1 && info_.Depth.back() < info_.Depth.front();
    FloatVector depths(info_.Depth.begin(), info_.Depth.end());
    if (falling)
        std::reverse(depths.begin(), depths.end());
    // The first depth as the new file will hold it: with the decimals its text needs.
    const double top = info_.Depth.empty() ? 0.0 : falling ? info_.Depth.back() : info_.Depth.front();
    const QString firstDepth =
        platform::DecimalText(top, std::max(info_.DepthDecimals, LasDecimal::Of(top).decimals));
    info_.Texts.Clear();
    for (std::size_t i = 0; i < info_.Curves.size(); ++i) {
        LASCurveData& curve = info_.Curves[i];
        curve.Values.resize(info_.Depth.size());
        if (valueModes_[i] != 1 || !services_.PointDialog) {
            randomValues(curve.Values);
            continue;
        }
        FloatVector values(curve.Values);
        if (falling)
            std::reverse(values.begin(), values.end());
        QString name = QString::fromStdString(curve.Mnemonic);
        if (services_.PointDialog->SetPoints(values, name, info_.NullValue, depths, firstDepth) == 1) {
            if (falling)
                std::reverse(values.begin(), values.end());
            curve.Values = values;
            curve.Mnemonic = name.toStdString();
            const auto last = static_cast<int>(values.size()) - 1;
            for (const auto& [sample, text] : services_.PointDialog->ValueTexts())
                info_.Texts.Set(static_cast<int>(i), falling ? last - sample : sample, text);
        } else {
            randomValues(curve.Values);
        }
    }
    return true;
}

void TDlgNewLasWizard::CreateLasFile()
{
    platform::FileDialogOptions options;
    options.title = QStringLiteral("Создание нового LAS файла");
    options.defaultSuffix = QStringLiteral("las");
    options.fileName = QStringLiteral("new_file.las");
    options.filter = QStringLiteral("LAS файлы (*.las)");
    options.kind = platform::FileKind::Las;
    const QString path = platform::GetSaveFileName(this, options);
    if (path.isEmpty())
        return;
    if (WriteNewLASFile(info_, platform::FileNameToBytes(path)) != NewLASWritten) {
        platform::MessageBox(this, QStringLiteral("Ошибка при сохранении файла"), QStringLiteral("Сохранение"),
                             platform::MB_OK | platform::MB_ICONERROR);
        return;
    }
    try {
        RunHeaderSteps(platform::FileNameToBytes(path));
    } catch (const CppSQLite3Exception& error) {
        Error(nullptr, QString::fromUtf8(error.ErrorMessage()));
    } catch (const std::exception& error) {
        Error(nullptr, QString::fromUtf8(error.what()));
    }
}

void TDlgNewLasWizard::RunHeaderSteps(const std::string& path)
{
    LASFileHeader header;
    if (header.Read(path) != 0 || !services_.HeaderEditor)
        return;
    // Only the library browser opens the profile's library: open it here when it is still closed.
    LogFileDBManager* library = services_.Library;
    if (library && !library->IsOpen()) {
        try {
            library->Open(services_.LibraryDatabase);
        } catch (const std::exception& error) {
            Error(nullptr, QString::fromUtf8(error.what()));
        }
    }
    if (library && !library->IsOpen())
        library = nullptr;
    if (!services_.HeaderEditor->Execute(&header, library))
        return;
    // -1: nothing was edited, the file is as written.
    const int written = header.Write(path);
    if (written != 0 && written != -1)
        return;
    if (library)
        library->AddFile(path);
    created_ = platform::FileNameFromBytes(path);
    accept();
}
