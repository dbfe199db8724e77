#include "app/DlgSessions.h"

#include "app/StrativSession.h"
#include "platform/DialogRunner.h"
#include "platform/ErrorReport.h"
#include "platform/FileNames.h"
#include "platform/Help.h"
#include "platform/RussianTexts.h"
#include "ui_DlgSessions.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPixmap>

namespace {

constexpr int kPathRole = Qt::UserRole;

QString SessionPath(const QString& folder, const QString& name)
{
    return platform::FileInFolder(folder, name + QString::fromLatin1(StrativSession::kExtension));
}

} // namespace

TDlgSessions::TDlgSessions(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TDlgSessions>())
{
    ui->setupUi(this);
    connect(ui->BtnLoad, &QPushButton::clicked, this, platform::Guarded([this] { BtnLoadClick(); }));
    connect(ui->BtnSave, &QPushButton::clicked, this, platform::Guarded([this] { BtnSaveClick(); }));
    connect(ui->BtnDelete, &QPushButton::clicked, this, platform::Guarded([this] { BtnDeleteClick(); }));
    connect(ui->BtnClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->BtnHelp, &QPushButton::clicked, this, platform::Guarded([] { platform::ShowHelpTopic(kHelpTopic); }));
    connect(ui->ListSessions, &QTreeWidget::currentItemChanged, this, platform::Guarded([this] { ShowPreview(); }));
    connect(ui->ListSessions, &QTreeWidget::itemDoubleClicked, this, platform::Guarded([this] { BtnLoadClick(); }));
}

TDlgSessions::~TDlgSessions() = default;

bool TDlgSessions::Execute(const QString& sessionsDir, Actions actions)
{
    folder_ = sessionsDir;
    actions_ = std::move(actions);
    FillList();
    return platform::ExecDialog(*this) == QDialog::Accepted;
}

void TDlgSessions::FillList()
{
    ui->ListSessions->clear();
    // Newest first.
    const QFileInfoList files =
        QDir(folder_).entryInfoList({QStringLiteral("*.vxs")}, QDir::Files, QDir::Time);
    for (const QFileInfo& file : files) {
        auto* item = new QTreeWidgetItem(ui->ListSessions);
        item->setText(0, file.completeBaseName());
        item->setText(1, platform::DateTimeText(file.lastModified()));
        item->setData(0, kPathRole, file.absoluteFilePath());
    }
    if (ui->ListSessions->topLevelItemCount() > 0)
        ui->ListSessions->setCurrentItem(ui->ListSessions->topLevelItem(0));
    ui->BtnLoad->setEnabled(!files.isEmpty());
    ui->BtnDelete->setEnabled(!files.isEmpty());
    ui->BtnSave->setEnabled(!actions_.canSave || actions_.canSave());
    ShowPreview();
}

QString TDlgSessions::SelectedPath() const
{
    const QTreeWidgetItem* item = ui->ListSessions->currentItem();
    return item ? item->data(0, kPathRole).toString() : QString();
}

void TDlgSessions::ShowPreview()
{
    ui->ImagePreview->clear();
    const QString path = SelectedPath();
    StrativSession session;
    std::string error;
    if (path.isEmpty() || !session.Load(platform::FileNameToBytes(path), error))
        return;
    QPixmap preview;
    if (preview.loadFromData(reinterpret_cast<const uchar*>(session.PreviewPng.data()),
                             static_cast<uint>(session.PreviewPng.size()), "PNG"))
        ui->ImagePreview->setPixmap(preview.scaled(ui->ImagePreview->maximumSize(), Qt::KeepAspectRatio));
}

void TDlgSessions::BtnLoadClick()
{
    const QString path = SelectedPath();
    if (!path.isEmpty() && actions_.load && actions_.load(path))
        accept();
}

void TDlgSessions::BtnSaveClick()
{
    QString name = ui->ListSessions->currentItem() ? ui->ListSessions->currentItem()->text(0) : QString();
    if (!platform::InputQuery(QStringLiteral("Сохранить сессию"), QStringLiteral("Имя сессии:"), name))
        return;
    name = name.trimmed();
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\'))) {
        platform::MessageBox(this, QStringLiteral("Недопустимое имя сессии: '%1'").arg(name),
                             QStringLiteral("Ошибка"), platform::MB_OK | platform::MB_ICONERROR);
        return;
    }
    // Hidden files are not listed, and "last" is rewritten whenever the program closes.
    if (name.startsWith(QLatin1Char('.')) || name.compare(QLatin1String(kLastSessionName), Qt::CaseInsensitive) == 0) {
        platform::MessageBox(this,
                             name.startsWith(QLatin1Char('.'))
                                 ? QStringLiteral("Имя сессии не может начинаться с точки: '%1'").arg(name)
                                 : QStringLiteral("Имя '%1' зарезервировано для сессии, сохраняемой при выходе из "
                                                  "программы. Выберите другое имя.")
                                       .arg(name),
                             QStringLiteral("Ошибка"), platform::MB_OK | platform::MB_ICONERROR);
        return;
    }
    const QString path = SessionPath(folder_, name);
    if (platform::KindOfPath(path) != platform::PathKind::Missing &&
        platform::MessageBox(this, QStringLiteral("Сессия '%1' уже существует. Заменить?").arg(name),
                             QStringLiteral("Сохранить сессию"),
                             platform::MB_YESNO | platform::MB_ICONQUESTION) != platform::IDYES)
        return;
    if (actions_.save && actions_.save(path))
        FillList();
}

void TDlgSessions::BtnDeleteClick()
{
    const QString path = SelectedPath();
    if (path.isEmpty())
        return;
    const QString name = QFileInfo(path).completeBaseName();
    StrativSession session;
    std::string error;
    const bool readable = session.Load(platform::FileNameToBytes(path), error);
    const QString copy = readable ? platform::FileInFolder(folder_, platform::FileNameFromBytes(session.LasCopyName)) : QString();
    const QString document = actions_.documentFile ? actions_.documentFile() : QString();
    const bool copyIsOpen = readable && !document.isEmpty() && platform::SameFile(copy, document);
    QString question = QStringLiteral("Удалить сессию '%1'?").arg(name);
    if (copyIsOpen)
        question += QStringLiteral("\n\nОткрытый документ загружен из этой сессии. Он останется открытым, но не "
                                   "будет сохранен ни в одном файле: при сохранении нужно будет указать имя файла.");
    if (platform::MessageBox(this, question, QStringLiteral("Удалить"),
                             platform::MB_YESNO | platform::MB_ICONQUESTION) != platform::IDYES)
        return;
    if (copyIsOpen && actions_.detachDocument)
        actions_.detachDocument();
    if (readable)
        platform::RemoveFile(copy);
    if (!platform::RemoveFile(path))
        platform::MessageBox(this, QStringLiteral("Не удалось удалить файл %1").arg(platform::ShownFileName(path)), QStringLiteral("Ошибка"),
                             platform::MB_OK | platform::MB_ICONERROR);
    FillList();
}
