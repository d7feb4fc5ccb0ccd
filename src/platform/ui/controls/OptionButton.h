// The program's option button: Caption with "&" access key, Value (setting it True in code
// selects it and fires Click), BackColor and ForeColor (0xBBGGRR), and the events Click,
// DblClick, KeyDown/KeyPress (setting the code to 0 cancels the key), GotFocus, LostFocus.
// Each option takes part in the Tab order by itself.
#pragma once

#include "platform/ui/controls/Control.h"

#include <QRadioButton>

namespace ui {

class OptionButton : public ControlEvents<QRadioButton, OptionButton>,
                     public ControlGeometry<OptionButton> {
    Q_OBJECT
public:
    explicit OptionButton(const QString& name, const QString& caption = QString(),
                          QWidget* parent = nullptr);

    QString Caption() const { return text(); }
    void setCaption(const QString& caption) { setText(caption); }
    bool Value() const { return isChecked(); }
    void setValue(bool on);
    long BackColor() const { return paletteColor(*this, QPalette::Window); }
    void setBackColor(long bgr) { setPaletteColor(*this, bgr, {QPalette::Window, QPalette::Button}); }
    long ForeColor() const { return paletteColor(*this, QPalette::WindowText); }
    void setForeColor(long bgr)
    {
        setPaletteColor(*this, bgr, {QPalette::WindowText, QPalette::ButtonText});
    }

signals:
    void Click();
    void DblClick();
    void GotFocus();
    void LostFocus();
    void KeyDown(int& keyCode, int shift);
    void KeyUp(int& keyCode, int shift);
    void KeyPress(int& keyAscii);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void nextCheckState() override;   // a click never unselects
};

} // namespace ui
