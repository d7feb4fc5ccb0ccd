// The program's text box: a single-line edit with Text, SelStart/SelLength/SelText,
// Alignment (0 left, 1 right, 2 centre), Locked and MaxLength, and the program's events.
// KeyDown(keyCode, shift) comes first for every key with a code; setting keyCode to 0 cancels it.
// KeyPress(keyAscii) follows for keys that type a character (13 Enter, 8 Backspace,
// 1..26 Ctrl+letter, 127 Ctrl+Backspace); setting keyAscii to 0 cancels it, another value
// types that character instead. Ctrl+D (4) and Ctrl+Y (25) have no meaning of the edit's
// own, so the program's meanings apply alone.
#pragma once

#include "platform/ui/controls/Control.h"

#include <QLineEdit>

namespace ui {

enum TextAlignment { vbLeftJustify = 0, vbRightJustify = 1, vbCenter = 2 };

class TextBox : public ControlEvents<QLineEdit, TextBox>, public ControlGeometry<TextBox> {
    Q_OBJECT
public:
    explicit TextBox(const QString& name, QWidget* parent = nullptr);

    QString Text() const { return text(); }
    void setText(const QString& text);           // fires Change when the text differs

    int SelStart() const;
    void setSelStart(int start);                 // caret there, nothing selected
    int SelLength() const;
    void setSelLength(int length);               // selects from SelStart
    QString SelText() const { return selectedText(); }
    void setSelText(const QString& text);        // replaces the selection (or inserts)

    int Alignment() const { return alignment_; }
    void setAlignment(int vbAlignment);          // TextAlignment
    bool Locked() const { return isReadOnly(); }
    void setLocked(bool locked) { setReadOnly(locked); }
    int MaxLength() const;                       // 0: no limit
    void setMaxLength(int length);

    long BackColor() const { return paletteColor(*this, QPalette::Base); }
    void setBackColor(long bgr) { setPaletteColor(*this, bgr, {QPalette::Base}); }
    long ForeColor() const { return paletteColor(*this, QPalette::Text); }
    void setForeColor(long bgr) { setPaletteColor(*this, bgr, {QPalette::Text}); }

signals:
    void Change();
    void KeyDown(int& keyCode, int shift);
    void KeyUp(int& keyCode, int shift);
    void KeyPress(int& keyAscii);
    void GotFocus();
    void LostFocus();
    void Click();
    void DblClick();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    int alignment_ = vbLeftJustify;
};

} // namespace ui
