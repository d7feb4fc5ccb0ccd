#include "platform/ui/controls/ListBox.h"

#include "platform/db/Error.h"

#include <QMouseEvent>

namespace ui {

namespace {
constexpr int kItemDataRole = Qt::UserRole + 1;
}

ListBox::ListBox(const QString& name, QWidget* parent) : ControlEvents(parent)
{
    setObjectName(name);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    connect(this, &QListWidget::currentRowChanged, this, [this](int row) {
        // The selection follows the current entry: one selected entry, as the program sees it.
        if (row >= 0 && item(row) && !item(row)->isSelected())
            item(row)->setSelected(true);
        if (row < 0)
            clearSelection();
        if (!quiet_)
            emit Click();
    });
    // A handler that puts the entry back while the view is still selecting (a Click answered
    // by setting ListIndex again) would leave the highlight on another entry than ListIndex.
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        QListWidgetItem* current = item(currentRow());
        if (current && !current->isSelected())
            current->setSelected(true);
    });
}

void ListBox::AddItem(const QString& text, int index)
{
    auto* it = new QListWidgetItem(text);   // owned by the list once inserted
    if (index < 0 || index >= count()) {
        addItem(it);
        newIndex_ = count() - 1;
    } else {
        insertItem(index, it);
        newIndex_ = index;
    }
}

void ListBox::RemoveItem(int index)
{
    if (index < 0 || index >= count())
        throw ado::Error(5, QStringLiteral("Invalid procedure call or argument"), QStringLiteral("ListBox"));
    const bool wasCurrent = index == currentRow();
    quiet_ = true;
    delete takeItem(index);
    if (wasCurrent)
        setCurrentRow(-1);   // the removed entry was the selected one: nothing is selected
    quiet_ = false;
}

void ListBox::Clear()
{
    quiet_ = true;
    clear();
    quiet_ = false;
    newIndex_ = -1;
}

QString ListBox::List(int index) const
{
    const QListWidgetItem* it = item(index);
    return it ? it->text() : QString();
}

long ListBox::ItemData(int index) const
{
    const QListWidgetItem* it = item(index);
    return it ? long(it->data(kItemDataRole).toLongLong()) : 0;
}

void ListBox::setItemData(int index, long data)
{
    if (QListWidgetItem* it = item(index))
        it->setData(kItemDataRole, qlonglong(data));
}

void ListBox::setListIndex(int index)
{
    if (index < -1 || index >= count())
        throw ado::Error(380, QStringLiteral("Invalid property value"), QStringLiteral("ListBox"));
    setCurrentRow(index);
    if (index >= 0)
        scrollToItem(item(index));
}

QString ListBox::Text() const
{
    return List(currentRow());
}

int ListBox::FindString(const QString& prefix) const
{
    if (prefix.isEmpty())
        return -1;   // typing nothing finds nothing (clearing the box clears the selection)
    for (int i = 0; i < count(); ++i)
        if (item(i)->text().startsWith(prefix, Qt::CaseInsensitive))
            return i;
    return -1;
}

void ListBox::focusInEvent(QFocusEvent* e)
{
    // Taking the focus selects nothing by itself.
    const int before = currentRow();
    quiet_ = true;
    QListWidget::focusInEvent(e);
    if (before < 0 && currentRow() >= 0)
        setCurrentRow(-1);
    quiet_ = false;
    raiseFocusChange(*this, e);
}

void ListBox::mouseDoubleClickEvent(QMouseEvent* e)
{
    QListWidget::mouseDoubleClickEvent(e);
    if (indexAt(e->position().toPoint()).isValid())
        emit DblClick();
}

} // namespace ui
