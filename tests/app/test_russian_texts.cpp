// Every text the program's windows show is Russian: no Latin-only word, no Latin letter inside a
// Cyrillic word, names of curves, units, file formats and expression functions aside.
#include "tests/app/AppTestSupport.h"

#include "app/StrativApplication.h"
#include "datawin/LasEditor.h"
#include "library/LasBrowser.h"
#include "platform/Printer.h"
#include "view/NumberInput.h"
#include "ui_MainUnit.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextDocumentFragment>
#include <QTimer>
#include <QTranslator>
#include <QTreeWidget>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace strativ::test {
namespace {

// Names a user reads as they are written: file formats, header mnemonics and units, the curve of
// the test file, the program's own name, code pages.
const QStringList kLatinNames = {"OK",  "LAS",  "Las",  "EMF", "PDF", "TXT", "HTML", "SQLite",
                                 "UWI", "NULL", "Null", "API", "GR",  "Strativ", "CP1251", "CP866"};
// Labels that show what the system reports, as it reports it.
const QStringList kDataLabels = {"OSInfo"};

// The words of the text that are not Russian. A lower-case word in parentheses names what the
// user types into an expression, as "Синус (sin)".
QStringList ForeignWords(QString text)
{
    static const QRegularExpression typedName(QStringLiteral("\\([a-z_0-9\\[\\]]+\\)"));
    static const QRegularExpression word(QStringLiteral("\\w+"), QRegularExpression::UseUnicodePropertiesOption);
    QStringList foreign;
    for (auto it = word.globalMatch(text.remove(typedName)); it.hasNext();) {
        const QString w = it.next().captured();
        const auto latin = std::count_if(w.begin(), w.end(), [](QChar c) { return c.isLetter() && c.unicode() < 0x250; });
        const bool cyrillic = std::any_of(w.begin(), w.end(), [](QChar c) { return c.script() == QChar::Script_Cyrillic; });
        if ((latin > 0 && cyrillic) || (latin >= 2 && !kLatinNames.contains(w)))
            foreign << w;
    }
    return foreign;
}

// The text without markup, accelerator marks and file paths.
QString Plain(const QString& text)
{
    QString plain = Qt::mightBeRichText(text) ? QTextDocumentFragment::fromHtml(text).toPlainText() : text;
    static const QRegularExpression path(QStringLiteral("/\\S*"));
    return plain.remove('&').remove(path);
}

// Every caption, label, button, entry, header and tool tip of the widget and its actions.
QStringList ShownTexts(QWidget& w)
{
    if (kDataLabels.contains(w.objectName()))
        return {};
    QStringList texts{w.toolTip()};
    if (w.isWindow())
        texts << w.windowTitle();
    if (auto* label = qobject_cast<QLabel*>(&w))
        texts << label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(&w))
        texts << button->text();
    if (auto* box = qobject_cast<QGroupBox*>(&w))
        texts << box->title();
    if (auto* edit = qobject_cast<QLineEdit*>(&w))
        texts << edit->placeholderText();
    if (auto* menu = qobject_cast<QMenu*>(&w))
        texts << menu->title();
    if (auto* tabs = qobject_cast<QTabWidget*>(&w))
        for (int i = 0; i < tabs->count(); ++i)
            texts << tabs->tabText(i) << tabs->tabToolTip(i);
    if (auto* combo = qobject_cast<QComboBox*>(&w); combo && !combo->isEditable())
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
    if (auto* list = qobject_cast<QListWidget*>(&w))
        for (int i = 0; i < list->count(); ++i)
            texts << list->item(i)->text();
    if (auto* tree = qobject_cast<QTreeWidget*>(&w); tree && !tree->isHeaderHidden())
        for (int i = 0; i < tree->columnCount(); ++i)
            texts << tree->headerItem()->text(i);
    if (auto* table = qobject_cast<QTableWidget*>(&w))
        for (int i = 0; i < table->columnCount(); ++i)
            if (table->horizontalHeaderItem(i) && !table->horizontalHeader()->isHidden())
                texts << table->horizontalHeaderItem(i)->text();
    for (QAction* action : w.actions())
        texts << action->text() << action->toolTip();
    return texts;
}

// The string literals of the program's sources that a message box, an input prompt or a file
// dialog shows: those in the arguments of the calls that show them, and every file-dialog filter
// (a literal holding "(*."), each with its file and line.
QStringList DialogLiterals()
{
    static const QRegularExpression call(QStringLiteral(
        "\\b(\\w*MessageBox|ShowMessage|\\w*Error|Warn\\w*|InputQuery|InputBox|InputNumberBoxEx?)\\s*\\("));
    static const QRegularExpression literal(QStringLiteral("\"((?:[^\"\\\\\\n]|\\\\.)*)\""));
    QStringList found;
    for (const char* folder : {"app", "editing", "datawin", "printing", "library", "platform", "view"})
        for (const auto& entry : std::filesystem::directory_iterator(std::string(STRATIV_SOURCE_DIR) + "/" + folder)) {
            if (entry.path().extension() != ".cpp")
                continue;
            std::ifstream in(entry.path());
            std::stringstream bytes;
            bytes << in.rdbuf();
            const QString source = QString::fromStdString(bytes.str());
            const auto add = [&](qsizetype from, qsizetype to) {
                for (auto it = literal.globalMatch(source.mid(from, to - from)); it.hasNext();) {
                    const QString text = it.next().captured(1).replace("\\n", "\n").replace("\\\"", "\"");
                    found << QString::fromStdString(entry.path().filename().string()) + ":" +
                                 QString::number(source.left(from).count('\n') + 1) + ": " + text;
                }
            };
            for (auto it = call.globalMatch(source); it.hasNext();) {
                const auto match = it.next();
                // The arguments: up to the parenthesis that closes the call, literals skipped.
                qsizetype end = match.capturedEnd();
                bool quoted = false;
                for (int depth = 1; end < source.size() && depth > 0; ++end) {
                    const QChar c = source[end];
                    if (quoted && c == '\\')
                        ++end;
                    else if (c == '"')
                        quoted = !quoted;
                    else if (!quoted)
                        depth += c == '(' ? 1 : c == ')' ? -1 : 0;
                }
                add(match.capturedStart(), end);
            }
            for (auto it = literal.globalMatch(source); it.hasNext();)
                if (const auto match = it.next(); match.captured(1).contains("(*."))
                    add(match.capturedStart(), match.capturedEnd());
        }
    return found;
}

class RussianTexts : public MainWindowTest {};

// The texts of every window shown while `show` runs through the program's own dialog runner,
// each window closed as soon as it is read; a file dialog's rows count with their columns but
// the name.
QStringList TextsOfDialogsShownBy(const std::function<void()>& show)
{
    QStringList texts;
    QTimer reader;
    QObject::connect(&reader, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        QList<QWidget*> widgets = dialog->findChildren<QWidget*>();
        widgets << dialog;
        for (QWidget* w : widgets)
            texts << ShownTexts(*w);
        for (QAbstractItemView* view : dialog->findChildren<QAbstractItemView*>())
            for (int row = 0; view->model() && row < view->model()->rowCount(view->rootIndex()); ++row)
                for (int column = 1; column < view->model()->columnCount(view->rootIndex()); ++column)
                    texts << view->model()->index(row, column, view->rootIndex()).data().toString();
        for (QHeaderView* header : dialog->findChildren<QHeaderView*>())
            for (int section = 0; header->model() && section < header->count(); ++section)
                texts << header->model()->headerData(section, header->orientation()).toString();
        dialog->reject();
    });
    reader.start(300);  // a file dialog fills its rows from a thread of its own
    show();
    return texts;
}

TEST(RussianDialogTexts, DialogsShownOnDemandSpeakRussian)
{
    QTranslator* translator = InstallQtTranslations(*QCoreApplication::instance());
    ASSERT_NE(translator, nullptr);
    TempDir dir;
    for (const char* name : {"a.las", "b.txt", "c.pdf", "d"})
        std::ofstream(dir.file(name)) << "1";
    std::filesystem::create_directory(dir.file("folder"));
    const std::pair<const char*, std::function<void()>> windows[] = {
        {"message", [] { platform::MessageBox(nullptr, "Текст", "Заголовок", platform::MB_YESNOCANCEL); }},
        {"text", [] { QString value; platform::InputQuery("Заголовок", "Текст", value); }},
        // A box of its own: the one made for a caller without a main window would outlive the test.
        {"number", [] { TNumberInputBox box; InputNumberBox(2, "Заголовок", 0, 10, 5); }},
        {"colour", [] { std::uint32_t colour = 0; platform::ChooseColor(nullptr, colour); }},
        {"files", [&] { platform::GetOpenFileName(nullptr, platform::FileDialogOptions::StartingAt(
                                                               QString::fromStdString(dir.file("a.las")))); }},
        {"printer", [] { platform::RunPrinterDialog(platform::CurrentPrinter(), nullptr); }},
    };
    for (const auto& [window, show] : windows) {
        const QStringList texts = TextsOfDialogsShownBy(show);
        EXPECT_FALSE(texts.isEmpty()) << window;
        QStringList faults;
        for (const QString& text : texts)
            if (const QStringList foreign = ForeignWords(Plain(text)); !foreign.isEmpty())
                faults << "\"" + text + "\" (" + foreign.join(", ") + ")";
        faults.removeDuplicates();
        EXPECT_TRUE(faults.isEmpty()) << window << ":\n" << faults.join("\n").toStdString();
    }
    QCoreApplication::removeTranslator(translator);
    delete translator;
}

// Every message box, input prompt and file-dialog filter the program's sources show.
TEST(RussianDialogTexts, MessagesPromptsAndFiltersSpeakRussian)
{
    // File patterns and extensions are names.
    static const QRegularExpression patterns(QStringLiteral("\\(\\*[^)]*\\)|\\.[a-z]{2,4}\\b"));
    const QStringList literals = DialogLiterals();
    EXPECT_GT(literals.size(), 300);
    QStringList faults;
    for (const QString& place : literals) {
        QString text = place.section(": ", 1, -1);
        if (const QStringList foreign = ForeignWords(Plain(text.remove(patterns))); !foreign.isEmpty())
            faults << place + " (" + foreign.join(", ") + ")";
    }
    EXPECT_TRUE(faults.isEmpty()) << faults.join("\n").toStdString();
}

TEST_F(RussianTexts, EveryWindowSpeaksRussian)
{
    QTranslator* translator = InstallQtTranslations(*QCoreApplication::instance());
    ASSERT_NE(translator, nullptr);
    const std::string las = dir.file("w.las");
    std::ofstream(las) << "~V\n VERS. 2.0 :\n WRAP. NO :\n~W\n STRT.M 1 :\n STOP.M 2 :\n STEP.M 1 :\n"
                          " NULL. -999.25 :\n~C\n DEPT.M :\n GR.API :\n~A\n1 5\n2 6\n";
    ASSERT_TRUE(Open(las));
    window->ListCurveNames->setCurrentRow(0);
    window->PMenuCurvesPopup(true, window->ListCurveNames->mapToGlobal(QPoint(5, 5)));
    window->MICurveToWindow->trigger();
    window->PMenuCurves->hide();
    ASSERT_EQ(window->SingleWindows.Count(), 1);
    window->findChild<QAction*>("MILasBrowse")->trigger();
    window->FormEditor->show();
    QFileDialog files(window.get());
    files.setOption(QFileDialog::DontUseNativeDialog);
    QColorDialog colors(window.get());

    QStringList faults;
    for (QWidget* w : QApplication::allWidgets())
        for (const QString& text : ShownTexts(*w))
            if (const QStringList foreign = ForeignWords(Plain(text)); !foreign.isEmpty())
                faults << w->window()->objectName() + "/" + w->objectName() + ": \"" + text + "\" (" +
                              foreign.join(", ") + ")";
    faults.removeDuplicates();
    EXPECT_TRUE(faults.isEmpty()) << faults.join("\n").toStdString();
    QCoreApplication::removeTranslator(translator);
    delete translator;
}

}  // namespace
}  // namespace strativ::test
