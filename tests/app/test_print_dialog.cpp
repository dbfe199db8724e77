// The print parameters dialog on the main window, every dialog answered through the runner:
// the print command to the PDF target, pages, margins and their settings, the correction and
// its calibration, the preview, the EMF export and the title on the first page.
#include "AppTestSupport.h"

#include "core/SettingsFile.h"
#include "datawin/LasEditor.h"
#include "editing/MetkaInfo.h"
#include "platform/EmfCanvas.h"
#include "platform/FileNames.h"
#include "platform/NumberText.h"
#include "platform/Printer.h"
#include "platform/RecordingCanvas.h"
#include "printing/DiagramPdf.h"
#include "printing/FormCurveTemplate.h"
#include "printing/FormPrnParams.h"
#include "printing/GridParams.h"
#include "printing/TemplateSelectMacroValInput.h"
#include "printing/TitleTemplate.h"
#include "tests/common/CommandOutput.h"
#include "tests/common/EmfRecords.h"
#include "tests/common/FileBytes.h"
#include "tests/common/ScriptedProgress.h"
#include "tests/common/TestPrinter.h"
#include "ui_FormPrnParams.h"
#include "ui_MainUnit.h"
#include "ui_MetkaInfo.h"
#include "ui_TemplateSelectMacroValInput.h"
#include "view/NumberInput.h"

#include <QCheckBox>
#include <QStyle>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QMessageBox>
#include <QTimer>
#include <QPrintDialog>
#include <QPrinter>
#include <filesystem>
#include <regex>
#include <sstream>

namespace strativ::test {
namespace {

// DEPT 1000.0..1100.0 by 0.1, GR 0..150 without NULLs.
std::string ScenarioLas()
{
    std::ostringstream las;
    las << "~VERSION INFORMATION\r\n VERS.   2.0 : CWLS LAS 2.0\r\n WRAP.   NO  : One line per depth step\r\n"
           "~WELL INFORMATION\r\n STRT.M  1000.0 : START\r\n STOP.M  1100.0 : STOP\r\n STEP.M  0.1 : STEP\r\n"
           " NULL.   -999.25 : NULL\r\n WELL.   S-1 : WELL\r\n~CURVE INFORMATION\r\n DEPT.M  : DEPTH\r\n"
           " GR  .API : GAMMA RAY\r\n~A\r\n";
    for (int i = 0; i <= 1000; ++i)
        las << 1000.0 + i * 0.1 << ' ' << i * 150 / 1000 << "\r\n";
    return las.str();
}

// The mark block of the scenario's marks, and parts of it that must stay off later pages.
constexpr const char* kMarkLines[] = {"Расстояние между контрольной и основной меткой:", "Глубина контрольной метки: 1490.00",
                                      "Подошва интервала перфорации: 1500.00", "Точка записи ГК: 1495.50",
                                      "Нижняя точка отверстия перфоратора: 1495.00"};
constexpr const char* kMarkParts[] = {"Расстояние", "10.50", "1490.00", "1500.00", "1495.50", "1495.00"};

bool Has(const std::vector<std::string>& texts, const std::string& part)
{
    return std::any_of(texts.begin(), texts.end(), [&](const std::string& t) { return t.find(part) != std::string::npos; });
}

std::string Poppler(const std::string& command, const std::string& path, const std::string& options = "")
{
    return CommandOutput(command + " " + options + " '" + path + "'" + (command == "pdftotext" ? " -" : ""));
}

// A test printer that is the current one for as long as it lives.
struct InstalledPrinter : TestPrinter {
    explicit InstalledPrinter(int dpi) : TestPrinter(dpi) {}
    PrinterInstalled installed{*this};
};

class PrintDialogTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        GridLineValues() = TGridLineValues{};
        WriteFileBytes(dir.file("s.las"), ScenarioLas());
        ASSERT_TRUE(Open(dir.file("s.las")));
    }

    TFormPrnParams& Dialog() const { return *window->FormPrnParams; }
    Ui::TFormPrnParams& Form() const { return Dialog().Form(); }
    TCurveTemplate& Model() const { return window->FormCurveTemplate->Model; }

    // Scenario S's template: one 5 cm column (space 0.1) holding GR, depth track 2 cm, 1:100.
    static void ShapeTemplate(TCurveTemplate& t)
    {
        if (t.Columns.empty()) {
            int column = -1;
            t.AddCurveToColumn(0, column);
        }
        t.Columns[0]->SetWidth(5.0f);
        t.Columns[0]->ColumnSpace = 0.1f;
        t.DepthTrackWidth = 2.0f;
        t.Dept->SetScale(1.0);
    }

    // The dialog as the print command leaves it, without the command's own modal steps.
    void PrepareDialog()
    {
        window->BindCurveTemplate();
        ShapeTemplate(Model());
        Dialog().Settings = &window->Settings();
        Dialog().ShowTemplatesOnShow = false;
        Dialog().FormShow();
    }

    void SetMargins(double left, double right, double top, double bottom)
    {
        Form().SpELeftMargin->setValue(left);
        Form().SpERightMargin->setValue(right);
        Form().SpETopMargin->setValue(top);
        Form().SpEBottomMargin->setValue(bottom);
    }

    void UsePdfTarget()
    {
        platform::Printer& printer = platform::CurrentPrinter();
        printer.SetPrinterIndex(static_cast<int>(printer.Printers().indexOf(platform::PdfPrinterName)));
        ASSERT_EQ(printer.PrinterName(), "PDF");
    }

    // The texts of the preview page drawn on the recording canvas (1 cm margins, 96 dpi).
    std::vector<std::string> PreviewTexts() const
    {
        platform::RecordingCanvas preview(96, 96);
        Dialog().DrawPreviewPage(preview, 1, 1, 20, 28.7, 96 / 2.54, 96 / 2.54, 10, 10);
        std::vector<std::string> texts;
        for (const auto& op : preview.OpsOf(platform::CanvasOpKind::Text))
            texts.push_back(op.text);
        return texts;
    }

    // The marks of the scenario, to be printed, with an empty caption.
    TKontrOsnMetkaInfo& SetMarks() const
    {
        TKontrOsnMetkaInfo& info = window->DlgMetkaInfo->Info();
        info.GK = 1495.5f;
        info.Perf = 1495.0f;
        info.Podoshva = 1500.0f;
        info.KontrMetka = 1490.0f;
        info.TitleText.clear();
        info.Print = true;
        return info;
    }

    // The mark dialog answered with these depths and its print box.
    void AnswerMarks(double depth, bool print)
    {
        runner->PushDialog([depth, print](QDialog& dialog) {
            Ui::TDlgMetkaInfo& f = static_cast<TDlgMetkaInfo&>(dialog).Form();
            for (QDoubleSpinBox* edit : {static_cast<QDoubleSpinBox*>(f.SpinEditGK), static_cast<QDoubleSpinBox*>(f.SpinEditPerf),
                                         static_cast<QDoubleSpinBox*>(f.SpinEditPodoshva),
                                         static_cast<QDoubleSpinBox*>(f.SpinEditKontrMetka)})
                edit->setValue(depth);
            f.CheckBoxPrint->setChecked(print);
            return int(QDialog::Accepted);
        });
    }

    // A title template of one text row, applied in the title dialog.
    void ApplyTitle(const std::string& text)
    {
        TQ7CellsArray cells;
        TQ7GridShape shape;
        shape.SetColCount(2);
        shape.SetRowCount(2);
        shape.SetRowHeight(1, 40);
        cells.Resize(2, 2);
        cells.Cell(1, 1).Content.Text = text;
        ASSERT_TRUE(cells.SaveToFile(dir.path() + "/templates/t.ttm", shape));
        window->TitleFileName = "t.ttm";
        TFormTemplSelMacroValInput& title = *window->FormTemplSelMacroValInput;
        title.Prepare();
        title.Apply();
        ASSERT_TRUE(title.HasAppliedTitle());
    }
};

TEST_F(PrintDialogTest, PrintCommandPrintsTheScenarioToPdfAndKeepsTheMargins)
{
    UsePdfTarget();
    const std::string pdf = dir.file("s.pdf");
    window->PanelCurves->GetCurve(0)->SetSelected(true);
    runner->Push(platform::IDYES);  // add the selected curves to the template
    runner->PushDialog([](QDialog& editor) {
        ShapeTemplate(static_cast<TFormCurveTemplate&>(editor).Model);
        return int(QDialog::Accepted);
    });
    runner->PushDialog([](QDialog&) { return int(QDialog::Rejected); });  // no title
    runner->PushDialog([this](QDialog& dialog) {
        EXPECT_EQ(&dialog, &Dialog());
        SetMargins(1.2, 0.8, 1.0, 1.0);
        EXPECT_EQ(Form().GroupBoxPages->title(), "Страницы (всего 4)");
        QTest::mouseClick(Form().ButtonPrint, Qt::LeftButton);
        return int(QDialog::Rejected);
    });
    runner->PushFiles({QString::fromStdString(pdf)});
    window->MIPrint->trigger();

    EXPECT_EQ(Messages(), (QStringList{"Подготовка печати|Добавить выбранные кривые в шаблон кривых?",
                                       "Печать|PDF файл записан:\n" + QString::fromStdString(pdf)}));
    EXPECT_EQ(runner->PendingAnswers(), 0);
    const std::string info = Poppler("pdfinfo", pdf);
    if (info.empty())
        GTEST_SKIP() << "poppler-utils are not installed";
    const size_t pages = info.find("Pages:");
    ASSERT_NE(pages, std::string::npos) << info;
    EXPECT_EQ(std::stoi(info.substr(pages + 6)), 4) << info;
    const size_t title = info.find("Title:");
    ASSERT_NE(title, std::string::npos) << info;
    EXPECT_EQ(info.substr(info.find_first_not_of(' ', title + 6), 6), "s.las\n") << info;
    const std::string first = Poppler("pdftotext", pdf, "-f 1 -l 1");
    EXPECT_NE(first.find("GR"), std::string::npos) << first;
    EXPECT_NE(first.find("1000"), std::string::npos) << first;
    const std::string later = Poppler("pdftotext", pdf, "-f 2 -l 4");
    EXPECT_EQ(later.find("GR"), std::string::npos) << later;

    ASSERT_TRUE(window->Settings().UpdateFile());
    const std::string ini = ReadFileBytes(dir.path() + "/strativ.ini");
    const size_t section = ini.find("[CommonPrnParams]");
    ASSERT_NE(section, std::string::npos) << ini;
    for (const char* line : {"LeftMargin=1.2", "RightMargin=0.8", "TopMargin=1", "BottomMargin=1"})
        EXPECT_NE(ini.find(line, section), std::string::npos) << line << "\n" << ini;
}

// The preview's pixels marking where the sheet ends a diagram.
int RedPixels(const QImage& image)
{
    int red = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            red += image.pixelColor(x, y).red() > 200 && image.pixelColor(x, y).green() < 80;
    return red;
}

TEST_F(PrintDialogTest, TemplatesWithoutCurvesOrWiderThanTheSheetAreAnnouncedAtEveryPrinterResolution)
{
    for (const int dpi : {96, 300, 600}) {
        SCOPED_TRACE(dpi);
        InstalledPrinter printer(dpi);
        window->Form().MMIClearTemplate->trigger();
        runner->Clear();
        // The view is wider than the sheet: the column takes only the room beside the depth track.
        ASSERT_GT(window->PanelCurves->width() / (window->PanelCurves->logicalDpiX() / 2.54), 18.0);
        window->PanelCurves->GetCurve(0)->SetSelected(true);
        runner->Push(platform::IDYES);
        runner->PushDialog([this](QDialog&) {
            EXPECT_NEAR(Model().DiagramWidth(), Dialog().PrintableWidthCm(), 0.01);
            return int(QDialog::Accepted);
        });
        runner->PushDialog([](QDialog&) { return int(QDialog::Rejected); });
        runner->PushDialog([&](QDialog&) {
            SetMargins(1.0, 1.0, 1.0, 1.0);
            EXPECT_EQ(RedPixels(Dialog().PreviewImage()), 0);
            // Widened by hand to 25 cm, it reaches 7.98 cm beyond the sheet's 19 cm.
            Model().Columns[0]->SetWidth(25.0f);
            Dialog().RefreshPreview();
            EXPECT_GT(RedPixels(Dialog().PreviewImage()), 100);
            runner->Clear();
            runner->Push(platform::IDNO);
            Form().ButtonPrint->click();
            EXPECT_EQ(printer.jobs, 0);
            runner->Push(platform::IDNO);
            Form().ButtonExportEMF->click();
            const QString wide = QStringLiteral("Диаграмма шириной 26.98 см шире области печати листа (%1 см): "
                                                "не поместятся %2 см справа.\nПродолжить?")
                                     .arg(platform::FloatToStrF(Dialog().PrintableWidthCm(), 7, 2),
                                          platform::FloatToStrF(26.98 - Dialog().PrintableWidthCm(), 7, 2));
            EXPECT_EQ(Messages(), (QStringList{"Печать|" + wide, "Экспорт|" + wide}));
            EXPECT_EQ(runner->Requests().back().flags & platform::MB_ICONMASK, platform::MB_ICONWARNING);
            runner->Push(platform::IDYES);
            Form().ButtonPrint->click();
            EXPECT_EQ(printer.jobs, 1);

            // Without a curve only the depth scale would come out.
            Model().Columns[0]->Curves.clear();
            Model().Columns[0]->SetWidth(5.0f);
            runner->Clear();
            runner->Push(platform::IDNO);
            runner->Push(platform::IDNO);
            Form().ButtonPrint->click();
            Form().ButtonExportEMF->click();
            const QString empty = QStringLiteral("Шаблон кривых не содержит ни одной кривой: будет выведена только "
                                                 "шкала глубин.\nПродолжить?");
            EXPECT_EQ(Messages(), (QStringList{"Печать|" + empty, "Экспорт|" + empty}));
            EXPECT_EQ(printer.jobs, 1);
            EXPECT_EQ(runner->PendingAnswers(), 0);  // no file was asked for
            return int(QDialog::Rejected);
        });
        window->MIPrint->trigger();
        window->PanelCurves->GetCurve(0)->SetSelected(false);
    }
}

TEST_F(PrintDialogTest, PrintCommandRefusesWithoutADocumentOrAPrinter)
{
    window.reset();
    CreateWindow();
    runner->Clear();
    window->MIPrint->trigger();
    TestPrinter none;
    none.name.clear();
    PrinterInstalled installed(none);
    WriteFileBytes(dir.file("s.las"), ScenarioLas());
    ASSERT_TRUE(Open(dir.file("s.las")));
    window->MIPrint->trigger();
    EXPECT_EQ(Messages(),
              (QStringList{"Печать файла|Файл не загружен.\nНечего печатать",
                           "Печать|Видимо в вашей системе не установлен принтер.Установите принтер и попробуйте снова."}));
    const QList<QAction*> bar = window->Form().ToolBar1->actions();
    EXPECT_TRUE(bar.contains(window->TBPrint));
    EXPECT_EQ(window->MIPrint->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
    EXPECT_TRUE(window->Form().MMIFile->actions().contains(window->MIPrint));
}

TEST_F(PrintDialogTest, PreviewAndPagesFollowTheMarginsAndTheChoiceAtEveryPrinterResolution)
{
    TestProgress progress;
    for (const int dpi : {96, 300, 600}) {
        SCOPED_TRACE(dpi);
        InstalledPrinter printer(dpi);
        PrepareDialog();
        SetMargins(1.0, 1.0, 1.0, 1.0);
        EXPECT_EQ(Form().GroupBoxPages->title(), "Страницы (всего 4)");
        EXPECT_EQ(Form().EditPagesTo->value(), 4);
        EXPECT_EQ(Form().EditPagesTo->maximum(), 4);
        // The column's right edge (2 + 5 less its 0.2 mm frame) by the 100 m strip.
        EXPECT_EQ(Form().LabelPrintSize->text(), "(Размер: 6.98x100.00 см)");

        // A sheet of 21 x 29.7 in a 460 pixel box: 318 x 450 pixels, centred, with its shadow.
        const QImage image = Dialog().PreviewImage();
        EXPECT_EQ(image.pixelColor(230 - 159 - 2, 230), QColor(Qt::white));
        EXPECT_EQ(image.pixelColor(230 + 159 + 3, 230 + 100), QColor(0x80, 0x80, 0x80));
        EXPECT_EQ(image.pixelColor(230 - 159, 230), QColor(Qt::black));  // the sheet's frame
        int dark = 0;  // the diagram inside the margins
        for (int y = 30; y < 430; ++y)
            for (int x = 90; x < 200; ++x)
                dark += image.pixelColor(x, y).lightness() < 128;
        EXPECT_GT(dark, 200);
        // The paint box shows that picture.
        EXPECT_EQ(Form().PaintBox->grab().toImage().convertToFormat(QImage::Format_RGB32), image);

        Form().ButtonPrint->click();
        EXPECT_EQ(printer.pages, 4);
        EXPECT_TRUE(printer.ended);
        EXPECT_TRUE(Has(printer.PageTexts(0), "GR"));
        EXPECT_FALSE(Has(printer.PageTexts(1), "GR"));
        Form().RadioBPagesSelected->click();
        EXPECT_FALSE(Form().RadioBPagesAll->isChecked());
        Form().EditPagesTo->setValue(1);
        Form().ButtonPrint->click();
        EXPECT_EQ(printer.pages, 1);
        Form().RadioBPagesAll->click();
        EXPECT_FALSE(Form().RadioBPagesSelected->isChecked());

        // A deeper top margin leaves less room on each page.
        SetMargins(1.0, 1.0, 5.0, 5.0);
        EXPECT_EQ(Form().GroupBoxPages->title(), "Страницы (всего 6)");
        EXPECT_EQ(Form().EditPagesTo->maximum(), 6);
        // The export lays the template out as one page; the next count does not take that over.
        ASSERT_TRUE(Dialog().ExportToEMF(QString::fromStdString(dir.file("p.emf"))));
        EXPECT_EQ(ReadEmf(dir.file("p.emf")).Header().rclFrame.right, 21000);  // the A4 sheet in 0.01 mm
        EXPECT_EQ(Model().GetPageCount(), 1);
        Dialog().RefreshPreview();
        EXPECT_EQ(Form().GroupBoxPages->title(), "Страницы (всего 6)");
    }
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join("\n").toStdString();

    TestPrinter refusing;
    refusing.refuses = true;
    PrinterInstalled installed(refusing);
    Form().ButtonPrint->click();
    EXPECT_EQ(Messages(), QStringList{"Печать|Не удалось начать печать"});
    EXPECT_EQ(runner->Requests().back().flags & platform::MB_ICONMASK, platform::MB_ICONERROR);
}

TEST_F(PrintDialogTest, TheFirstPagesChosenStayAsSetAndALongPrintAsksFirst)
{
    TestProgress progress;
    InstalledPrinter printer(300);
    PrepareDialog();
    SetMargins(1.0, 1.0, 1.0, 1.0);
    Form().RadioBPagesSelected->click();
    Form().EditPagesTo->setValue(3);
    // What changes the layout, then the count shown and the pages a print gives.
    const struct {
        const char* step;
        std::function<void()> act;
        int shown, printed;
    } steps[] = {
        {"print", [] {}, 3, 3},
        {"print again", [] {}, 3, 3},
        {"deeper margins", [this] { SetMargins(1.0, 1.0, 5.0, 5.0); }, 3, 3},
        {"more pages chosen", [this] { Form().EditPagesTo->setValue(6); }, 6, 6},
        {"margins that leave fewer pages", [this] { SetMargins(1.0, 1.0, 1.0, 1.0); }, 4, 4},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.step);
        step.act();
        Form().ButtonPrint->click();
        EXPECT_EQ(Form().EditPagesTo->value(), step.shown);
        EXPECT_EQ(printer.pages, step.printed);
    }
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join("\n").toStdString();

    // 1000 m at 1:1: thousands of pages are asked for first, and No is the default.
    ASSERT_TRUE(Open(WriteTestLas(dir.file("long.las"), 1, 10000, 1000.0, 0.1)));
    PrepareDialog();
    Model().Dept->SetRatio(1.0);
    Dialog().RefreshPreview();
    const int pages = Model().GetPageCount();
    runner->Clear();
    runner->Push(platform::IDNO);
    Form().ButtonPrint->click();  // the first 4 are kept: no question
    EXPECT_EQ(printer.pages, 4);
    Form().RadioBPagesAll->click();
    Form().ButtonPrint->click();
    ASSERT_EQ(Messages(), QStringList{QStringLiteral("Печать|Будет напечатано страниц: %1.\nПечать может занять много "
                                                     "времени. Продолжить?").arg(pages)});
    EXPECT_TRUE(runner->Requests().back().flags & platform::MB_DEFBUTTON2);
    EXPECT_EQ(printer.pages, 4);  // nothing printed
}

// Points of PDF per depth unit between consecutive depth labels of a page (left of
// `leftOfColumnPt`), read with pdftotext; a page's first label, which may stand below its line
// at the page top, is only a start.
std::vector<double> LabelSpacings(const std::string& pdf, double leftOfColumnPt)
{
    const std::string html = CommandOutput("pdftotext -bbox '" + pdf + "' -");
    const std::regex word(R"re(<word xMin="([\d.-]+)" yMin="[\d.-]+" xMax="[\d.-]+" yMax="([\d.-]+)">([\d.]+)</word>)re");
    std::vector<double> spacings;
    double lastDepth = 0.0, lastY = 0.0, onPage = 0;
    std::istringstream in(html);
    for (std::string line; std::getline(in, line);) {
        std::smatch m;
        if (line.find("<page") != std::string::npos)
            onPage = 0;
        if (!std::regex_search(line, m, word) || std::stod(m[1]) > leftOfColumnPt)
            continue;
        if (onPage++ >= 2)
            spacings.push_back((std::stod(m[2]) - lastY) / (std::stod(m[3]) - lastDepth));
        lastY = std::stod(m[2]);
        lastDepth = std::stod(m[3]);
    }
    return spacings;
}

TEST_F(PrintDialogTest, TheScaleIsTheRatioOnPaperInTheFilesDepthUnit)
{
    STRATIV_REQUIRE_CORPUS();
    UsePdfTarget();
    std::string unnamed = ScenarioLas();
    for (size_t at; (at = unnamed.find(".M  ")) != std::string::npos;)
        unnamed.replace(at, 4, ".   ");
    WriteFileBytes(dir.file("none.las"), unnamed);
    std::ostringstream tenths;  // 100 m in tenths of an inch, as lasio writes index depths
    tenths << "~V\n VERS. 2.0 :\n WRAP. NO :\n~W\n STRT..1IN 0 :\n STOP..1IN 39370 :\n STEP..1IN 393.7 :\n"
              " NULL. -999.25 :\n~C\n DEPT..1IN :\n GR.API :\n~A\n";
    for (int i = 0; i <= 100; ++i)
        tenths << i * 393.7 << ' ' << i << '\n';
    WriteFileBytes(dir.file("tenths.las"), tenths.str());
    const struct {
        std::string path;
        int ratio;
        const char* size;  // null: one page, shown as the page's room
        const char* note;
        double metresPerUnit;  // 0: no PDF measured
    } rows[] = {
        {CorpusDir() + "/autodepthindex_F.las", 200, nullptr, "", 0.3048},
        {CorpusDir() + "/autodepthindex_F.las", 50, "(Размер: 6.98x60.96 см)", "", 0.3048},
        {CorpusDir() + "/multi_channel.las", 10, nullptr, "", 0.3048},  // upward
        {dir.file("s.las"), 200, "(Размер: 6.98x50.00 см)", "", 1.0},
        {dir.file("tenths.las"), 200, "(Размер: 6.98x50.00 см)", "", 0.00254},
        {dir.file("s.las"), 1, "(Размер: 6.98x10000.00 см)", "", 0},
        {dir.file("none.las"), 200, "(Размер: 6.98x50.00 см)", "Единица глубины не указана в файле: масштаб в метрах", 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path);
        ASSERT_TRUE(Open(row.path));
        PrepareDialog();
        Model().Dept->SetRatio(row.ratio);
        SetMargins(1.0, 1.0, 1.0, 1.0);
        Dialog().RefreshPreview();
        const QLabel& size = *Form().LabelPrintSize;
        EXPECT_EQ(size.text().toStdString(), row.size ? row.size : "(Размер: 6.98x26.28 см)");
        EXPECT_LE(size.fontMetrics().horizontalAdvance(size.text()), size.contentsRect().width());
        EXPECT_EQ(Form().LabelDepthUnit->text(), row.note);
        EXPECT_EQ(Form().LabelDepthUnit->isVisibleTo(&Dialog()), *row.note != '\0');
        if (row.metresPerUnit == 0)
            continue;
        const std::string pdf = dir.file(std::to_string(row.ratio) + ".pdf");
        runner->Clear();
        runner->PushFiles({QString::fromStdString(pdf)});
        Form().ButtonPrint->click();
        // 1 cm margin and the 2 cm depth track: the labels stand left of 3 cm (85 pt).
        const std::vector<double> spacings = LabelSpacings(pdf, 85.0);
        if (spacings.empty() && CommandOutput("command -v pdftotext").empty())
            GTEST_SKIP() << "poppler-utils are not installed";
        ASSERT_FALSE(spacings.empty());
        for (const double pointsPerUnit : spacings)
            EXPECT_NEAR(row.metresPerUnit * 100.0 / (pointsPerUnit * 2.54 / 72.0), row.ratio, row.ratio * 0.01);
    }
}

TEST_F(PrintDialogTest, MarginsLoadAboveTheBordersAndTheMinimumsFollowThePrinter)
{
    TestPrinter printer(300);
    printer.caps.physicalOffsetX = printer.caps.physicalOffsetY = 59;  // 0.5 cm
    printer.caps.horzSizeMm = 200;
    printer.caps.vertSizeMm = 287;
    PrinterInstalled installed(printer);
    window->Settings().WriteFloat("CommonPrnParams", "LeftMargin", 59 / (300 / 2.54));  // equal to the border
    window->Settings().WriteFloat("CommonPrnParams", "TopMargin", 2.4);
    Form().SpELeftMargin->setValue(1.4);
    PrepareDialog();
    EXPECT_DOUBLE_EQ(Form().SpELeftMargin->value(), 1.4);  // not loaded
    EXPECT_DOUBLE_EQ(Form().SpETopMargin->value(), 2.4);
    // The preview's rule: the right border is the sheet less the left border and the printable width.
    EXPECT_NEAR(Form().SpERightMargin->minimum(), 2480 / (300 / 2.54) - 0.4995 - 20.0, 0.01);
    Form().SButtonMinMargins->click();
    EXPECT_NEAR(Form().SpELeftMargin->value(), 0.5, 0.01);
    EXPECT_NEAR(Form().SpETopMargin->value(), 0.5, 0.01);

    // A printer reporting no sheet gives an empty preview, not a division by zero.
    printer.caps.physicalWidth = printer.caps.physicalHeight = 0;
    Dialog().RefreshPreview();
    const QImage empty = Dialog().PreviewImage();
    EXPECT_EQ(empty.pixelColor(230, 230), QColor(Qt::white));
    EXPECT_EQ(empty.pixelColor(10, 10), QColor(Qt::white));
}

// The layout's sizes come from a narrower font than the platform's: no caption may be cut.
TEST_F(PrintDialogTest, EveryButtonCaptionFitsItsButton)
{
    TestPrinter printer(96);
    PrinterInstalled installed(printer);
    PrepareDialog();
    for (QAbstractButton* button : Dialog().findChildren<QAbstractButton*>()) {
        if (button->isHidden() || button->text().isEmpty())
            continue;
        SCOPED_TRACE(button->objectName().toStdString());
        const QStyle& style = *button->style();
        const int box = style.pixelMetric(QStyle::PM_IndicatorWidth, nullptr, button) +
                        style.pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, button);
        const int needed =
            button->fontMetrics().horizontalAdvance(button->text()) + (qobject_cast<QCheckBox*>(button) ? box : 2);
        EXPECT_LE(needed, button->width());
    }
}

TEST_F(PrintDialogTest, TheCorrectionNeedsAStoredFactorOfThisPrinterAndTheCalibrationStoresIt)
{
    InstalledPrinter printer(300);
    PrepareDialog();
    runner->Clear();
    // No factor: the user's click is refused and the calibration offered.
    runner->Push(platform::IDOK);
    runner->Push(platform::IDNO);
    Form().CheckBoxCorrection->click();
    EXPECT_FALSE(Form().CheckBoxCorrection->isChecked());
    EXPECT_EQ(Messages(), (QStringList{"Выбор корректирующего коэффициента|Не задан или неправильно задан корректирующий "
                                       "коэффициент!",
                                       "Выбор корректирующего коэффициента|Хотите рассчитать коррекцию размеров для "
                                       "текущего принтера?"}));

    const auto answerNumber = [this](double value) {
        runner->PushDialog([value](QDialog&) {
            NumberInputBox()->SpinEdit()->setValue(value);
            return int(QDialog::Accepted);
        });
    };
    runner->Clear();
    answerNumber(20);
    answerNumber(19);
    runner->Push(platform::IDOK);
    Form().ButtonCorrectionSettings->click();
    // The test line: 20 nominal cm, 3 cm right of and 2 cm below the printable corner.
    const auto lines = printer.canvas.OpsOf(platform::CanvasOpKind::Line);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].points[0], (platform::CanvasPoint{354, 236}));
    EXPECT_EQ(lines[0].points[1], (platform::CanvasPoint{354, 236 + 2362}));
    EXPECT_EQ(lines[0].pen.width, 5);
    EXPECT_TRUE(printer.ended);
    EXPECT_EQ(window->Settings().ReadString("CommonPrnParams", "PrinterName", ""), "Test");
    EXPECT_NEAR(window->Settings().ReadFloat("CommonPrnParams", "Correction", 0), 20.0 / 19.0, 1e-9);
    EXPECT_TRUE(Form().CheckBoxCorrection->isChecked());
    EXPECT_NEAR(Dialog().Correction, 20.0 / 19.0, 1e-9);
    EXPECT_TRUE(Messages().size() == 1) << Messages().join("\n").toStdString();

    // Two prints in a row with the correction on give the same pages.
    Form().ButtonPrint->click();
    const size_t firstOps = printer.canvas.Ops().size();
    const int firstPages = printer.pages;
    Form().ButtonPrint->click();
    EXPECT_EQ(printer.canvas.Ops().size(), firstOps);
    EXPECT_EQ(printer.pages, firstPages);

    // A factor outside 0.5..1.5 is stored but turns the box off.
    runner->Clear();
    answerNumber(20);
    answerNumber(10);
    runner->Push(platform::IDOK);
    runner->Push(platform::IDOK);
    Form().ButtonCorrectionSettings->click();
    EXPECT_DOUBLE_EQ(window->Settings().ReadFloat("CommonPrnParams", "Correction", 0), 2.0);
    EXPECT_FALSE(Form().CheckBoxCorrection->isChecked());
    EXPECT_DOUBLE_EQ(Dialog().Correction, 1.0);
    EXPECT_EQ(Messages().back(), "Выбор корректирующего коэффициента|Не задан или неправильно задан корректирующий "
                                 "коэффициент!");
    EXPECT_EQ(runner->PendingAnswers(), 0);  // no calibration offered when the code set the box

    // Another printer's factor is not taken on show; the box goes off without a word.
    window->Settings().WriteFloat("CommonPrnParams", "Correction", 1.1);
    Dialog().FormShow();
    EXPECT_TRUE(Form().CheckBoxCorrection->isChecked());
    EXPECT_DOUBLE_EQ(Dialog().Correction, 1.1);
    window->Settings().WriteString("CommonPrnParams", "PrinterName", "Other");
    runner->Clear();
    Dialog().FormShow();
    EXPECT_FALSE(Form().CheckBoxCorrection->isChecked());
    EXPECT_DOUBLE_EQ(Dialog().Correction, 1.0);
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(PrintDialogTest, TitleIsPrintedOnTheFirstPageOnlyAndCountedInPreviewAndExport)
{
    InstalledPrinter printer(300);
    PrepareDialog();
    const QString before = Form().LabelPrintSize->text();
    ApplyTitle("Скважина S-1");
    Dialog().RefreshPreview();
    EXPECT_NE(Form().LabelPrintSize->text(), before);  // the title's height is counted
    Form().ButtonPrint->click();
    EXPECT_TRUE(Has(printer.PageTexts(0), "Скважина S-1"));
    for (int page = 1; page < printer.pages; ++page)
        EXPECT_FALSE(Has(printer.PageTexts(page), "Скважина S-1")) << page;
    // The diagram starts below the title.
    int titleY = -1;
    int headerY = -1;
    for (const auto& op : printer.canvas.OpsOf(platform::CanvasOpKind::Text)) {
        if (op.text == "Скважина S-1")
            titleY = op.at.y;
        if (op.text.find("GR") != std::string::npos && headerY < 0)
            headerY = op.at.y;
    }
    EXPECT_GT(headerY, titleY);

    const std::vector<std::string> texts = PreviewTexts();
    EXPECT_TRUE(Has(texts, "Скважина S-1"));
    EXPECT_TRUE(Has(texts, "GR"));

    // Prepared anew by the template step: the title is dropped.
    runner->PushDialog([](QDialog&) { return int(QDialog::Accepted); });
    runner->PushDialog([](QDialog&) { return int(QDialog::Rejected); });
    Form().BitBtnCurveTeml->click();
    Form().ButtonPrint->click();
    EXPECT_FALSE(Has(printer.PageTexts(0), "Скважина S-1"));

    // An expression left open at the end of the text is computed from the macro's value.
    ApplyTitle("Шаг: #[STEP]*10");
    Form().ButtonPrint->click();
    EXPECT_TRUE(Has(printer.PageTexts(0), "Шаг: 1.00")) << ::testing::PrintToString(printer.PageTexts(0));
}

TEST_F(PrintDialogTest, NumbersTakeThePlatformSeparatorInPrintPreviewAndExport)
{
    InstalledPrinter printer(600);
    SetMarks();
    PrepareDialog();
    Model().Columns[0]->Curves[0]->SetScaleValue(0.25f);
    platform::SetDecimalSeparator(QChar(','));
    Form().ButtonPrint->click();
    for (const std::vector<std::string>& texts : {printer.PageTexts(0), PreviewTexts()}) {
        for (const char* text : {"0,5", "10,50", "1490,00"})
            EXPECT_TRUE(Has(texts, text)) << text;
        for (const char* text : {"0.5", "10.50"})
            EXPECT_FALSE(Has(texts, text)) << text;
    }

    const std::string emf = dir.file("s.emf");
    runner->Clear();
    runner->PushFiles({QString::fromStdString(emf)});
    Form().ButtonExportEMF->click();
    // Like the PDF, the EMF says where it was written.
    EXPECT_EQ(Messages(), QStringList{"Экспорт|EMF файл записан:\n" + QString::fromStdString(emf)});
    ASSERT_EQ(runner->Requests().size(), 2u);
    const platform::DialogRequest& asked = runner->Requests()[0];
    EXPECT_EQ(asked.file.filter, "Рисунки EMF (*.emf)");
    EXPECT_TRUE(asked.file.fileName.endsWith(".emf")) << asked.file.fileName.toStdString();
    EXPECT_EQ(asked.file.defaultSuffix, "emf");
    EXPECT_TRUE(asked.file.confirmOverwrite);
    const EmfPicture picture = ReadEmf(emf);
    ASSERT_TRUE(picture.complete);
    EXPECT_EQ(picture.Header().nRecords, picture.records.size());
    std::vector<std::u16string> emfTexts;
    for (const auto& record : picture.OfType(U_EMR_EXTTEXTOUTW))
        emfTexts.push_back(TextOf(record));
    EXPECT_TRUE(std::any_of(emfTexts.begin(), emfTexts.end(), [](const std::u16string& t) { return t.rfind(u"0,5", 0) == 0; }));
    // The outside reader takes it, when it is installed.
    if (!CommandOutput("command -v emf2svg-conv").empty()) {
        const std::string svg = dir.file("s.svg");
        EXPECT_EQ(std::system(("emf2svg-conv -i '" + emf + "' -o '" + svg + "' 2>/dev/null").c_str()), 0);
        EXPECT_NE(ReadFileBytes(svg).find("<svg"), std::string::npos);
    }

    // Cancelling the save dialog writes nothing.
    std::filesystem::remove(emf);
    runner->PushCancel();
    Form().ButtonExportEMF->click();
    EXPECT_FALSE(std::filesystem::exists(emf));

    // A file that cannot be written is reported once, with its name.
    runner->Clear();
    const std::string unwritable = dir.file("missing/s.emf");
    runner->PushFiles({QString::fromStdString(unwritable)});
    Form().ButtonExportEMF->click();
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(Messages()[0].startsWith("Экспорт|Не удалось записать файл\n" + QString::fromStdString(unwritable) + "\n"))
        << Messages()[0].toStdString();
    EXPECT_EQ(Messages()[0].count("Не удалось"), 1);
}

TEST_F(PrintDialogTest, PrinterButtonRunsThePrinterDialogAndFollowsItsChoice)
{
    PrepareDialog();
    platform::Printer& printer = platform::CurrentPrinter();
    runner->Clear();
    const std::string pdf = dir.file("typed.pdf");
    runner->PushDialog([&pdf](QDialog& dialog) {
        QPrinter& device = *static_cast<QPrintDialog&>(dialog).printer();
        device.setOutputFormat(QPrinter::PdfFormat);
        device.setOutputFileName(QString::fromStdString(pdf));
        return int(QDialog::Accepted);
    });
    Form().SButtonPrinter->click();
    ASSERT_EQ(runner->Requests().size(), 1u);
    EXPECT_EQ(runner->Requests()[0].kind, platform::DialogKind::Modal);
    EXPECT_EQ(printer.PrinterName(), "PDF");
    EXPECT_NEAR(Dialog().PageWidthCm, 21.0, 0.01);

    // The file named there is offered when the print asks for the file.
    runner->PushFiles({QString::fromStdString(pdf)});
    Form().ButtonPrint->click();
    ASSERT_EQ(runner->Requests().size(), 3u);
    EXPECT_EQ(runner->Requests()[1].kind, platform::DialogKind::File);
    EXPECT_EQ(runner->Requests()[1].file.fileName, "typed.pdf");
    EXPECT_EQ(Messages(), QStringList{"Печать|PDF файл записан:\n" + QString::fromStdString(pdf)});
    EXPECT_TRUE(std::filesystem::exists(pdf));
    printer.OutputFile.clear();
}

// The file of a PDF is asked once per print, with one question before replacing it: the
// printer dialog's OK asks nothing of the file named there.
TEST_F(PrintDialogTest, APdfPrintedTwiceToOneNameAsksOneQuestionEachTime)
{
    PrepareDialog();
    const QString pdf = QString::fromStdString(dir.file("s.pdf"));
    QStringList qtQuestions;  // message boxes of Qt's own, which the runner never sees
    QTimer watch;
    watch.setInterval(0);
    QObject::connect(&watch, &QTimer::timeout, [&qtQuestions] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            qtQuestions << box->text();
            box->done(QMessageBox::Yes);
        }
    });
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        runner->Clear();
        runner->PushDialog([&](QDialog& dialog) {
            watch.start();
            const int result = AnswerPrintToFile(dialog, pdf);
            watch.stop();
            return result;
        });
        Form().SButtonPrinter->click();
        runner->PushFiles({pdf});
        Form().ButtonPrint->click();
        ASSERT_EQ(runner->Requests().size(), 3u);
        EXPECT_EQ(runner->Requests()[1].file.fileName, "s.pdf");
        EXPECT_TRUE(runner->Requests()[1].file.confirmOverwrite);
        EXPECT_EQ(Messages(), QStringList{"Печать|PDF файл записан:\n" + pdf});
    }
    EXPECT_EQ(qtQuestions.join(QLatin1Char('\n')).toStdString(), "");
    platform::CurrentPrinter().OutputFile.clear();
}

// The paper and its orientation chosen in the printer dialog are the next start's.
TEST_F(PrintDialogTest, ThePaperChosenInThePrinterDialogIsKeptAcrossARestart)
{
    PrepareDialog();
    runner->PushDialog([](QDialog& dialog) {
        QPrinter& device = *static_cast<QPrintDialog&>(dialog).printer();
        device.setOutputFormat(QPrinter::PdfFormat);
        device.setPageSize(QPageSize(QPageSize::A3));
        device.setPageOrientation(QPageLayout::Landscape);
        return int(QDialog::Accepted);
    });
    Form().SButtonPrinter->click();
    ASSERT_TRUE(window->close());
    window.reset();
    platform::Printer& printer = platform::CurrentPrinter();
    printer.SetPaper(210.0, 297.0);  // as a new start finds it
    CreateWindow();
    ASSERT_TRUE(Open(dir.file("s.las")));
    PrepareDialog();
    EXPECT_EQ(printer.PrinterName(), "PDF");
    EXPECT_NEAR(Dialog().PageWidthCm, 42.0, 0.01);
    EXPECT_NEAR(Dialog().PageHeightCm, 29.7, 0.01);
    printer.SetPaper(210.0, 297.0);
    printer.OutputFile.clear();
}

TEST_F(PrintDialogTest, MarkBlockIsPrintedOnTheFirstPageOnlyWithThePlatformSeparator)
{
    SetMarks();
    for (const int dpi : {96, 300, 600}) {
        SCOPED_TRACE(dpi);
        InstalledPrinter printer(dpi);
        PrepareDialog();
        ASSERT_TRUE(Form().CheckBoxMetka->isChecked());
        Form().ButtonPrint->click();
        const std::vector<std::string> first = printer.PageTexts(0);
        EXPECT_TRUE(Has(first, std::string(kMarkLines[0]) + "    10.50"));
        for (const char* text : kMarkLines)
            EXPECT_TRUE(Has(first, text)) << text;
        const std::vector<std::string> second = printer.PageTexts(1);
        for (const char* text : kMarkParts)
            EXPECT_FALSE(Has(second, text)) << text;

        // The block spans the printable width and the diagram starts below it.
        const auto lines = printer.canvas.OpsOf(platform::CanvasOpKind::Line);
        const double px = dpi / 2.54;
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines[0].points[0], (platform::CanvasPoint{int(1.0 * px), int(1.0 * px)}));
        EXPECT_EQ(lines[0].points[1].x, int((int(21.0 / 2.54 * dpi) / px - 1.0) * px));
        int bottomRule = 0;
        int header = 0;
        for (const auto& op : printer.canvas.Ops()) {
            if (op.kind == platform::CanvasOpKind::Line && op.points[0].y == op.points[1].y &&
                op.points[0].x == lines[0].points[0].x && op.points[1].x == lines[0].points[1].x)
                bottomRule = op.points[0].y;
            if (op.kind == platform::CanvasOpKind::Text && op.text.find("GR") != std::string::npos && !header)
                header = op.at.y;
        }
        EXPECT_GT(bottomRule, int(1.8 * px));
        EXPECT_GT(header, bottomRule);
    }

    // Unchecked: the diagram follows the top margin directly.
    InstalledPrinter printer(300);
    PrepareDialog();
    Form().CheckBoxMetka->click();
    EXPECT_FALSE(window->DlgMetkaInfo->Info().Print);
    Form().ButtonPrint->click();
    EXPECT_FALSE(Has(printer.PageTexts(0), "Расстояние"));
}

TEST_F(PrintDialogTest, MarkBlockReachesThePdfFirstPage)
{
    UsePdfTarget();
    SetMarks();
    PrepareDialog();
    const std::string pdf = dir.file("marks.pdf");
    runner->PushFiles({QString::fromStdString(pdf)});
    Form().ButtonPrint->click();
    EXPECT_EQ(Messages(), QStringList{"Печать|PDF файл записан:\n" + QString::fromStdString(pdf)});
    runner->Clear();

    // A file that cannot be made stops the job before it begins, with the reason.
    const std::string unwritable = dir.file("missing/marks.pdf");
    runner->PushFiles({QString::fromStdString(unwritable)});
    Form().ButtonPrint->click();
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(Messages()[0].startsWith("Печать|Не удалось начать печать\nНе удалось записать файл\n" +
                                         QString::fromStdString(unwritable)))
        << Messages()[0].toStdString();
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing")));

    const std::string first = Poppler("pdftotext", pdf, "-f 1 -l 1");
    if (first.empty())
        GTEST_SKIP() << "poppler-utils are not installed";
    for (const char* text : kMarkLines)
        EXPECT_NE(first.find(text), std::string::npos) << text << "\n" << first;
    EXPECT_NE(first.find("10.50"), std::string::npos) << first;
    const std::string second = Poppler("pdftotext", pdf, "-f 2 -l 2");
    for (const char* text : kMarkParts)
        EXPECT_EQ(second.find(text), std::string::npos) << text;
}

TEST_F(PrintDialogTest, MarkBlockXPositionsKeepToTheHorizontalFactor)
{
    SetMarks();
    const auto xs = [this](double correction, int dpiX) {
        TestPrinter printer(600);
        printer.caps.logPixelsX = dpiX;
        printer.caps.physicalWidth = printer.caps.horzRes = int(21.0 / 2.54 * dpiX);
        PrinterInstalled installed(printer);
        PrepareDialog();
        Dialog().Correction = correction;
        Form().CheckBoxCorrection->blockSignals(true);
        Form().CheckBoxCorrection->setChecked(correction != 1.0);
        Form().CheckBoxCorrection->blockSignals(false);
        Form().ButtonPrint->click();
        std::vector<int> out;
        for (const auto& op : printer.canvas.Ops())
            if (op.kind == platform::CanvasOpKind::Text && (op.text.rfind("Точка", 0) == 0 || op.text.rfind("Нижняя", 0) == 0))
                out.push_back(op.at.x);
            else if (op.kind == platform::CanvasOpKind::Line && out.empty())
                out = {op.points[0].x, op.points[1].x};
        return out;
    };
    const std::vector<int> plain = xs(1.0, 300);
    ASSERT_EQ(plain.size(), 4u);
    EXPECT_EQ(xs(1.1, 300), plain);  // the correction changes only lengths down the page
    EXPECT_EQ(plain[2], int(3.0 * 300 / 2.54));  // "Точка записи ГК" at left + 2 cm across
}

TEST_F(PrintDialogTest, MarkBoxAsksForValidDepthsAndTheEditButtonAppliesTheRule)
{
    InstalledPrinter printer(300);
    PrepareDialog();
    TKontrOsnMetkaInfo& info = window->DlgMetkaInfo->Info();
    ASSERT_EQ(info.GK, -1.0f);
    runner->Clear();
    runner->PushCancel();
    Form().CheckBoxMetka->click();
    ASSERT_EQ(runner->Requests().size(), 1u);
    EXPECT_EQ(runner->Requests()[0].dialogClass, "TDlgMetkaInfo");
    EXPECT_FALSE(Form().CheckBoxMetka->isChecked());
    EXPECT_FALSE(info.Print);

    AnswerMarks(1200.0, false);
    Form().CheckBoxMetka->click();
    EXPECT_TRUE(Form().CheckBoxMetka->isChecked());
    EXPECT_TRUE(info.Print);
    EXPECT_EQ(info.GK, 1200.0f);

    // "Редактировать": the box follows the dialog's print box.
    AnswerMarks(1300.0, false);
    Form().BitBtnMetkaEdit->click();
    EXPECT_FALSE(Form().CheckBoxMetka->isChecked());
    AnswerMarks(1300.0, true);
    Form().BitBtnMetkaEdit->click();
    EXPECT_TRUE(Form().CheckBoxMetka->isChecked());
    // Depths made invalid there are asked for again; without OK the block is off.
    AnswerMarks(0.0, true);
    runner->PushCancel();
    Form().BitBtnMetkaEdit->click();
    EXPECT_FALSE(Form().CheckBoxMetka->isChecked());
    EXPECT_FALSE(info.Print);
    EXPECT_EQ(runner->PendingAnswers(), 0);

    // Closing lets go of the record.
    Dialog().reject();
    EXPECT_EQ(Dialog().MarkInfo, nullptr);
}

// A print to file asks the name at every print: the document's beside it, or what was typed
// in the printer dialog's file box, a bare name taken beside the document with ".pdf".
TEST_F(PrintDialogTest, PrintToFileAsksTheNameBesideTheDocumentAndNeverReplacesSilently)
{
    const QString folder = QString::fromStdString(dir.path()) + "/";
    runner->PushDialog([](QDialog& editor) {
        ShapeTemplate(static_cast<TFormCurveTemplate&>(editor).Model);
        return int(QDialog::Accepted);
    });
    runner->PushDialog([](QDialog&) { return int(QDialog::Rejected); });  // no title
    runner->PushDialog([&](QDialog&) {
        // Typed (null: the name offered kept) and asked for.
        for (const auto& [typed, asked] : {std::pair{QString(), "s.pdf"}, {" 7 ", "7.pdf"}, {"ГК", "ГК.pdf"},
                                           {"12,5", "12,5.pdf"}}) {
            runner->Clear();
            runner->PushDialog([typed = typed](QDialog& dialog) { return AnswerPrintToFile(dialog, typed); });
            Form().SButtonPrinter->click();
            runner->PushFiles({folder + asked});
            Form().ButtonPrint->click();
            const platform::FileDialogOptions file = runner->Requests().at(1).file;
            EXPECT_EQ(file.directory + "/" + file.fileName, folder + asked);
            EXPECT_TRUE(file.confirmOverwrite);
            EXPECT_EQ(Messages(), QStringList{"Печать|PDF файл записан:\n" + folder + asked});
        }
        // Not confirming the system's question keeps the file as it was.
        const std::string kept = ReadFileBytes(dir.file("12,5.pdf"));
        runner->PushCancel();
        Form().ButtonPrint->click();
        EXPECT_EQ(ReadFileBytes(dir.file("12,5.pdf")), kept);
        return int(QDialog::Rejected);
    });
    window->MIPrint->trigger();
    EXPECT_EQ(runner->PendingAnswers(), 0);
    platform::CurrentPrinter().OutputFile.clear();
}

// A session's document is a copy in the profile: what is made from it is offered under the
// session's name beside the file last opened, never among the profile's files.
TEST_F(PrintDialogTest, FilesMadeFromASessionAreOfferedBesideTheFileLastOpened)
{
    const QString session = QString::fromStdString(window->SessionsDir) + "Работа.vxs";
    ASSERT_TRUE(window->SaveSession(session));
    ASSERT_TRUE(window->LoadSession(session));
    UsePdfTarget();
    PrepareDialog();
    runner->Clear();
    runner->PushCancel();
    Form().ButtonPrint->click();
    runner->PushCancel();
    Form().ButtonExportEMF->click();
    const QString folder = QString::fromStdString(dir.path());
    ASSERT_EQ(runner->Requests().size(), 2u);
    EXPECT_EQ(runner->Requests()[0].file.directory + "/" + runner->Requests()[0].file.fileName, folder + "/Работа.pdf");
    EXPECT_EQ(runner->Requests()[1].file.directory, folder);
    window->MIEditLas->trigger();
    EXPECT_EQ(window->FormEditor->Folder(), folder);
}

// A document whose name and folder are not UTF-8: its PDF is written beside it under its own
// name's bytes and its EMF pictures are offered there too.
TEST_F(PrintDialogTest, PdfAndEmfOfANameInAnotherEncodingAreOfferedBesideIt)
{
    UsePdfTarget();
    int n = 0;
    for (const std::string name : {"caf\xe9", "\x8f\xe0\xa8\xac\xa5\xe0 1"}) {
        SCOPED_TRACE(name);
        const std::string folder = dir.file("d\xe9" + std::to_string(++n));
        std::filesystem::create_directory(folder);
        WriteFileBytes(folder + "/" + name + ".las", ScenarioLas());
        PushCurveChoice();
        ASSERT_TRUE(window->OpenLasFile(platform::FileNameFromBytes(folder + "/" + name + ".las")));
        PrepareDialog();
        runner->Clear();
        runner->PushFiles({platform::FileNameFromBytes(folder + "/" + name + ".pdf")});
        Form().ButtonPrint->click();
        runner->PushCancel();
        Form().ButtonExportEMF->click();
        std::vector<std::string> offered;
        for (const platform::DialogRequest& request : runner->Requests())
            if (request.kind == platform::DialogKind::File)
                offered.push_back(platform::FileNameToBytes(
                    platform::FileInFolder(request.file.directory, request.file.fileName)));
        EXPECT_EQ(offered, (std::vector<std::string>{folder + "/" + name + ".pdf", folder + "/" + name + ".emf"}));
        EXPECT_TRUE(std::filesystem::is_regular_file(folder + "/" + name + ".pdf"));
        EXPECT_EQ(Messages(), QStringList{"Печать|PDF файл записан:\n" +
                                          platform::ShownFileName(folder + "/" + name +
                                                                                               ".pdf")});
    }
    platform::CurrentPrinter().OutputFile.clear();
}

// The paper chosen in the printer dialog for the PDF is the PDF's page and the EMF's width.
TEST_F(PrintDialogTest, PdfAndEmfTakeThePaperChosenInThePrinterDialog)
{
    const struct {
        QPageSize::PageSizeId size;
        QPageLayout::Orientation orientation;
        const char* points;  // pdfinfo's page size
        int emfWidth;        // 0.01 mm
    } rows[] = {{QPageSize::Letter, QPageLayout::Portrait, "612 x 792 pts (letter)", 21590},
                {QPageSize::A3, QPageLayout::Landscape, "1191 x 842 pts (A3)", 42000}};
    PrepareDialog();
    const std::string pdf = dir.file("paper.pdf");
    for (const auto& row : rows) {
        runner->PushDialog([&row](QDialog& dialog) {
            QPrinter& device = *static_cast<QPrintDialog&>(dialog).printer();
            device.setOutputFormat(QPrinter::PdfFormat);
            device.setPageSize(QPageSize(row.size));
            device.setPageOrientation(row.orientation);
            return int(QDialog::Accepted);
        });
        Form().SButtonPrinter->click();
        runner->PushFiles({QString::fromStdString(pdf)});
        Form().ButtonPrint->click();
        ASSERT_TRUE(Dialog().ExportToEMF(QString::fromStdString(dir.file("paper.emf"))));
        EXPECT_EQ(ReadEmf(dir.file("paper.emf")).Header().rclFrame.right, row.emfWidth);
        const std::string info = Poppler("pdfinfo", pdf);
        EXPECT_TRUE(info.empty() || info.find(row.points) != std::string::npos) << info;
    }
    platform::Printer& printer = platform::CurrentPrinter();
    printer.PdfWidthMm = 210.0;
    printer.PdfHeightMm = 297.0;
    printer.OutputFile.clear();
}

// A column of 35 curves is taller than a page: printing asks first, naming the column; its
// header goes on over the next pages, so that every curve's name is printed at any resolution.
TEST_F(PrintDialogTest, HeadersTallerThanThePageGoOnOverTheNextPagesAfterAQuestion)
{
    ASSERT_TRUE(Open(WriteTestLas(dir.file("wide.las"), 35, 101, 1000.0, 0.1)));
    PrepareDialog();
    for (int i = 1; i < 35; ++i) {
        int column = 0;
        Model().AddCurveToColumn(i, column);
    }
    InstalledPrinter printer(300);
    runner->Clear();
    Form().ButtonPrint->click();  // the question gets No
    EXPECT_EQ(printer.jobs, 0);
    EXPECT_TRUE(Messages().value(0).startsWith("Печать|Заголовок столбца 1 не помещается на первой странице: он "
                                               "продолжится на следующих страницах, данные начнутся на странице "));
    EXPECT_TRUE(Has(PreviewTexts(), "C1, U1"));
    for (const int dpi : {96, 300, 600}) {
        const std::string pdf = dir.file("wide.pdf");
        ASSERT_TRUE(WriteDiagramPdf(Model(), pdf, 19.0, 27.7, dpi).ok);
        const std::string text = Poppler("pdftotext", pdf);
        for (int c = 1; c <= 35 && !text.empty(); ++c)
            EXPECT_NE(text.find("C" + std::to_string(c) + ", U" + std::to_string(c)), std::string::npos) << dpi << " " << c;
    }
}

// The EMF of a whole diagram is measured first: a large one is written only when the user
// agrees, with progress and its cancel; one the format cannot hold is refused at once.
TEST_F(PrintDialogTest, EmfExportStatesItsSizeAsksBeforeALargeOneAndRefusesOneBeyondTheFormat)
{
    // Three curves at 1:1 over 1000 m (10,000 rows) and over 20,000 m.
    const struct {
        int rows;
        double step;
        const char* told;
        size_t asked;  // dialogs: the question, then the file
    } rows[] = {{10000, 0.1, "Продолжить?", 2}, {20001, 1.0, "формат EMF не вмещает файлы больше 4 ГБ", 1}};
    ScriptedProgress progress(2);
    const std::string emf = dir.file("long.emf");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.rows);
        ASSERT_TRUE(Open(WriteTestLas(dir.file("long.las"), 3, row.rows, 1000.0, row.step)));
        PrepareDialog();
        for (int i = 1; i < 3; ++i) {
            int column = -1;
            Model().AddCurveToColumn(i, column);
        }
        Model().Dept->SetScale(0.01);
        runner->Clear();
        runner->Push(platform::IDYES);
        runner->PushFiles({QString::fromStdString(emf)});
        Form().ButtonExportEMF->click();
        ASSERT_EQ(runner->Requests().size(), row.asked);
        EXPECT_TRUE(Messages().value(0).contains(" стр., около ")) << Messages().value(0).toStdString();
        EXPECT_TRUE(Messages().value(0).contains(row.told)) << Messages().value(0).toStdString();
        const platform::FileDialogOptions& file = runner->Requests().back().file;
        EXPECT_TRUE(row.asked == 1 || (file.title.startsWith("Экспорт диаграммы в EMF (") &&
                                       file.directory == QString::fromStdString(dir.path())));
        EXPECT_FALSE(std::filesystem::exists(emf));  // refused, or cancelled at its second step
    }
    EXPECT_EQ(progress.parts.size(), 2u);
    EXPECT_EQ(runner->Requests().size(), 1u);
}

}  // namespace
}  // namespace strativ::test
