// The Central Sales Tax window: three documents of its own (the contents of the Central Sales
// Tax Act, 1956, the contents of its forms, and a one-entry test document), one shown at a time
// by the toolbar; a click opens the shown document in the desktop's own application. A tree
// lists the states and does nothing more. The main window opens it for the key "Centr".
#pragma once

#include "platform/ui/forms/Form.h"

class QLabel;
namespace ui {
class ImageList;
class OleView;
class Toolbar;
class TreeView;
}

class central : public ui::Form {
    Q_OBJECT
public:
    central();

    void Toolbar2_ButtonClick(const QString& key);
    void OLE1_Click();
    void OLE2_Click();
    void OLE3_Click();

    ui::TreeView* Tvw = nullptr;
    ui::Toolbar* Toolbar2 = nullptr;
    ui::ImageList* ImageList1 = nullptr;
    ui::ImageList* ImageList2 = nullptr;
    ui::OleView* OLE1 = nullptr;   // contents of the Act
    ui::OleView* OLE2 = nullptr;   // contents of the forms
    ui::OleView* OLE3 = nullptr;   // the test document
    QLabel* Label3 = nullptr;
    QLabel* img1 = nullptr;
    QLabel* Picture1 = nullptr;

protected:
    void Form_Load() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showDocument(ui::OleView* document);
    void openDocument(ui::OleView* document);
    void reportOpenFailure(const QString& why);
    void sendToBack();
};
