#include "OptionButton.h"

#include "Keys.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace ui {

OptionButton::OptionButton(const QString& name, const QString& caption, QWidget* parent)
    : QRadioButton(caption, parent)
{
    setObjectName(name);
    setAutoFillBackground(true);
    // One selected option per container, kept here rather than by Qt's exclusive group so
    // that every option stays a Tab stop of its own.
    setAutoExclusive(false);
    connect(this, &QRadioButton::toggled, this, [this](bool on) {
        if (!on || !parentWidget())
            return;
        for (auto* o : parentWidget()->findChildren<OptionButton*>(Qt::FindDirectChildrenOnly))
            if (o != this)
                o->setChecked(false);
    });
    connect(this, &QRadioButton::clicked, this, [this] { emit Click(); });
}

void OptionButton::nextCheckState()
{
    if (!isChecked())
        setChecked(true);
}

void OptionButton::setValue(bool on)
{
    if (on == isChecked())
        return;
    setChecked(on);
    if (on)
        emit Click();
}

long OptionButton::BackColor() const { return bgrOf(palette().color(QPalette::Window)); }

void OptionButton::setBackColor(long bgr)
{
    QPalette p = palette();
    p.setColor(QPalette::Window, colorOf(bgr));
    p.setColor(QPalette::Button, colorOf(bgr));
    setPalette(p);
}

long OptionButton::ForeColor() const { return bgrOf(palette().color(QPalette::WindowText)); }

void OptionButton::setForeColor(long bgr)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, colorOf(bgr));
    p.setColor(QPalette::ButtonText, colorOf(bgr));
    setPalette(p);
}

void OptionButton::keyPressEvent(QKeyEvent* e)
{
    int code = keyCodeOf(e->key());
    if (code != 0) {
        emit KeyDown(code, shiftOf(e->modifiers()));
        if (code == 0) {
            e->accept();
            return;
        }
    }
    const int typed = keyPressAsciiOf(e);
    if (typed != 0) {
        int ascii = typed;
        emit KeyPress(ascii);
        if (ascii == 0 || typed == 13) {
            e->accept();   // Enter belongs to the option's own handler
            return;
        }
    }
    QRadioButton::keyPressEvent(e);
}

void OptionButton::keyReleaseEvent(QKeyEvent* e)
{
    int code = keyCodeOf(e->key());
    if (code != 0 && !e->isAutoRepeat())
        emit KeyUp(code, shiftOf(e->modifiers()));
    QRadioButton::keyReleaseEvent(e);
}

void OptionButton::focusInEvent(QFocusEvent* e)
{
    QRadioButton::focusInEvent(e);
    if (isControlFocusMove(e))
        emit GotFocus();
}

void OptionButton::focusOutEvent(QFocusEvent* e)
{
    QRadioButton::focusOutEvent(e);
    if (isControlFocusMove(e))
        emit LostFocus();
}

void OptionButton::mouseDoubleClickEvent(QMouseEvent* e)
{
    QRadioButton::mouseDoubleClickEvent(e);
    if (e->button() == Qt::LeftButton)
        emit DblClick();
}

} // namespace ui
