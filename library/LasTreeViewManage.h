// The header of a LAS file as a tree: the file name at the root, one node per section with a
// Russian caption and, under it, one node per header line labelled with its mnemonic.
#pragma once

#include <QIcon>
#include <memory>
#include <string>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;
class TLasParser2Header;
class TLasParsSection;
class TLasParsParsedString;

struct TLasTreeViewSection {
    std::string Caption;
    const TLasParsSection* Section = nullptr;
    bool Visible = true;
};

class TLasTreeViewManage {
public:
    // Picture indexes, in the order of the image list.
    enum Image { ImgFile, ImgWell, ImgCurves, ImgVersion, ImgParameters, ImgOther, ImgStart,
                 ImgStop, ImgStep, ImgCurve, ImgComment, ImageCount };

    TLasTreeViewManage();
    ~TLasTreeViewManage();
    TLasTreeViewManage(const TLasTreeViewManage&) = delete;
    TLasTreeViewManage& operator=(const TLasTreeViewManage&) = delete;

    void AttachTreeView(QTreeWidget* tree);
    // One visible entry per section of the header (null: none); the tree is rebuilt by SetMode
    // only, except that no header empties it at once, so no node is left pointing at a freed one.
    void SetHeader(const TLasParser2Header* header);
    // 0: every section; 1: all but unnamed and unknown ones; 2: ~W, ~C and ~A only.
    void SetMode(int mode);
    int GetMode() const { return mode_; }
    const std::vector<TLasTreeViewSection>& GetSections() const { return sections_; }

    static std::string SectionCaption(const TLasParsSection& section);
    // What a node stands for (null for the root and for other nodes).
    static const TLasTreeViewSection* NodeSection(const QTreeWidgetItem* node);
    static const TLasParsParsedString* NodeLine(const QTreeWidgetItem* node);
    // The picture of the node, -1 for none.
    static int ImageIndex(const QTreeWidgetItem* node);
    const QIcon& Image(int index) const { return images_[static_cast<size_t>(index)]; }

private:
    void Rebuild();
    QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, const QString& caption, int image);

    QTreeWidget* tree_ = nullptr;
    const TLasParser2Header* header_ = nullptr;
    std::vector<TLasTreeViewSection> sections_;
    std::vector<QIcon> images_;
    int mode_ = 0;
};
