// The form base. Activation is tracked across our own forms only: a message box or any other
// window that is not a Form never becomes "the active form", so returning from it does not
// fire Form_Activate again.
#include "platform/ui/forms/Form.h"

#include "platform/ui/forms/Keys.h"
#include "platform/ui/forms/Twips.h"

#include <QApplication>
#include <QBackingStore>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QHideEvent>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QWindow>
#include <map>
#include <vector>

namespace ui {
namespace {

QPointer<Form>& lastActive()
{
    static QPointer<Form> f;
    return f;
}

QPointer<Form>& shownThisTurn()
{
    static QPointer<Form> f;
    return f;
}

std::map<std::type_index, QPointer<Form>>& registry()
{
    static std::map<std::type_index, QPointer<Form>> r;
    return r;
}

} // namespace

void raiseWindow(QWidget* w)
{
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        w->raise();
}

Form::Form(const QString& objectName, QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(objectName);
}

Form::~Form()
{
    if (modalLoop_)
        modalLoop_->quit();
    FormRegistry::remove(this);
}

void Form::Load()
{
    if (loaded_)
        return;
    loaded_ = true;
    Form_Load();
    emit loaded();
}

void Form::Show(int modal, QWidget* owner)
{
    Load();
    if (owner)
        takeOwner(owner->window());
    if (modal != vbModal) {
        show();
        bringToFront();
        return;
    }
    if (isVisible())
        hide();
    setWindowModality(Qt::ApplicationModal);
    show();
    bringToFront();
    QPointer<Form> self(this);
    QEventLoop loop;
    modalLoop_ = &loop;
    if (isVisible())
        loop.exec(QEventLoop::DialogExec);
    if (self) {
        modalLoop_ = nullptr;
        setWindowModality(Qt::NonModal);
    }
}

void Form::takeOwner(QWidget* ownerWindow)
{
    if (ownerWindow != this && (parentWidget() != ownerWindow || windowFlags() != kOwnedWindow))
        setParent(ownerWindow, kOwnedWindow);
}

// Showing a form makes it the active form at once. The system's activation events that
// are still queued in this turn of the event loop are older than the show and are ignored,
// except the shown form's own; later ones (the user switching windows) count.
void Form::bringToFront()
{
    raiseWindow(this);
    activateWindow();
    noteActivated();
    shownThisTurn() = this;
    QMetaObject::invokeMethod(qApp, [] { shownThisTurn() = nullptr; }, Qt::QueuedConnection);
}

void Form::Hide() { hide(); }

// Mapped without a user time, the window manager does not give the window the focus. The
// toolkit reads the attribute only when it makes the native window; a window made before
// carries it as a property of its own.
void Form::showWithoutActivating()
{
    Load();
    setAttribute(Qt::WA_ShowWithoutActivating);
    if (QWindow* w = windowHandle())
        w->setProperty("_q_showWithoutActivating", true);
    show();
    setAttribute(Qt::WA_ShowWithoutActivating, false);
    if (QWindow* w = windowHandle())
        w->setProperty("_q_showWithoutActivating", false);
    raiseWindow(this);
}

bool Form::Unload()
{
    if (unloading_)
        return true;
    if (unloadCancelled(vbFormCode))
        return false;
    finishUnload();
    return true;
}

bool Form::unloadCancelled(int unloadMode)
{
    int cancel = 0;
    Form_QueryUnload(cancel, unloadMode);
    if (!cancel)
        Form_Unload(cancel);
    return cancel != 0;
}

void Form::finishUnload()
{
    unloading_ = true;
    hide();
    FormRegistry::remove(this);
    loaded_ = false;
    emit unloaded();
    // Later: the unload usually runs inside one of this form's own handlers.
    deleteLater();
}

QString Form::Caption() const { return windowTitle(); }
void Form::setCaption(const QString& caption) { setWindowTitle(caption); }

int Form::Left() const { return toTwips(frameGeometry().x()); }
int Form::Top() const { return toTwips(frameGeometry().y()); }

// The twips last set are read back while the window keeps the client size they gave (the
// frame may only appear once the window is shown).
int Form::Width() const
{
    return width() == formWidthPx_ ? formWidthTwips_ : toTwips(frameGeometry().width());
}

int Form::Height() const
{
    return height() == formHeightPx_ ? formHeightTwips_ : toTwips(frameGeometry().height());
}

void Form::setLeft(int twips) { move(toPixels(twips), frameGeometry().y()); }
void Form::setTop(int twips) { move(frameGeometry().x(), toPixels(twips)); }

void Form::setWidth(int twips)
{
    const int frameExtra = frameGeometry().width() - width();
    resize(std::max(1, toPixels(twips) - frameExtra), height());
    formWidthTwips_ = twips;
    formWidthPx_ = width();
}

void Form::setHeight(int twips)
{
    const int frameExtra = frameGeometry().height() - height();
    resize(width(), std::max(1, toPixels(twips) - frameExtra));
    formHeightTwips_ = twips;
    formHeightPx_ = height();
}

void Form::Move(int left, int top, int width, int height)
{
    setLeft(left);
    setTop(top);
    if (width >= 0)
        setWidth(width);
    if (height >= 0)
        setHeight(height);
}

int Form::ScaleWidth() const { return toTwips(width()); }
int Form::ScaleHeight() const { return toTwips(height()); }

int Form::WindowState() const
{
    const Qt::WindowStates s = windowState();
    if (s & Qt::WindowMinimized)
        return vbMinimized;
    if (s & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return vbMaximized;
    return vbNormal;
}

void Form::setWindowState(int state)
{
    switch (state) {
    case vbMaximized: QWidget::setWindowState(Qt::WindowMaximized); break;
    case vbMinimized: QWidget::setWindowState(Qt::WindowMinimized); break;
    default: QWidget::setWindowState(Qt::WindowNoState); break;
    }
}

void Form::ZOrder(int position)
{
    if (position == 1)
        lower();
    else
        raiseWindow(this);
}

Form* Form::activeForm()
{
    Form* f = lastActive();
    return f && f->isVisible() ? f : nullptr;
}

void Form::closeEvent(QCloseEvent* e)
{
    if (unloading_) {
        e->accept();
        return;
    }
    if (unloadCancelled(vbFormControlMenu)) {
        e->ignore();
        return;
    }
    e->accept();
    finishUnload();
}

void Form::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    Form_Resize();
}

// A window whose position the code never set is placed afresh by the window manager each
// time it is mapped, so a form the window manager placed, or the user dragged, would come
// back elsewhere. Shown again, such a form asks for the place its window stood in (a form
// the code placed already asks for its own).
void Form::setVisible(bool visible)
{
    constexpr Qt::WindowStates kNotPlaced = Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;
    if (isWindow() && visible != isVisible() && !(windowState() & kNotPlaced)) {
        if (!visible && testAttribute(Qt::WA_Mapped))
            placed_ = true;
        else if (visible && placed_ && !testAttribute(Qt::WA_Moved) && windowHandle())
            windowHandle()->setPosition(windowHandle()->position());
    }
    QWidget::setVisible(visible);
}

void Form::hideEvent(QHideEvent* e)
{
    QWidget::hideEvent(e);
    if (e->spontaneous())
        return;
    if (lastActive() == this)
        lastActive() = nullptr;
    if (modalLoop_)
        modalLoop_->quit();
    // Once the hide is through (a form hidden and shown again in one go keeps its buffer).
    QMetaObject::invokeMethod(this, &Form::releasePaintBuffer, Qt::QueuedConnection);
}

// The buffer a window is painted into is as large as the window (some 5 MB for a maximised
// one) and would stay with the hidden form until the program ends. Shrunk to nothing, it is
// made again at the window's size when the form is next shown, which paints the window whole
// as every show does. The native window stays, and with it everything the window manager
// knows of it: position, state, owner.
void Form::releasePaintBuffer()
{
    if (isVisible())
        return;
    if (QBackingStore* store = backingStore(); store && store->size() != QSize(1, 1))
        store->resize(QSize(1, 1));
}

void Form::mousePressEvent(QMouseEvent* e)
{
    QWidget::mousePressEvent(e);
    const QPoint p = e->position().toPoint();
    if (!childAt(p))
        Form_MouseDown(buttonOf(e->button()), shiftOf(e->modifiers()), toTwips(p.x()), toTwips(p.y()));
}

bool Form::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate && isVisible() && (!shownThisTurn() || shownThisTurn() == this))
        noteActivated();
    return QWidget::event(e);
}

void Form::noteActivated()
{
    if (lastActive() == this)
        return;
    QPointer<Form> previous = lastActive();
    lastActive() = this;
    if (previous)
        previous->Form_Deactivate();
    Form_Activate();
}

Form* FormRegistry::find(std::type_index type)
{
    auto it = registry().find(type);
    if (it == registry().end())
        return nullptr;
    if (!it->second) {
        registry().erase(it);
        return nullptr;
    }
    return it->second;
}

void FormRegistry::put(std::type_index type, Form* form) { registry()[type] = form; }

void FormRegistry::remove(Form* form)
{
    for (auto it = registry().begin(); it != registry().end();) {
        if (it->second == form || !it->second)
            it = registry().erase(it);
        else
            ++it;
    }
}

void FormRegistry::unloadAll()
{
    std::vector<QPointer<Form>> forms;
    for (auto& [type, f] : registry())
        forms.push_back(f);
    registry().clear();
    for (auto& f : forms) {
        if (f) {
            f->unloading_ = true;
            delete f.data();
        }
    }
    lastActive() = nullptr;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace ui
