// The program's combo box in its drop-down list form: the user picks one of the entries and
// types none. Click fires when an entry is chosen, by the user (mouse or arrow keys) or by
// setting ListIndex in code; setting Text to an entry's text shows that entry without a
// Click. Keys: KeyDown before the box sees a key, KeyPress for typed characters (Enter is
// 13; setting keyAscii to 0 cancels), KeyUp after. The opened list is as wide as its
// longest entry. An entry wider than the box shows its beginning and its end with "…" between
// (paths differ at their ends), and the box's tool tip carries the whole of the shown entry.
#pragma once

#include "platform/ui/controls/Control.h"

#include <QComboBox>

namespace ui {

class ComboBox : public ControlEvents<QComboBox, ComboBox>, public ControlGeometry<ComboBox> {
    Q_OBJECT
public:
    explicit ComboBox(const QString& name, QWidget* parent = nullptr);

    void AddItem(const QString& text);
    void Clear();                          // no Click: nothing is selected after
    int ListCount() const { return count(); }
    QString List(int index) const;         // "" outside the list

    int ListIndex() const { return currentIndex(); }
    void setListIndex(int index);          // fires Click; -1 clears; raises 380 outside
    QString Text() const { return currentText(); }
    // Shows the entry of that text (the first of equal ones), without a Click; raises 383
    // for a text that no entry has, as a list the user cannot type into has no other text.
    void setText(const QString& text);

    long BackColor() const { return paletteColor(*this, QPalette::Base); }
    void setBackColor(long bgr) { setPaletteColor(*this, bgr, {QPalette::Base, QPalette::Button}); }
    long ForeColor() const { return paletteColor(*this, QPalette::Text); }
    void setForeColor(long bgr) { setPaletteColor(*this, bgr, {QPalette::Text, QPalette::ButtonText}); }

    void showPopup() override;
    // The text as the box shows it: the entry's, shortened in the middle to fit its room.
    QString shownText() const;
    int textRoom() const;   // pixels

protected:
    void paintEvent(QPaintEvent* event) override;

signals:
    void Click();
    void KeyDown(int& keyCode, int shift);
    void KeyUp(int& keyCode, int shift);
    void KeyPress(int& keyAscii);
    void GotFocus();
    void LostFocus();
};

} // namespace ui
