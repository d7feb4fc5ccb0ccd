// The program's option button: Caption with "&" access key, Value (setting it True in code
// selects it and fires Click), BackColor and ForeColor (0xBBGGRR), and the events Click,
// DblClick, KeyDown/KeyPress (setting the code to 0 cancels the key), GotFocus, LostFocus.
// Each option takes part in the Tab order by itself.
#pragma once

#include "Control.h"

#include <QRadioButton>

namespace ui {

class OptionButton : public QRadioButton, public ControlGeometry<OptionButton> {
    Q_OBJECT
public:
    explicit OptionButton(const QString& name, const QString& caption = QString(),
                          QWidget* parent = nullptr);

    QString Caption() const { return text(); }
    void setCaption(const QString& caption) { setText(caption); }
    bool Value() const { return isChecked(); }
    void setValue(bool on);
    long BackColor() const;
    void setBackColor(long bgr);
    long ForeColor() const;
    void setForeColor(long bgr);

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
    void keyReleaseEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void nextCheckState() override;   // a click never unselects
};

} // namespace ui
