#include "platform/ui/controls/OptionButton.h"

#include <QMouseEvent>

namespace ui {

OptionButton::OptionButton(const QString& name, const QString& caption, QWidget* parent)
    : ControlEvents(caption, parent)
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

void OptionButton::keyPressEvent(QKeyEvent* e)
{
    const KeyOutcome k = raiseKeyDownAndPress(*this, e);
    if (k.cancelled || k.typed == 13) {
        e->accept();   // Enter belongs to the option's own handler
        return;
    }
    QRadioButton::keyPressEvent(e);
}

void OptionButton::mouseDoubleClickEvent(QMouseEvent* e)
{
    QRadioButton::mouseDoubleClickEvent(e);
    if (e->button() == Qt::LeftButton)
        emit DblClick();
}

} // namespace ui
