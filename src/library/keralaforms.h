// The document window: shows the document of the first row of a one-column query, opens it
// in its own application on a click, runs a moving hint along its top edge, and on closing
// hides itself and, in the Kerala library, brings the library window back.
//
// A caller binds it: MSRDC1->setConnect(...), MSRDC1->setSQL(...), MSRDC1->Refresh(),
// OLE1->setDataField("fname"), then Show().
#pragma once

#include "platform/ui/forms/Form.h"

class QLabel;
class QPushButton;
namespace ui {
class OleView;
class RemoteData;
class Timer;
}

class keralaforms : public ui::Form {
    Q_OBJECT
public:
    keralaforms();

    // Binds the window to the first row of `sql` on `connectString` and shows it owned by
    // `owner`. With `checkPlaceholder`, a query that yields no document keeps the placeholder
    // binding the check has made.
    void bindAndShow(QWidget* owner, const QString& sql, const QString& connectString, bool checkPlaceholder);

    void procLayoutDocument();
    void OLE1_Click();
    void Picture4_Click() { closeWindow(); }
    void Timer1_Timer();
    void Timer2_Timer();

    ui::RemoteData* MSRDC1 = nullptr;
    ui::OleView* OLE1 = nullptr;
    QLabel* Label1 = nullptr;
    ui::Timer* Timer1 = nullptr;
    ui::Timer* Timer2 = nullptr;
    QLabel* Picture4 = nullptr;
    QPushButton* cmdCancelNonVisible = nullptr;

protected:
    void Form_Load() override;
    void Form_Resize() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void closeWindow();
};
