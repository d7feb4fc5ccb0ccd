#include "platform/ui/controls/TextBox.h"

#include <QMouseEvent>
#include <algorithm>

namespace ui {

TextBox::TextBox(const QString& name, QWidget* parent) : ControlEvents(parent)
{
    setObjectName(name);
    connect(this, &QLineEdit::textChanged, this, [this] { emit Change(); });
}

void TextBox::setText(const QString& text)
{
    if (text == this->text())
        return;
    QLineEdit::setText(text);
    setCursorPosition(0);   // a text set by the program shows from its start
}

int TextBox::SelStart() const
{
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

void TextBox::setSelStart(int start)
{
    deselect();
    setCursorPosition(std::clamp(start, 0, int(text().size())));
}

int TextBox::SelLength() const
{
    return hasSelectedText() ? int(selectedText().size()) : 0;
}

void TextBox::setSelLength(int length)
{
    const int start = SelStart();
    const int len = std::clamp(length, 0, int(text().size()) - start);
    if (len == 0) {
        deselect();
        setCursorPosition(start);
    } else {
        setSelection(start, len);
    }
}

void TextBox::setSelText(const QString& text)
{
    insert(text);   // replaces the selection when there is one
}

void TextBox::setAlignment(int vbAlignment)
{
    alignment_ = vbAlignment;
    Qt::Alignment a = Qt::AlignLeft;
    if (vbAlignment == vbRightJustify)
        a = Qt::AlignRight;
    else if (vbAlignment == vbCenter)
        a = Qt::AlignHCenter;
    QLineEdit::setAlignment(a | Qt::AlignVCenter);
}

int TextBox::MaxLength() const
{
    return maxLength() >= 32767 ? 0 : maxLength();
}

void TextBox::setMaxLength(int length)
{
    QLineEdit::setMaxLength(length <= 0 ? 32767 : length);
}

void TextBox::keyPressEvent(QKeyEvent* e)
{
    const KeyOutcome k = raiseKeyDownAndPress(*this, e);
    if (k.cancelled || k.ascii == 4 || k.ascii == 25) {
        e->accept();   // cancelled, or Ctrl+D / Ctrl+Y: the program's meaning only
        return;
    }
    if (k.ascii != k.typed) {
        if (k.ascii >= 32 && !isReadOnly())
            insert(QString(QChar(k.ascii)));
        e->accept();
        return;
    }
    QLineEdit::keyPressEvent(e);
}

void TextBox::mouseReleaseEvent(QMouseEvent* e)
{
    QLineEdit::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
        emit Click();
}

void TextBox::mouseDoubleClickEvent(QMouseEvent* e)
{
    QLineEdit::mouseDoubleClickEvent(e);
    emit DblClick();
}

} // namespace ui
