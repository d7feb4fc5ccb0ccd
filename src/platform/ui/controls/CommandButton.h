// The program's command button: Caption with "&" access key, Style (0 standard, 1 graphical:
// only a graphical button shows its BackColor, 0xBBGGRR), Default (Enter anywhere in the
// window clicks it, unless another button has the focus) and Cancel (Escape clicks it).
// Enter on a focused button raises its KeyPress(13) and no Click, except on the Default
// button itself, whose Enter also clicks it. Space and the access key click it.
#pragma once

#include "platform/ui/controls/Control.h"

#include <QPushButton>

namespace ui {

enum CommandButtonStyle { vbButtonStandard = 0, vbButtonGraphical = 1 };

class CommandButton : public ControlEvents<QPushButton, CommandButton>,
                      public ControlGeometry<CommandButton> {
    Q_OBJECT
public:
    explicit CommandButton(const QString& name, const QString& caption = QString(),
                           QWidget* parent = nullptr);

    QString Caption() const { return text(); }
    void setCaption(const QString& caption) { setText(caption); }
    int Style() const { return style_; }
    void setStyle(int style);
    long BackColor() const { return backColor_; }
    void setBackColor(long bgr);
    long ForeColor() const { return paletteColor(*this, QPalette::ButtonText); }
    void setForeColor(long bgr) { setPaletteColor(*this, bgr, {QPalette::ButtonText}); }
    bool Default() const { return isDefault(); }
    void setDefault(bool on);
    bool Cancel() const { return cancel_; }
    void setCancel(bool on);
    void setValue(bool on) { if (on) click(); }   // setting Value clicks

signals:
    void Click();
    void GotFocus();
    void LostFocus();
    void KeyDown(int& keyCode, int shift);
    void KeyUp(int& keyCode, int shift);
    void KeyPress(int& keyAscii);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void applyColors();
    void watchWindow();

    int style_ = vbButtonStandard;
    long backColor_ = 0xE0E0E0;   // button face until the program sets its own
    bool cancel_ = false;
    QWidget* watched_ = nullptr;
};

} // namespace ui
