// What a save writes, and what a file already at its target holds: no save writes over a file of
// another kind, the open document above all, without a question that names it.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace platform {

enum class FileKind {
    Unchecked,  // the save asks only whether to replace
    Las,  // a section ('~') after any blank and comment ('#') lines; UTF-8, a one-byte code page or UTF-16
    CurveTemplate,
    TitleTemplate,
    MacroFile,
    Pdf,
    Emf,
    Picture,
    Text,  // a report
};

// The path of the document open in the program; empty when none (the main window sets it).
void SetOpenDocumentSource(std::function<QString()> source);

// What the file at `path` is, in words for the user, when a save of `kind` would write over
// something else: the open document or a file of a kind the program knows. Empty when the
// file is missing, empty, of `kind` or not recognised.
QString OtherKindAt(const QString& path, FileKind kind);

// Asks whether a save of `kind` may write over the file at `path` when it holds something
// else (OtherKindAt); true when nothing needs asking or the user said yes.
bool MayWriteOver(QWidget* owner, const QString& path, FileKind kind, const QString& title);

}  // namespace platform
