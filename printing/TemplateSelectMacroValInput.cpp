// The print title parameters dialog.
#include "printing/TemplateSelectMacroValInput.h"

#include "core/FileUtils.h"
#include "core/StringUtils.h"
#include "platform/DialogRunner.h"
#include "platform/ErrorReport.h"
#include "platform/Help.h"
#include "printing/MacroLists.h"
#include "printing/TitleTemplate.h"
#include "ui_TemplateSelectMacroValInput.h"

#include <QHeaderView>
#include <QShortcut>
#include <algorithm>

namespace {

constexpr int kHelpTopic = 15;

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

TFormTemplSelMacroValInput::TFormTemplSelMacroValInput(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TFormTemplSelMacroValInput>())
{
    ui->setupUi(this);
    ui->StringGrid->setHorizontalHeaderLabels({QStringLiteral("Подстановка"), QStringLiteral("Значение")});
    ui->StringGrid->horizontalHeader()->setDefaultSectionSize(130);
    ui->StringGrid->verticalHeader()->setDefaultSectionSize(18);
    ui->StringGrid->verticalHeader()->hide();
    // Every pick, even of the entry shown, loads that template anew.
    connect(ui->ComboBoxTemplates, &QComboBox::activated, this, platform::Guarded([this](int) { TemplateChosen(); }));
    ui->ComboBoxTemplates->setPlaceholderText(QStringLiteral("Нет шаблонов заголовков"));
    connect(ui->ButtonEditTemplate, &QPushButton::clicked, this, platform::Guarded([this] { EditTemplateClick(); }));
    connect(ui->BitBtnApply, &QPushButton::clicked, this, platform::Guarded([this] { Apply(); }));
    connect(ui->BitBtnViewRes, &QPushButton::clicked, this, platform::Guarded([this] { ViewResultClick(); }));
    connect(ui->OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    const auto help = platform::Guarded([] { platform::ShowHelpTopic(kHelpTopic); });
    connect(ui->BitBtn1, &QPushButton::clicked, this, help);
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    f1->setContext(Qt::WidgetWithChildrenShortcut);
    connect(f1, &QShortcut::activated, this, help);
}

TFormTemplSelMacroValInput::~TFormTemplSelMacroValInput() = default;

TSettingsFile* TFormTemplSelMacroValInput::Ini() const { return TemplatesIni ? TemplatesIni->get() : nullptr; }

void TFormTemplSelMacroValInput::Prepare(bool skip)
{
    Ready = false;
    if (!skip) {
        FillTemplateList();
        FillMacroGrid();
        ui->BitBtnViewRes->setEnabled(false);
    }
    Ready = true;
}

void TFormTemplSelMacroValInput::FillTemplateList()
{
    QComboBox& box = *ui->ComboBoxTemplates;
    box.clear();
    const std::string select = Ini() && TitleFileName ? AnsiUpperCase(*TitleFileName) : std::string();
    std::vector<std::string> names = GetFileList(TemplatesDir, "*.ttm");
    std::sort(names.begin(), names.end());
    int current = -1;
    for (const std::string& name : names) {
        box.addItem(Q(name));
        if (current < 0 && !select.empty() && AnsiUpperCase(name) == select)
            current = box.count() - 1;
    }
    // The template shown is the one loaded, named as on disk: without the remembered one, the
    // first one; none when there is none.
    if (current < 0 && !names.empty())
        current = 0;
    const std::string shown = current >= 0 ? names[static_cast<size_t>(current)] : std::string();
    if (!select.empty() && AnsiUpperCase(shown) != select)
        platform::MessageBox(this,
                             QStringLiteral("Шаблон заголовка «") + Q(*TitleFileName) +
                                 (shown.empty() ? QStringLiteral("» не найден.\nПечать будет без заголовка.")
                                                : QStringLiteral("» не найден.\nВыбран шаблон «") + Q(shown) +
                                                      QStringLiteral("».")),
                             QStringLiteral("Заголовок"), platform::MB_OK | platform::MB_ICONWARNING);
    if (TitleFileName)
        *TitleFileName = shown;
    box.setCurrentIndex(current);
}

void TFormTemplSelMacroValInput::FillMacroGrid()
{
    QTableWidget& grid = *ui->StringGrid;
    grid.setRowCount(1);
    grid.setItem(0, 0, new QTableWidgetItem);
    grid.setItem(0, 1, new QTableWidgetItem);
    ExistingMacros.Clear();
    if (MacroManager && FormTitleTemplate) {
        FormTitleTemplate->Open(0, false);
        ExistingMacros.Collect(FormTitleTemplate->Cells, MacroManager);
    }
    const int visible = ExistingMacros.VisibleCount();
    if (visible == 0)
        return;
    grid.setRowCount(visible);
    for (int i = 0; i < visible; ++i) {
        const TExistingMacroItem& item = ExistingMacros.VisibleItems(i);
        auto* name = new QTableWidgetItem(Q(item.Name));
        name->setFlags(name->flags() & ~Qt::ItemIsEditable);
        grid.setItem(i, 0, name);
        grid.setItem(i, 1, new QTableWidgetItem(Q(item.Value)));
    }
}

void TFormTemplSelMacroValInput::TemplateChosen()
{
    if (!Ready || ui->ComboBoxTemplates->currentIndex() < 0)
        return;
    if (TitleFileName)
        *TitleFileName = ui->ComboBoxTemplates->currentText().toStdString();
    FillMacroGrid();
    ui->BitBtnViewRes->setEnabled(false);
}

void TFormTemplSelMacroValInput::EditTemplateClick()
{
    if (FormTitleTemplate)
        FormTitleTemplate->Open(0, true);
    Prepare(false);
}

TFormTitleTemplate& TFormTemplSelMacroValInput::ResultWindow()
{
    if (!FormTitleResult) {
        FormTitleResult = new TFormTitleTemplate(parentWidget());
        FormTitleResult->TemplatesDir = TemplatesDir;
        FormTitleResult->TitleFileName = TitleFileName;
    }
    return *FormTitleResult;
}

bool TFormTemplSelMacroValInput::HasTemplate() const
{
    return FormTitleTemplate && ui->ComboBoxTemplates->currentIndex() >= 0 && FormTitleTemplate->HasTitle();
}

void TFormTemplSelMacroValInput::Apply()
{
    if (!HasTemplate()) {
        platform::MessageBox(this,
                             QStringLiteral("Нет шаблона заголовка: заголовок не построен.\nШаблон создается в "
                                            "«Сервис → Редактор шаблонов заголовков...»."),
                             QStringLiteral("Заголовок"), platform::MB_OK | platform::MB_ICONWARNING);
        return;
    }
    TFormTitleTemplate& result = ResultWindow();
    if (Ini() && MacroManager) {
        for (int i = 0; i < ExistingMacros.VisibleCount(); ++i)
            if (const QTableWidgetItem* value = ui->StringGrid->item(i, 1))
                ExistingMacros.VisibleItems(i).Value = value->text().toStdString();
        ExistingMacros.SaveValues(*MacroManager);
    }
    if (FormTitleTemplate)
        result.TakeTitleFrom(*FormTitleTemplate);
    // Macros replaced in the template's own text, then its expressions computed.
    result.ApplyMacros(Ini() && MacroManager ? ExistingMacros.Replacements(*MacroManager)
                                             : std::vector<std::pair<std::string, std::string>>{});
    result.Open(1, true);
    ui->BitBtnViewRes->setEnabled(true);
}

void TFormTemplSelMacroValInput::ViewResultClick() { ResultWindow().Open(1, true); }

bool TFormTemplSelMacroValInput::HasAppliedTitle() const
{
    return FormTitleResult && ui->BitBtnViewRes->isEnabled() && FormTitleResult->HasTitle();
}

void TFormTemplSelMacroValInput::done(int result)
{
    bool close = true;
    platform::Guarded(this, [&] {
        if (result != QDialog::Accepted || ui->BitBtnViewRes->isEnabled() || !HasTemplate())
            return;
        switch (platform::MessageBox(this,
                                     QStringLiteral("Применить текущий шаблон и подстановки?\n('Нет' - отказ от "
                                                    "вывода заголовка)"),
                                     QStringLiteral("Заголовок не создан!"),
                                     platform::MB_YESNOCANCEL | platform::MB_ICONQUESTION)) {
        case platform::IDYES: Apply(); break;
        case platform::IDNO: break;
        default: close = false;
        }
    });
    if (close)
        QDialog::done(result);
}
