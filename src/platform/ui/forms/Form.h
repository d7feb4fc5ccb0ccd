// The form base: a top-level window that behaves like the program's forms. A form is
// created and loaded on first use through one accessor (form<T>()), shown modeless or modal,
// owned or not, hidden and shown again with its state, and unloaded (destroyed) where the
// program unloads it; the next form<T>() creates it afresh. A hidden form gives back the
// buffer its window is painted into, and gets one again when it is next shown, where it stood
// (wherever the code, the window manager or the user put it).
// Geometry is in twips. Activate fires when activation moves between the program's own
// windows, not on return from a message box. A close by the frame asks Form_QueryUnload,
// which can cancel it (and, say, hide instead).
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <typeindex>

class QEventLoop;

namespace ui {

enum FormShow { vbModeless = 0, vbModal = 1 };
enum WindowStateKind { vbNormal = 0, vbMinimized = 1, vbMaximized = 2 };
enum UnloadMode { vbFormControlMenu = 0, vbFormCode = 1, vbAppWindows = 2, vbAppTaskManager = 3 };

// The flags of a window owned by another, which stays above its owner and goes with it. The
// window manager learns the owner only from a transient window (WM_TRANSIENT_FOR on X11), which
// the toolkit makes of dialog-type windows; an owned window keeps the title-bar buttons of an
// ordinary window.
constexpr Qt::WindowFlags kOwnedWindow = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                                         | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint;

// Raises a top-level window above the others; nothing on the headless test platform, which has
// no window stack and warns on every raise.
void raiseWindow(QWidget* w);

class Form : public QWidget {
    Q_OBJECT
public:
    explicit Form(const QString& objectName, QWidget* parent = nullptr);
    ~Form() override;

    // Runs Form_Load once (the accessor calls it; a form made with new calls it itself).
    void Load();
    bool isFormLoaded() const { return loaded_; }

    // Shows the form; vbModal runs a local event loop until the form hides or unloads.
    void Show(int modal = vbModeless, QWidget* owner = nullptr);
    void Hide();
    // Shows the form modeless (loading it first) above the program's other windows, but leaves
    // the activation to the caller: the window that is to have the keys is then activate()d.
    void showWithoutActivating();
    // Brings a form on view to the front and makes it the active window, as a click on it does.
    void activate() { bringToFront(); }
    // Fires Form_QueryUnload(vbFormCode) and Form_Unload; unless cancelled, destroys the form.
    // Returns false when cancelled.
    bool Unload();

    QString Caption() const;
    void setCaption(const QString& caption);

    int Left() const;  int Top() const;  int Width() const;  int Height() const;
    void setLeft(int twips); void setTop(int twips); void setWidth(int twips); void setHeight(int twips);
    void Move(int left, int top, int width = -1, int height = -1);
    int ScaleWidth() const;   // client area, twips
    int ScaleHeight() const;

    int WindowState() const;
    void setWindowState(int state);
    void ZOrder(int position = 0);   // 0 front, 1 back

    bool Visible() const { return isVisible(); }
    void setVisible(bool visible) override;

    // The form that is on view and active (program windows only), or nullptr.
    static Form* activeForm();

signals:
    void loaded();
    void unloaded();

protected:
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_Deactivate() {}
    virtual void Form_Resize() {}
    virtual void Form_QueryUnload(int& cancel, int unloadMode) { (void)cancel; (void)unloadMode; }
    virtual void Form_Unload(int& cancel) { (void)cancel; }
    // A mouse press on the form's own surface; presses on its controls are theirs, even
    // where a control lets the press go by (x and y in twips).
    virtual void Form_MouseDown(int button, int shift, int x, int y)
    {
        (void)button; (void)shift; (void)x; (void)y;
    }

    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    bool event(QEvent* e) override;

private:
    friend class FormRegistry;
    bool unloadCancelled(int unloadMode);   // Form_QueryUnload, then Form_Unload
    void releasePaintBuffer();
    void finishUnload();
    void bringToFront();
    void takeOwner(QWidget* ownerWindow);
    void noteActivated();
    bool loaded_ = false;
    bool unloading_ = false;
    bool placed_ = false;                  // mapped once: the window manager has given it a place
    int formWidthTwips_ = 0, formHeightTwips_ = 0;
    int formWidthPx_ = -1, formHeightPx_ = -1;   // frame size the remembered twips produced
    QEventLoop* modalLoop_ = nullptr;      // running while shown modal
};

// One instance per form class, created on first use and forgotten when it unloads.
class FormRegistry {
public:
    static Form* find(std::type_index type);
    static void put(std::type_index type, Form* form);
    static void remove(Form* form);
    static void unloadAll();   // tests: destroy every registered form
};

template <class T>
T& form()
{
    if (auto* f = FormRegistry::find(typeid(T)))
        return *static_cast<T*>(f);
    auto* f = new T();
    FormRegistry::put(typeid(T), f);
    f->Load();
    return *f;
}

template <class T>
bool formLoaded() { return FormRegistry::find(typeid(T)) != nullptr; }

} // namespace ui
