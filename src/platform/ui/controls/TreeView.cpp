#include "platform/ui/controls/TreeView.h"

#include "platform/ui/controls/Control.h"
#include "platform/ui/controls/ImageList.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace ui {
namespace {
const QString kSource = QStringLiteral("MSComctlLib.TreeView");
} // namespace

// ---- Node -------------------------------------------------------------------------------

QString Node::Text() const { return item_->text(0); }
void Node::setText(const QString& text) { item_->setText(0, text); }

Node* Node::Parent() const { return tree_->nodes_.nodeOf(item_->parent()); }
int Node::Children() const { return item_->childCount(); }
Node* Node::Child() const { return item_->childCount() ? tree_->nodes_.nodeOf(item_->child(0)) : nullptr; }

bool Node::Expanded() const { return item_->isExpanded(); }
void Node::setExpanded(bool expanded) { item_->setExpanded(expanded); }

bool Node::Selected() const { return tree_->currentItem() == item_; }

void Node::setSelected(bool selected)
{
    if (selected)
        tree_->setCurrentItem(item_);
    else if (Selected())
        tree_->setCurrentItem(nullptr);
}

void Node::setImage(int image)
{
    image_ = image;
    tree_->updateIcon(this);
}

// ---- NodeCollection ------------------------------------------------------------------------------

Node* NodeCollection::Add(const QString& relative, int relationship, const QString& key, const QString& text,
                 int image, int selectedImage)
{
    if (!key.isEmpty() && find(key))
        raiseKeyNotUnique(kSource);
    Node* rel = nullptr;
    if (!relative.isEmpty()) {
        rel = find(relative);
        if (!rel)
            raiseElementNotFound(kSource);
    }

    auto* item = new QTreeWidgetItem();   // owned by the tree once inserted below
    QTreeWidgetItem* relItem = rel ? rel->item_ : nullptr;
    QTreeWidgetItem* parent = relItem ? relItem->parent() : nullptr;
    auto insertAt = [&](QTreeWidgetItem* under, int pos) {
        if (under)
            under->insertChild(pos, item);
        else
            tree_->insertTopLevelItem(pos, item);
    };
    auto siblingCount = [&](QTreeWidgetItem* under) {
        return under ? under->childCount() : tree_->topLevelItemCount();
    };
    auto indexIn = [&](QTreeWidgetItem* under, QTreeWidgetItem* it) {
        return under ? under->indexOfChild(it) : tree_->indexOfTopLevelItem(it);
    };
    if (!relItem) {
        insertAt(nullptr, relationship == tvwFirst ? 0 : siblingCount(nullptr));
    } else {
        switch (relationship) {
        case tvwChild: relItem->addChild(item); break;
        case tvwFirst: insertAt(parent, 0); break;
        case tvwNext: insertAt(parent, indexIn(parent, relItem) + 1); break;
        case tvwPrevious: insertAt(parent, indexIn(parent, relItem)); break;
        default: insertAt(parent, siblingCount(parent)); break;
        }
    }
    item->setText(0, text);

    nodes_.push_back(std::unique_ptr<Node>(new Node(tree_, item, key, Count() + 1)));
    Node* node = nodes_.back().get();
    byItem_[item] = node;
    node->image_ = image;
    node->selectedImage_ = selectedImage;
    tree_->updateIcon(node);
    return node;
}

Node* NodeCollection::Item(int index) const
{
    if (index < 1 || index > Count())
        raiseIndexOutOfBounds(kSource);
    return nodes_[static_cast<std::size_t>(index - 1)].get();
}

Node* NodeCollection::Item(const QString& key) const
{
    Node* n = find(key);
    if (!n)
        raiseElementNotFound(kSource);
    return n;
}

Node* NodeCollection::find(const QString& key) const
{
    if (key.isEmpty())
        return nullptr;
    for (const auto& n : nodes_)
        if (n->key_ == key)
            return n.get();
    return nullptr;
}

Node* NodeCollection::nodeOf(const QTreeWidgetItem* item) const
{
    auto it = byItem_.find(item);
    return it == byItem_.end() ? nullptr : it->second;
}

void NodeCollection::Clear()
{
    byItem_.clear();
    nodes_.clear();
    tree_->shownSelected_ = nullptr;
    tree_->clear();
}

// ---- TreeView ---------------------------------------------------------------------------

TreeView::TreeView(const QString& objectName, QWidget* parent) : QTreeWidget(parent), nodes_(this)
{
    setObjectName(objectName);
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setExpandsOnDoubleClick(true);
    viewport()->setMouseTracking(true);
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current, QTreeWidgetItem*) {
        // The node that showed the selected picture goes back to its plain one.
        Node* previous = nodes_.nodeOf(shownSelected_);
        shownSelected_ = current;
        if (previous)
            updateIcon(previous);
        if (Node* n = nodes_.nodeOf(current))
            updateIcon(n);
    });
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item, int) {
        if (Node* n = nodes_.nodeOf(item))
            emit NodeClick(n);
    });
}

TreeView::~TreeView()
{
    nodes_.Clear();
}

void TreeView::setImageList(ImageList* list)
{
    imageList_ = list;
    for (int i = 1; i <= nodes_.Count(); ++i)
        updateIcon(nodes_.Item(i));
}

void TreeView::updateIcon(Node* node)
{
    if (!imageList_)
        return;
    const bool selected = node->item_ == currentItem();
    const int index = selected && node->selectedImage_ > 0 ? node->selectedImage_ : node->image_;
    node->item_->setIcon(0, imageList_->Item(index));
}

Node* TreeView::SelectedItem() const { return nodes_.nodeOf(currentItem()); }

void TreeView::setSelectedItem(Node* node) { setCurrentItem(node ? node->item() : nullptr); }

void TreeView::keyPressEvent(QKeyEvent* e)
{
    if (!raiseKeyDownAndPress(*this, e).cancelled)
        QTreeWidget::keyPressEvent(e);
}

void TreeView::keyReleaseEvent(QKeyEvent* e)
{
    raiseKeyUp(*this, e);
    QTreeWidget::keyReleaseEvent(e);
}

void TreeView::mousePressEvent(QMouseEvent* e)
{
    const QPoint p = e->position().toPoint();
    emit MouseDown(buttonOf(e->button()), shiftOf(e->modifiers()), toTwips(p.x()), toTwips(p.y()));
    QTreeWidget::mousePressEvent(e);
}

void TreeView::mouseReleaseEvent(QMouseEvent* e)
{
    QTreeWidget::mouseReleaseEvent(e);   // NodeClick comes from here
    const QPoint p = e->position().toPoint();
    emit MouseUp(buttonOf(e->button()), shiftOf(e->modifiers()), toTwips(p.x()), toTwips(p.y()));
    if (e->button() == Qt::LeftButton && viewport()->rect().contains(p))
        emit Click();
}

void TreeView::mouseDoubleClickEvent(QMouseEvent* e)
{
    QTreeWidget::mouseDoubleClickEvent(e);
    if (e->button() == Qt::LeftButton)
        emit DblClick();
}

void TreeView::mouseMoveEvent(QMouseEvent* e)
{
    const QPoint p = e->position().toPoint();
    emit MouseMove(buttonsOf(e->buttons()), shiftOf(e->modifiers()), toTwips(p.x()), toTwips(p.y()));
    QTreeWidget::mouseMoveEvent(e);
}

} // namespace ui
