// The plain-text page of the LAS editor: code pages, saving, its questions, find and replace.
#include "ui_LasEditor.h"
#include "ui_SaveToLas.h"
#include "ui_TextFind.h"

#include "DataWinTestSupport.h"
#include "core/CodePages.h"
#include "datawin/TextFind.h"
#include "platform/FileErrors.h"

#include <filesystem>

namespace strativ::test {
namespace {

class LasEditorTextTest : public LasEditorTest {
protected:
    void SetUp() override
    {
        LasEditorTest::SetUp();
        Form().PageControl->setCurrentIndex(1);
    }
    QPlainTextEdit& Memo() const { return *Form().Memo; }
    std::string Selected() const { return Memo().textCursor().selectedText().toStdString(); }
    void Modify() { Memo().appendPlainText("# edited"); }
};

// Unedited text comes back byte for byte: its code (UTF-16 found with or without its byte order
// mark), byte order mark, line ends and the CP866 no-break space (0xFF); UTF-16 that is not text
// is refused with the reason.
TEST_F(LasEditorTextTest, TextsOfEachCodeAreShownAndWrittenBackInTheirOwnCode)
{
    const std::string text = "~Version\r\n VERS. 2.0 : Пласт №1\r\n~Well\r\n WELL. Скв-7 : СКВАЖИНА\r\n";
    const std::string lf = "~Version\n VERS. 2.0 : Пласт №1\xC2\xA0(2)\n~Well\n WELL. Скв-7\n";
    const std::string mixed = "~Version\r VERS. 2.0 : Пласт №1\n~Well\r\n WELL. Скв-7";
    const std::string bom = "\xEF\xBB\xBF";
    for (const auto& [name, bytes] :
         {std::pair{"oem.las", AnsiToOemString(text)}, std::pair{"utf8.las", text},
          std::pair{"ansi.las", Utf8ToCp1251(text)}, std::pair{"lf.las", AnsiToOemString(lf)},
          std::pair{"mixed.las", mixed}, std::pair{"bom.las", bom + mixed},
          std::pair{"bomansi.las", bom + Utf8ToCp1251(text)}, std::pair{"utf16.las", Utf16Bytes(text, false, true)},
          std::pair{"utf16nomark.las", Utf16Bytes(lf, false, false)},
          std::pair{"utf16be.las", Utf16Bytes(mixed, true, true)},
          std::pair{"utf16benomark.las", Utf16Bytes(text, true, false)}}) {
        Write(name, bytes);
        Pick(name);
        EXPECT_TRUE(Memo().toPlainText().contains("Пласт №1")) << name;
        EXPECT_FALSE(editor->IsTextModified());
        const std::string target = dir.file(std::string("out_") + name);
        runner->PushFiles({QString::fromStdString(target)});
        EXPECT_TRUE(editor->WriteText());
        EXPECT_EQ(runner->Last().file.title, "Сохранить файл как");
        EXPECT_EQ(runner->Last().file.fileName.toStdString(), name);
        EXPECT_EQ(ReadFileBytes(target), bytes) << name;
    }
    // An edited text keeps the file's line ends.
    Pick("lf.las");
    QTextCursor start(Memo().document());
    start.insertText("# edited\n");
    const std::string target = dir.file("out_edited.las");
    runner->PushFiles({QString::fromStdString(target)});
    EXPECT_TRUE(editor->WriteText());
    EXPECT_EQ(ReadFileBytes(target), "# edited\n" + AnsiToOemString(lf));

    const std::string broken = Write("broken.las", Utf16Bytes(text, false, true) + "\x0A");
    runner->Clear();
    runner->Push(platform::IDNO);  // the edited text is dropped
    Pick("broken.las");
    EXPECT_EQ(Messages(), "Подтверждение сохранения изменений|Сохранить изменения в файле?\n"
                          "Ошибка|Не удалось загрузить файл\n" + broken +
                              "\nФайл в кодировке UTF-16 содержит байты, которые не являются текстом (строка 5)");
    EXPECT_TRUE(Memo().toPlainText().isEmpty());
}

TEST_F(LasEditorTextTest, SaveRefusesCharactersTheCodeCannotHoldAndReportsAFailedWrite)
{
    Write("a.las", AnsiToOemString("~Version\r\n VERS. 2.0 : Пласт\r\n"));
    Pick("a.las");
    Memo().appendPlainText("€ 5");
    const std::string target = dir.file("out.las");
    runner->PushFiles({QString::fromStdString(target)});
    EXPECT_FALSE(editor->WriteText());
    EXPECT_EQ(Messages(), "Ошибка|Текст не записан: символ '€' в строке 4 нельзя записать в кодировке файла (CP866)");
    EXPECT_FALSE(std::filesystem::exists(target));
    EXPECT_TRUE(Memo().toPlainText().contains("€ 5"));

    Memo().undo();
    runner->Clear();
    const std::string unwritable = dir.file("missing/out.las");
    runner->PushFiles({QString::fromStdString(unwritable)});
    EXPECT_FALSE(editor->WriteText());
    EXPECT_EQ(Messages(), "Ошибка|" + platform::WriteFailureText(QString::fromStdString(unwritable)).toStdString());

    // A text of one line is not written, and nothing is lost.
    Memo().setPlainText("one line");
    runner->Clear();
    EXPECT_FALSE(editor->WriteText());
    EXPECT_TRUE(runner->Requests().empty());
    EXPECT_EQ(Memo().toPlainText(), "one line");
}

TEST_F(LasEditorTextTest, ChangedTextIsAskedForBeforeItIsDropped)
{
    Write("a.las", "~Version\n VERS. 2.0 :\n");
    Write("b.las", "~Version\n VERS. 1.2 :\n");
    Pick("a.las");
    Modify();
    // Cancel, and Yes with the save dialog cancelled, keep the page and the text.
    runner->Push(platform::IDCANCEL);
    Form().PageControl->setCurrentIndex(0);
    EXPECT_EQ(Messages(), "Подтверждение сохранения изменений|Сохранить изменения в файле?");
    runner->Push(platform::IDYES);
    runner->PushCancel();
    Form().PageControl->setCurrentIndex(0);
    EXPECT_EQ(Form().PageControl->currentIndex(), 1);
    EXPECT_TRUE(editor->IsTextModified());
    // Another file is not loaded over the changed text without the question.
    runner->Push(platform::IDCANCEL);
    Pick("b.las");
    EXPECT_TRUE(Memo().toPlainText().contains("# edited"));
    EXPECT_EQ(Form().FileListBox->currentItem()->text(), "a.las");

    // Yes that writes: the text stays modified, so closing the window asks again.
    const std::string target = dir.file("saved.las");
    runner->Push(platform::IDYES);
    runner->PushFiles({QString::fromStdString(target)});
    EXPECT_TRUE(editor->AskSaveText() == platform::IDYES);
    EXPECT_TRUE(std::filesystem::exists(target));
    EXPECT_TRUE(editor->IsTextModified());
    runner->Push(platform::IDCANCEL);
    EXPECT_FALSE(editor->close());
    runner->Push(platform::IDNO);
    EXPECT_TRUE(editor->close());
    EXPECT_TRUE(Memo().toPlainText().isEmpty());

    // Leaving the page with No empties it; picking the same file again still does nothing.
    editor->show();
    Pick("b.las");
    Modify();
    runner->Push(platform::IDNO);
    Form().PageControl->setCurrentIndex(0);
    EXPECT_EQ(Form().PageControl->currentIndex(), 0);
    EXPECT_TRUE(Memo().toPlainText().isEmpty());
}

TEST_F(LasEditorTextTest, FindAndReplaceRunBothWays)
{
    Write("a.las", "abc ABC x\nabc abcd\n");
    Pick("a.las");
    TFormTextFind& find = editor->TextFindDialog();
    editor->MISReplace->trigger();
    ASSERT_TRUE(find.isVisible());
    find.Form().EditFind->setText("abc");
    find.Form().CheckMatchCase->setChecked(true);
    find.Form().CheckWholeWord->setChecked(true);
    find.Form().ButtonFindNext->click();
    EXPECT_EQ(Memo().textCursor().selectionStart(), 0);
    find.Form().ButtonFindNext->click();
    EXPECT_EQ(Memo().textCursor().selectionStart(), 10);  // "ABC" and "abcd" are no hits
    runner->Clear();
    find.Form().ButtonFindNext->click();
    EXPECT_EQ(Messages(), platform::ApplicationTitle().toStdString() + "|Поиск в документе закончен");
    find.Form().RadioUp->setChecked(true);
    find.Form().ButtonFindNext->click();
    EXPECT_EQ(Memo().textCursor().selectionStart(), 0);

    // A selection that is no hit is not replaced: the next hit is.
    find.Form().RadioDown->setChecked(true);
    find.Form().EditReplace->setText("xyz");
    QTextCursor cursor = Memo().textCursor();
    cursor.setPosition(4);
    cursor.setPosition(7, QTextCursor::KeepAnchor);  // "ABC"
    Memo().setTextCursor(cursor);
    find.Form().ButtonReplace->click();
    EXPECT_EQ(Memo().toPlainText(), "abc ABC x\nxyz abcd\n");
    Memo().undo();
    EXPECT_EQ(Memo().toPlainText(), "abc ABC x\nabc abcd\n");

    // Replace all with a replacement holding the search text ends, in either direction.
    for (QRadioButton* direction : {find.Form().RadioDown, find.Form().RadioUp}) {
        Memo().setPlainText("abc ABC x\nabc abcd\n");
        direction->setChecked(true);
        QTextCursor start = Memo().textCursor();
        start.movePosition(direction == find.Form().RadioDown ? QTextCursor::Start : QTextCursor::End);
        Memo().setTextCursor(start);
        find.Form().CheckWholeWord->setChecked(false);
        find.Form().EditReplace->setText("abcabc");
        runner->Clear();
        find.Form().ButtonReplaceAll->click();
        EXPECT_EQ(Memo().toPlainText(), "abcabc ABC x\nabcabc abcabcd\n");
        EXPECT_EQ(Messages(), platform::ApplicationTitle().toStdString() + "|Операция замены завершена");
    }
}

}  // namespace
}  // namespace strativ::test
