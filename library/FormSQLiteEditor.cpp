// SQLite editor: layout, opening a database file and its folder and field lists.
#include "library/FormSQLiteEditor.h"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <sqlite3.h>

#include "library/LibScanner.h"
#include "library/LibraryErrors.h"
#include "platform/DialogRunner.h"
#include "platform/FileNameList.h"
#include "platform/FileNames.h"

namespace {

template <class Control>
Control* Place(QWidget* parent, const char* name, const QString& text, int left, int top, int width, int height)
{
    auto* control = new Control(parent);
    control->setObjectName(QLatin1String(name));
    if constexpr (std::is_same_v<Control, QPlainTextEdit>)
        control->setPlainText(text);
    else if constexpr (!std::is_same_v<Control, QListWidget>)
        control->setText(text);
    control->setGeometry(left, top, width, height);
    return control;
}

} // namespace

TFormSQLiteEditor::TFormSQLiteEditor(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("TFormSQLiteEditor"));
    setWindowTitle(QStringLiteral("Редактор базы SQLite"));
    resize(696, 480);
    Place<QLabel>(this, "Label1", QStringLiteral("Версия SQLite:"), 12, 16, 110, 13);
    LabelVersion = Place<QLabel>(this, "LabelVersion", QString::fromUtf8(sqlite3_libversion()), 124, 16, 80, 13);
    Button1 = Place<QPushButton>(this, "Button1", QStringLiteral("Выбрать файл БД"), 12, 40, 179, 25);
    LabelDB = Place<QLabel>(this, "LabelDB", QStringLiteral("-"), 208, 44, 470, 13);
    Place<QLabel>(this, "Label2", QStringLiteral("Запрос:"), 28, 104, 60, 13);
    Memo1 = Place<QPlainTextEdit>(this, "Memo1", QString(), 100, 80, 381, 57);
    ButtonExecQuery = Place<QPushButton>(this, "ButtonExecQuery", QStringLiteral("Выполнить"), 540, 100, 75, 25);
    Place<QLabel>(this, "Label3", QStringLiteral("Пути поиска"), 20, 172, 82, 13);
    ButtonRescan = Place<QPushButton>(this, "ButtonRescan", QStringLiteral("Пересканировать"), 104, 168, 120, 25);
    ListBoxPaths = Place<QListWidget>(this, "ListBoxPaths", {}, 20, 204, 157, 173);
    ButtonAddPath = Place<QPushButton>(this, "ButtonAddPath", QStringLiteral("++"), 28, 396, 45, 25);
    ButtonDelPath = Place<QPushButton>(this, "ButtonDelPath", QStringLiteral("--"), 120, 396, 43, 25);
    Place<QLabel>(this, "Label4", QStringLiteral("Список площадей:"), 232, 172, 149, 13);
    ListBoxFields = Place<QListWidget>(this, "ListBoxFields", {}, 232, 200, 149, 177);
    const auto on = [this](QPushButton* button, auto handler) {
        connect(button, &QPushButton::clicked, this, [this, handler] { RunLibraryAction(this, handler); });
    };
    on(Button1, [this] { Button1Click(); });
    on(ButtonAddPath, [this] { ButtonAddPathClick(); });
    on(ButtonDelPath, [this] { ButtonDelPathClick(); });
    on(ButtonRescan, [this] { ButtonRescanClick(); });
}

TFormSQLiteEditor::~TFormSQLiteEditor() = default;

void TFormSQLiteEditor::Button1Click()
{
    LabelDB->clear();
    platform::FileDialogOptions options;
    options.title = QStringLiteral("Файл базы данных");
    const QString file = platform::GetOpenFileName(this, options);
    if (file.isEmpty())
        return;
    try {
        Manager.Open(platform::FileNameToBytes(file));
    } catch (...) {
        // A file that is no library database leaves nothing of the one shown before.
        ListBoxPaths->clear();
        ListBoxFields->clear();
        throw;
    }
    LabelDB->setText(file);
    RefreshFields();
    RefreshPaths();
}

void TFormSQLiteEditor::RefreshFields()
{
    ListBoxFields->clear();
    try {
        for (const std::string& value : Manager.SelectDistinctField())
            ListBoxFields->addItem(QString::fromStdString(value));
    } catch (const std::exception& error) {
        ListBoxFields->clear();
        platform::MessageBox(this,
                             QStringLiteral("Во время обновления списка площадей произошла ошибка:\n") +
                                 QString::fromUtf8(error.what()),
                             QStringLiteral("Ошибка"), platform::MB_OK | platform::MB_ICONINFORMATION);
    }
}

void TFormSQLiteEditor::RefreshPaths()
{
    ListBoxPaths->clear();
    RunLibraryAction(this, [this] {
        for (const std::string& path : Manager.GetLookupPaths())
            platform::AddFileNameItem(*ListBoxPaths, platform::FileNameFromBytes(path));
    });
}

void TFormSQLiteEditor::ButtonAddPathClick()
{
    platform::FileDialogOptions options;
    options.title = QStringLiteral("Каталог для сканирования");
    const QString folder = platform::GetExistingDirectory(this, options);
    bool added = true;
    if (!folder.isEmpty())
        RunLibraryAction(this, [&] { added = Manager.AddLookupPath(platform::FileNameToBytes(folder)); });
    if (!added)
        platform::MessageBox(this, QStringLiteral("Каталог уже есть в библиотеке:\n") + platform::ShownFileName(folder),
                             QStringLiteral("Каталог для сканирования"), platform::MB_OK | platform::MB_ICONINFORMATION);
    RefreshPaths();
}

void TFormSQLiteEditor::ButtonDelPathClick()
{
    const QListWidgetItem* item = ListBoxPaths->currentItem();
    if (!item)
        return;
    Manager.DeleteLookupPaths({platform::FileNameToBytes(platform::FileNameOfItem(*item))});
    RefreshPaths();
}

void TFormSQLiteEditor::ButtonRescanClick()
{
    if (RefuseScanWithoutLibrary(this, &Manager, QStringLiteral("Сканирование файлов")))
        return;
    TLibScanner scanner(&Manager);
    scanner.RunWithProgress(QStringLiteral("Сканирование файлов"));
    const std::string& failure = scanner.Failure();
    if (!failure.empty())
        platform::MessageBox(this, QStringLiteral("Сканирование прервано из-за ошибки:\n") + QString::fromStdString(failure),
                             QStringLiteral("Сканирование файлов"), platform::MB_OK | platform::MB_ICONERROR);
    else if (!scanner.Stopped())
        platform::MessageBox(this, QStringLiteral("Сканирование закончено!"), QStringLiteral("Сканирование файлов"),
                             platform::MB_OK | platform::MB_ICONINFORMATION);
}
