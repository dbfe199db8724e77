// Values of the print-title variables and the sources that feed them.
#pragma once

#include <QString>
#include <functional>

using TDepthSource = std::function<float()>;
using TScaleSource = std::function<int()>;
using TMarkValueSource = std::function<float(int code)>;
using TDocumentNameSource = std::function<QString()>;

// The value of a print-title variable by exact name; "" for an unknown name or a variable
// whose source is not set.
QString GetTemplateVariableValue(const QString& name);

// Printed top and bottom depth and the scale denominator ("interval", "prnscale").
void SetPrintValueSources(TDepthSource top, TDepthSource bottom, TScaleSource scale);
void ClearPrintValueSources();
// Marker values by code: 1 gamma-log point, 2 perforator point, 3 control mark,
// 4 perforation bottom, 5 distance ("met..." variables). Null clears it.
void SetMarkValueSource(TMarkValueSource source);
// The program's version and contact addresses ("progver", "progmail", "progweb"); set by the
// main window, "" before.
void SetProgramValues(const QString& version, const QString& mail, const QString& web);
// Full path of the loaded document, "" without one ("lasfile"); set by the main window.
void SetDocumentNameSource(TDocumentNameSource source);
QString DocumentPath();
// Where the user's files made from the document go by default (the PDF's name and folder, the
// start folder of the file dialogs); the document's path unless set by the main window.
void SetDocumentPlaceSource(TDocumentNameSource source);
QString DocumentPlace();
// The folder the file dialogs of printing start in: the document place's, else `otherwise`.
QString StartFolder(const QString& otherwise = QString());
