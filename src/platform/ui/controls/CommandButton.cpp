#include "platform/ui/controls/CommandButton.h"

#include <QKeyEvent>

namespace ui {

CommandButton::CommandButton(const QString& name, const QString& caption, QWidget* parent)
    : ControlEvents(caption, parent)
{
    setObjectName(name);
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, [this] { emit Click(); });
}

void CommandButton::setStyle(int style)
{
    style_ = style;
    applyColors();
}

void CommandButton::setBackColor(long bgr)
{
    backColor_ = bgr;
    applyColors();
}

void CommandButton::applyColors()
{
    QPalette p = palette();
    if (style_ == vbButtonGraphical) {
        p.setColor(QPalette::Button, colorOf(backColor_));
        p.setColor(QPalette::Window, colorOf(backColor_));
    } else {
        const QPalette standard = parentWidget() ? parentWidget()->palette() : QPalette();
        p.setColor(QPalette::Button, standard.color(QPalette::Button));
        p.setColor(QPalette::Window, standard.color(QPalette::Window));
    }
    setPalette(p);
    update();
}

void CommandButton::setDefault(bool on)
{
    QPushButton::setDefault(on);
    watchWindow();
}

void CommandButton::setCancel(bool on)
{
    cancel_ = on;
    watchWindow();
}

void CommandButton::watchWindow()
{
    QWidget* w = window();
    if (watched_ && watched_ != w)
        watched_->removeEventFilter(this);
    watched_ = nullptr;
    if ((isDefault() || cancel_) && w != this) {
        w->installEventFilter(this);
        watched_ = w;
    }
}

bool CommandButton::event(QEvent* e)
{
    if (e->type() == QEvent::ParentChange)
        watchWindow();
    return QPushButton::event(e);
}

// The window may have been put together after the button was made Default or Cancel.
void CommandButton::showEvent(QShowEvent* e)
{
    QPushButton::showEvent(e);
    if ((isDefault() || cancel_) && watched_ != window())
        watchWindow();
}

// Enter and Escape that no control of the window used reach the window itself.
bool CommandButton::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == watched_ && e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        const bool enter = k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter;
        const bool escape = k->key() == Qt::Key_Escape;
        if (k->modifiers() == Qt::NoModifier || k->modifiers() == Qt::KeypadModifier) {
            if (((enter && isDefault()) || (escape && cancel_)) && isEnabled() && isVisible()) {
                click();
                return true;
            }
        }
    }
    return QPushButton::eventFilter(watched, e);
}

void CommandButton::keyPressEvent(QKeyEvent* e)
{
    if (raiseKeyDownAndPress(*this, e).cancelled)
        return;
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        // A focused button acts on Enter, as the user expects, unless its KeyPress handler
        // took the key (set it to 0). No other button is clicked.
        if (isEnabled())
            click();
        e->accept();
        return;
    }
    QPushButton::keyPressEvent(e);
}

} // namespace ui
