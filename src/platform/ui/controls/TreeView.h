// The tree view the program's windows use: nodes added with a relative key and a
// relationship, found by 1-based index or by key, with an image and a selected image from an
// image list. Events carry the program's values (key codes, shift state, button codes, twips).
#pragma once

#include "platform/ui/controls/CollectionErrors.h"

#include <QString>
#include <QTreeWidget>
#include <map>
#include <memory>
#include <vector>

namespace ui {

class ImageList;
class TreeView;

enum TreeRelationship { tvwFirst = 0, tvwLast = 1, tvwNext = 2, tvwPrevious = 3, tvwChild = 4 };

class Node {
public:
    QString Key() const { return key_; }
    QString Text() const;
    void setText(const QString& text);
    int Index() const { return index_; }
    Node* Parent() const;
    int Children() const;
    Node* Child() const;                   // first child, or nullptr
    bool Expanded() const;
    void setExpanded(bool expanded);
    bool Selected() const;
    void setSelected(bool selected);
    int Image() const { return image_; }
    void setImage(int image);
    int SelectedImage() const { return selectedImage_; }

    QTreeWidgetItem* item() const { return item_; }
    TreeView* treeView() const { return tree_; }

private:
    friend class NodeCollection;
    friend class TreeView;
    Node(TreeView* tree, QTreeWidgetItem* item, QString key, int index)
        : tree_(tree), item_(item), key_(std::move(key)), index_(index) {}
    TreeView* tree_;
    QTreeWidgetItem* item_;
    QString key_;
    int index_;
    int image_ = 0;
    int selectedImage_ = 0;
};

class NodeCollection {
public:
    explicit NodeCollection(TreeView* tree) : tree_(tree) {}

    // relative empty: a new root. Raises 35601 for an unknown relative, 35602 for a key
    // already used.
    Node* Add(const QString& relative = {}, int relationship = tvwLast, const QString& key = {},
              const QString& text = {}, int image = 0, int selectedImage = 0);
    int Count() const { return static_cast<int>(nodes_.size()); }
    // 1-based index or key; raises 35600 ("Index out of bounds") / 35601 when there is none.
    Node* Item(int index) const;
    Node* Item(const QString& key) const;
    Node* find(const QString& key) const;   // nullptr when unknown
    Node* nodeOf(const QTreeWidgetItem* item) const;
    void Clear();

private:
    TreeView* tree_;
    std::vector<std::unique_ptr<Node>> nodes_;
    std::map<const QTreeWidgetItem*, Node*> byItem_;
};

class TreeView : public QTreeWidget {
    Q_OBJECT
public:
    explicit TreeView(const QString& objectName, QWidget* parent = nullptr);
    ~TreeView() override;

    NodeCollection& Nodes() { return nodes_; }
    Node* Nodes(int index) const { return nodes_.Item(index); }
    Node* Nodes(const QString& key) const { return nodes_.Item(key); }

    void setImageList(ImageList* list);
    ImageList* imageList() const { return imageList_; }

    Node* SelectedItem() const;
    void setSelectedItem(Node* node);

    QString ToolTipText() const { return toolTip(); }
    void setToolTipText(const QString& text) { setToolTip(text); }
    void Refresh() { viewport()->update(); }

    void updateIcon(Node* node);

signals:
    void NodeClick(ui::Node* node);
    void Click();
    void DblClick();
    void KeyDown(int& keyCode, int shift);
    void KeyPress(int& keyAscii);
    void KeyUp(int& keyCode, int shift);
    void MouseDown(int button, int shift, int x, int y);
    void MouseUp(int button, int shift, int x, int y);
    void MouseMove(int button, int shift, int x, int y);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    friend class Node;
    friend class NodeCollection;
    NodeCollection nodes_;
    ImageList* imageList_ = nullptr;
    QTreeWidgetItem* shownSelected_ = nullptr;
};

} // namespace ui
