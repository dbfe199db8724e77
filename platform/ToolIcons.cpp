// Pictures of tool buttons, chosen by the command's object name so that every window shows the
// same picture for the same command.
#include "platform/ToolIcons.h"

#include <QAction>
#include <QActionEvent>
#include <QFile>
#include <QHash>
#include <QStandardPaths>
#include <QToolBar>

static void InitToolIconResources() { Q_INIT_RESOURCE(toolicons); }

namespace platform {

namespace {

// The theme installed with the program, used where the desktop names none or lacks an icon.
const QString kBundledTheme = QStringLiteral("Adwaita");

// Command names and their pictures: freedesktop names come from the icon theme, the others are
// the program's own (":/tools/<name>.svg").
const QHash<QString, QString>& IconNames()
{
    static const QHash<QString, QString> names{
        {"TBOpen", "document-open"},
        {"TBFileOpen", "document-open"},
        {"TBSelectTempl", "document-open"},
        {"TBSave", "document-save"},
        {"TBFileSave", "document-save"},
        {"TBSaveTemplate", "document-save"},
        {"TBLoadLastTemplate", "document-revert"},
        {"TBPrint", "document-print"},
        {"TBExport", "document-send"},
        {"TBClose", "window-close"},
        {"TBUndo", "edit-undo"},
        {"TBRedo", "edit-redo"},
        {"TBInfo", "dialog-information"},
        {"TBHelp", "help-contents"},
        {"TBContents", "go-home"},
        {"TBBack", "go-previous"},
        {"TBForward", "go-next"},
        {"TBCalculations", "accessories-calculator"},
        {"TBZoomPagein", "zoom-in"},
        {"TBZoomPageOut", "zoom-out"},
        {"TBZoomPageFit", "zoom-original"},
        {"TBBold", "format-text-bold"},
        {"TBItalic", "format-text-italic"},
        {"TBUnderline", "format-text-underline"},
        {"TBAlignLeft", "format-justify-left"},
        {"TBAlignCenter", "format-justify-center"},
        {"TBAlignRight", "format-justify-right"},
        {"TBFont", "preferences-desktop-font"},
        {"TBShiftCurve", "curve-drag"},
        {"TBPencil", "curve-pencil"},
        {"TBPencilLine", "curve-line"},
        {"TBZoomIn", "curve-stretch"},
        {"TBZoomOut", "curve-compress"},
        {"TBZoomSquare", "curve-magnifier"},
        {"TBZoomSquareVert", "curve-magnifier-depth"},
        {"TBAssignHorzScale", "curve-scale-match"},
        {"TBPutBoundary", "curve-interval"},
        {"TBJoinCurves", "curve-join"},
        {"TBCutCurveTop", "curve-cut-top"},
        {"TBCutCurveBottom", "curve-cut-bottom"},
        {"TBCurveBinding", "curve-bind"},
        {"TBBindCurveSemiAuto", "curve-bind-semiauto"},
        {"TBAutomaticCurveBinding", "curve-bind-auto"},
        {"TBDeptShiftGroup", "curve-shift-manual"},
        {"TBShiftDept", "curve-shift-typed"},
        {"TBAntiAlias", "curve-smooth-spectrum"},
        {"TBAntiAliasByPoints", "curve-smooth-points"},
        {"TBAAByPoints", "curve-smooth-points"},
        {"TBMetka", "curve-marker"},
        {"TBShiftAmplitude", "curve-shift-values"},
        {"TBMultAmplitude", "curve-multiply-values"},
        {"TBAddColumn", "column-add"},
        {"TBAddCol", "column-add"},
        {"TBInsertCol", "column-insert"},
        {"TBDelColumn", "column-remove"},
        {"TBRemoveCol", "column-remove"},
        {"TBAddRow", "row-add"},
        {"TBInsertRow", "row-insert"},
        {"TBRemoveRow", "row-remove"},
        {"TBFillColor", "cell-fill"},
        {"TBBorderAll", "border-all"},
        {"TBBorderNone", "border-none"},
        {"TBBorderLeft", "border-left"},
        {"TBBorderRight", "border-right"},
        {"TBBorderTop", "border-top"},
        {"TBBorderBottom", "border-bottom"},
    };
    return names;
}

void PrepareIcons()
{
    static const bool prepared = [] {
        InitToolIconResources();
        // Some platforms (offscreen, minimal) search no freedesktop folder of their own.
        QStringList paths = QIcon::themeSearchPaths();
        for (const QString& dir : QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("icons"),
                                                           QStandardPaths::LocateDirectory))
            if (!paths.contains(dir))
                paths << dir;
        QIcon::setThemeSearchPaths(paths);
        const QString desktop = QIcon::themeName();
        if (desktop.isEmpty() || desktop == QStringLiteral("hicolor"))
            QIcon::setThemeName(kBundledTheme);
        QIcon::setFallbackThemeName(kBundledTheme);
        return true;
    }();
    (void)prepared;
}

void GiveIcon(QAction& action)
{
    if (!action.icon().isNull())
        return;
    action.setIcon(ToolIcon(action.objectName()));
    action.setIconVisibleInMenu(false);
}

// Gives the commands added to a bar after its set-up their pictures as well.
class IconGiver : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ActionAdded)
            GiveIcon(*static_cast<QActionEvent*>(event)->action());
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

QIcon ToolIcon(const QString& actionName)
{
    PrepareIcons();
    const QString name = IconNames().value(actionName);
    if (name.isEmpty())
        return {};
    const QString own = QStringLiteral(":/tools/") + name + QStringLiteral(".svg");
    return QFile::exists(own) ? QIcon(own) : QIcon::fromTheme(name);
}

void ShowToolIcons(QToolBar& bar)
{
    bar.setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (QAction* action : bar.actions())
        GiveIcon(*action);
    bar.installEventFilter(new IconGiver(&bar));
}

}  // namespace platform
