// Predefined macros and the manager's operations.
#include "printing/MacroLists.h"

#include "core/SettingsFile.h"
#include "core/StringUtils.h"
#include "platform/FileNames.h"

#include <filesystem>

TWendMacroManager* MacroManager = nullptr;

namespace {

const TLasParser2Parser*& CurrentDocument()
{
    static const TLasParser2Parser* parser = nullptr;
    return parser;
}


void AppendList(TQ7CustomMacro& manager, int kind)
{
    TPredefinedMacroList list;
    list.Fill(kind);
    for (const auto& item : list.Items) {
        const int n = manager.AddMacro();
        TQ7MacroRecord record;
        item->FillRecord(record);
        manager.SetMacro(n, record);
    }
}

}  // namespace

TWendMacroListItem::TWendMacroListItem(int kind, std::string key, std::string name, std::string description)
    : Kind(kind), key_(std::move(key)), name_(std::move(name)), description_(std::move(description))
{
}

void TWendMacroListItem::FillRecord(TQ7MacroRecord& r) const
{
    r.Mask = 0x10BF;
    r.SType = 2;
    r.Type = 0;
    r.Key = key_;
    r.Name = name_;
    r.Description = description_;
    r.SearchInfo1 = SearchInfo1;
    r.SearchInfo2 = SearchInfo2;
    r.SearchInfo3 = SearchInfo3;
}

TWendMacroListSystemItem::TWendMacroListSystemItem(std::string key, std::string name, std::string description)
    : TWendMacroListItem(1, key, std::move(name), std::move(description))
{
    SearchInfo1 = "system";
    SearchInfo2 = key_;
}

TWendMacroListLasItem::TWendMacroListLasItem(std::uint8_t code, std::string mnemonic, std::string name,
                                             std::string description)
    : TWendMacroListItem(2, mnemonic, std::move(name), std::move(description)), LineCode(code)
{
    SearchInfo1 = "las";
    SearchInfo2 = "2";
    SearchInfo3 = key_;
}

int TPredefinedMacroList::Fill(int kind)
{
    Items.clear();
    if (kind == 1) {
        const char* const system[][3] = {
            {"sdate", "Текущая дата", "Текущая дата"},
            {"stime", "Время", "Текущее время"},
            {"lasfile", "LAS файл", "Имя Las файла"},
            {"interval", "Интервал при распечатке", "Интервал при распечатке"},
            {"prntop", "Верхнее значение интервала", "Верхнее значение интервала"},
            {"prnbot", "Нижнее значение интервала", "Нижнее значение интервала"},
            {"prnscale", "Вертикальный масштаб", "Вертикальный масштаб при выводе"},
            {"progver", "Версия программы", "Информация о версии программы"},
            {"progmail", "Связь с разработчиком", "Адрес электронной почты разработчика"},
            {"progweb", "Сайт программы", "Сайт программы"},
            {"metGK", "МЕТКА: ГК", "МЕТКА: Точка записи ГК"},
            {"metPERF", "МЕТКА: Нижняя точка отверстия перфоратора", "МЕТКА: Нижняя точка отверстия перфоратора"},
            {"metPODOSHVA", "МЕТКА: Подошва интервала перфорации", "МЕТКА: Подошва интервала перфорации"},
            {"metKM", "МЕТКА: Контрольная метка", "МЕТКА: Глубина контрольной метки"},
            {"metDIST", "МЕТКА: Контрольная метка<->Основная метка",
             "МЕТКА: Расчет расстояния Контрольная метка<->Основная метка"},
        };
        for (const auto& m : system)
            Items.push_back(std::make_unique<TWendMacroListSystemItem>(m[0], m[1], m[2]));
    } else {
        struct Las {
            std::uint8_t code;
            const char* key;
            const char* name;
            const char* description;
        };
        const Las las[] = {
            {8, "STRT", "Старт", "Начало записи"},
            {9, "STOP", "Стоп", "Остановка записи"},
            {10, "STEP", "Шаг", "Шаг записи"},
            {11, "NULL", "Null", "Отсутствие значения"},
            {12, "COMP", "Компания", "Компания"},
            {13, "WELL", "Скважина", "Скважина"},
            {14, "FLD", "Площадь", "Площадь"},
            {15, "LOC", "Место", "Местонахождение"},
            {16, "PROV", "Провинция", "Провинция"},
            {19, "CTRY", "Страна", "Страна"},
            {20, "SRVC", "Исполнитель", "Исполнитель"},
            {21, "DATE", "Дата регистрации", "Дата каротажа"},
            {22, "UWI", "UWI", "UWI"},
            {23, "API", "API", "API"},
        };
        for (const Las& m : las)
            Items.push_back(std::make_unique<TWendMacroListLasItem>(m.code, m.key, m.name, m.description));
    }
    return static_cast<int>(Items.size());
}

int GetMacroKind(const TQ7CustomMacro&, const TQ7MacroRecord& record)
{
    if (record.SType <= 0)
        return 0;
    if (record.SearchInfo1 == "system")
        return 1;
    return record.SearchInfo1 == "las" ? 2 : 0;
}

int FindDuplicateKey(const TQ7CustomMacro& manager, int n, const std::string& key)
{
    const int count = manager.GetCount();
    if (n < 0 || n >= count)
        return -2;
    for (int i = 0; i < count; ++i) {
        if (i == n)
            continue;
        TQ7MacroRecord r;
        r.Mask = TQ7MacroRecord::MaskKey;
        if (manager.TQ7CustomMacro::GetMacro(i, r) && EqualIgnoringAsciiCase(r.Key, key))
            return i;
    }
    return -1;
}

void DeleteAllMacros(TQ7CustomMacro& manager)
{
    for (int n = manager.GetCount() - 1; n >= 0; --n)
        manager.DeleteMacro(n);
}

void RemovePredefinedMacros(TQ7CustomMacro& manager)
{
    for (int n = manager.GetCount() - 1; n >= 0; --n) {
        TQ7MacroRecord r;
        r.Mask = TQ7MacroRecord::MaskSType;
        if (manager.TQ7CustomMacro::GetMacro(n, r) && r.SType > 0)
            manager.DeleteMacro(n);
    }
}

void FillDefaultMacros(TQ7CustomMacro& manager)
{
    DeleteAllMacros(manager);
    TQ7MacroRecord user;
    user.Mask = TQ7MacroRecord::MaskAll;
    user.Key = "operator";
    user.Name = "Оператор";
    user.Description = "Оператор";
    user.Value = "?";
    manager.SetMacro(manager.AddMacro(), user);
    AppendList(manager, 1);
    AppendList(manager, 2);
}

void RestoreDefaultMacros(TQ7CustomMacro& manager)
{
    RemovePredefinedMacros(manager);
    AppendList(manager, 1);
    AppendList(manager, 2);
}

void CreateMacroManagerAt(const std::string& path)
{
    DeleteMacroManager();
    std::error_code error;
    const bool exists = std::filesystem::exists(path, error);
    auto manager = std::make_unique<TWendMacroManager>(path);
    manager->LasParser = CurrentDocument();
    if (!exists)
        FillDefaultMacros(*manager);
    MacroManager = manager.release();
}

std::string CreateMacroManager(const TSettingsFile* templatesIni, const std::string& templatesDir,
                               std::string* missing)
{
    const std::string standard = "Macros.mcr";
    std::string name = standard;
    if (templatesIni && templatesIni->ReadString("Macros", "FileName", name))
        name = platform::FileNameBytesFromStored(name);
    std::error_code error;
    const bool elsewhere = std::filesystem::path(name).is_absolute();
    // A file chosen outside the templates folder that is gone gives way to the standard one.
    if (elsewhere && !std::filesystem::exists(name, error)) {
        if (missing)
            *missing = name;
        name = standard;
    }
    CreateMacroManagerAt(std::filesystem::path(name).is_absolute() ? name : templatesDir + name);
    return name;
}

std::string MacroFileSetting(const std::string& path, const std::string& templatesDir)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path file(path);
    const bool inTemplates = fs::equivalent(file.parent_path(), fs::path(templatesDir), error) && !error;
    return inTemplates ? file.filename().string() : fs::absolute(file, error).lexically_normal().string();
}

bool DeleteMacroManager()
{
    if (!MacroManager)
        return true;
    const std::unique_ptr<TWendMacroManager> manager(MacroManager);
    MacroManager = nullptr;
    return manager->Save();
}

void SetMacroDocument(const TLasParser2Parser* parser)
{
    CurrentDocument() = parser;
    if (MacroManager)
        MacroManager->LasParser = parser;
}

void ForgetMacroDocument(const TLasParser2Parser* parser)
{
    if (CurrentDocument() == parser)
        SetMacroDocument(nullptr);
}
