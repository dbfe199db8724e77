// Building the header tree, its section captions and node pictures.
#include "library/LasTreeViewManage.h"

#include <QTreeWidget>

#include "core/LasParser2.h"
#include "core/StringUtils.h"

// Pulls the pictures of the static library into the program (outside any namespace, as Qt needs).
static void InitLasTreeResources()
{
    Q_INIT_RESOURCE(lasicons);
}

namespace {

// Node data: what the node stands for, and its picture.
constexpr int kSectionRole = Qt::UserRole;
constexpr int kLineRole = Qt::UserRole + 1;
constexpr int kImageRole = Qt::UserRole + 2;

const char* const kImageNames[TLasTreeViewManage::ImageCount] = {
    "LTV_BM_I", "LTV_BM_W",     "LTV_BM_CURVES", "LTV_BM_V",         "LTV_BM_P",      "LTV_BM_Q",
    "LTV_BM_START", "LTV_BM_STOP", "LTV_BM_STEP", "LTV_BM_CURVEBLUE", "LTV_BM_COMMENT"};

int SectionImage(int kind)
{
    switch (kind) {
    case kSectionVersion: return TLasTreeViewManage::ImgVersion;
    case kSectionWell: return TLasTreeViewManage::ImgWell;
    case kSectionCurve: return TLasTreeViewManage::ImgCurves;
    case kSectionParameter: return TLasTreeViewManage::ImgParameters;
    default: return TLasTreeViewManage::ImgOther;
    }
}

int LineImage(int code)
{
    switch (code) {
    case kLineComment: return TLasTreeViewManage::ImgComment;
    case kLineCurve: return TLasTreeViewManage::ImgCurve;
    case kLineStrt: return TLasTreeViewManage::ImgStart;
    case kLineStop: return TLasTreeViewManage::ImgStop;
    case kLineStep: return TLasTreeViewManage::ImgStep;
    default: return -1;
    }
}

template <class T>
const T* PointerData(const QTreeWidgetItem* node, int role)
{
    return node ? static_cast<const T*>(node->data(0, role).value<const void*>()) : nullptr;
}

} // namespace

TLasTreeViewManage::TLasTreeViewManage()
{
    InitLasTreeResources();
    for (const char* name : kImageNames)
        images_.emplace_back(QStringLiteral(":/lastree/icons/%1.xpm").arg(QLatin1String(name)));
}

TLasTreeViewManage::~TLasTreeViewManage() = default;

void TLasTreeViewManage::AttachTreeView(QTreeWidget* tree)
{
    tree_ = tree;
    if (tree_)
        tree_->setIconSize(QSize(16, 16));
}

std::string TLasTreeViewManage::SectionCaption(const TLasParsSection& section)
{
    switch (section.GetKind()) {
    case kSectionNone: return "Не определено";
    case kSectionVersion: return "Версия";
    case kSectionWell: return "Исследование";
    case kSectionCurve: return "Кривые";
    case kSectionParameter: return "Параметры";
    case kSectionOther: return "Разное";
    case kSectionData: return "Данные";
    default: return section.GetName();
    }
}

void TLasTreeViewManage::SetHeader(const TLasParser2Header* header)
{
    header_ = header;
    sections_.clear();
    if (!header_) {
        if (tree_)
            tree_->clear();
        return;
    }
    for (int i = 0; i < header_->GetSectionCount(); ++i) {
        const TLasParsSection* section = header_->GetSection(i);
        TLasTreeViewSection entry;
        entry.Caption = section->GetKind() == kSectionCustom ? header_->Decode(section->GetName())
                                                             : SectionCaption(*section);
        entry.Section = section;
        sections_.push_back(std::move(entry));
    }
}

void TLasTreeViewManage::SetMode(int mode)
{
    mode_ = mode;
    if (!header_)
        return;
    for (TLasTreeViewSection& entry : sections_) {
        const int kind = entry.Section->GetKind();
        if (mode == 0)
            entry.Visible = true;
        else if (mode == 1)
            entry.Visible = kind != kSectionNone && kind != kSectionCustom;
        else if (mode == 2)
            entry.Visible = kind == kSectionWell || kind == kSectionCurve || kind == kSectionData;
    }
    Rebuild();
}

QTreeWidgetItem* TLasTreeViewManage::AddNode(QTreeWidgetItem* parent, const QString& caption,
                                             int image)
{
    auto* node = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree_);
    node->setText(0, caption);
    node->setData(0, kImageRole, image);
    if (image >= 0)
        node->setIcon(0, images_[static_cast<size_t>(image)]);
    return node;
}

void TLasTreeViewManage::Rebuild()
{
    if (!tree_)
        return;
    tree_->clear();
    if (sections_.empty())
        return;
    QTreeWidgetItem* root = AddNode(
        nullptr, QString::fromStdString(ExtractNamePart(header_->FileName.View())), ImgFile);
    for (const TLasTreeViewSection& entry : sections_) {
        if (!entry.Visible)
            continue;
        QTreeWidgetItem* sectionNode = AddNode(root, QString::fromStdString(entry.Caption),
                                               SectionImage(entry.Section->GetKind()));
        sectionNode->setData(0, kSectionRole, QVariant::fromValue<const void*>(&entry));
        for (int i = 0; i < entry.Section->GetCount(); ++i) {
            const TLasParsParsedString* line = entry.Section->GetLine(i);
            QTreeWidgetItem* lineNode = AddNode(
                sectionNode, QString::fromStdString(header_->Decode(line->Mnemonic())),
                LineImage(line->GetKind()));
            lineNode->setData(0, kLineRole, QVariant::fromValue<const void*>(line));
        }
    }
    root->setExpanded(true);
}

const TLasTreeViewSection* TLasTreeViewManage::NodeSection(const QTreeWidgetItem* node)
{
    return PointerData<TLasTreeViewSection>(node, kSectionRole);
}

const TLasParsParsedString* TLasTreeViewManage::NodeLine(const QTreeWidgetItem* node)
{
    return PointerData<TLasParsParsedString>(node, kLineRole);
}

int TLasTreeViewManage::ImageIndex(const QTreeWidgetItem* node)
{
    const QVariant image = node ? node->data(0, kImageRole) : QVariant();
    return image.isValid() ? image.toInt() : -1;
}
