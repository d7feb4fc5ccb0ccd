// The program's list box: entries with item data, one selected entry (ListIndex, -1 for
// none). Every change of the selected entry fires Click, whether the user or the code makes
// it (setting ListIndex in code fires Click as the program expects). Keys: KeyDown before the
// list moves, KeyPress for typed characters (setting keyAscii to 0 cancels), KeyUp after.
#pragma once

#include "platform/ui/controls/Control.h"

#include <QListWidget>
#include <QStringList>

namespace ui {

class ListBox : public ControlEvents<QListWidget, ListBox>, public ControlGeometry<ListBox> {
    Q_OBJECT
public:
    explicit ListBox(const QString& name, QWidget* parent = nullptr);

    void AddItem(const QString& text, int index = -1);   // -1 appends
    void RemoveItem(int index);
    void Clear();                                        // no Click: nothing is selected after
    int ListCount() const { return count(); }
    QString List(int index) const;                       // "" outside the list
    long ItemData(int index) const;
    void setItemData(int index, long data);
    int NewIndex() const { return newIndex_; }           // index of the last entry added

    int ListIndex() const { return currentRow(); }
    void setListIndex(int index);                        // -1 clears; raises 380 outside
    QString Text() const;                                // the selected entry, "" when none

    // The first entry that begins with `prefix`, ignoring case, searching the whole list from
    // its start; -1 when none, and for an empty prefix.
    int FindString(const QString& prefix) const;

    long BackColor() const { return paletteColor(*this, QPalette::Base); }
    void setBackColor(long bgr) { setPaletteColor(*this, bgr, {QPalette::Base}); }
    long ForeColor() const { return paletteColor(*this, QPalette::Text); }
    void setForeColor(long bgr) { setPaletteColor(*this, bgr, {QPalette::Text}); }

signals:
    void Click();
    void DblClick();
    void KeyDown(int& keyCode, int shift);
    void KeyUp(int& keyCode, int shift);
    void KeyPress(int& keyAscii);
    void GotFocus();
    void LostFocus();

protected:
    void focusInEvent(QFocusEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyboardSearch(const QString&) override {}   // type-ahead is the program's own

private:
    int newIndex_ = -1;
    bool quiet_ = false;
};

} // namespace ui
