// The rich-text viewer windows: a document in a rich-text box, a print picture at its top left
// and a close picture at its top right, laid out afresh at every resize. `help` is the one the
// program shows; `ack`, `Dealers` and `frmca` read their documents from MediaRoot, and
// `formsform` and `frmalied` are the same frame around a browser control.
#pragma once

#include "platform/ui/forms/Form.h"

class QLabel;
class QTextBrowser;
namespace ui {
class RichTextBox;
}

class RichTextWindow : public ui::Form {
    Q_OBJECT
public:
    enum class CloseAction { HideAndShowMain, HideOnly };
    enum class PrintAction { WhenFileExists, Always };

    RichTextWindow(const QString& objectName, const QString& caption, int documentWidth, long backColor,
                   CloseAction closeAction, PrintAction printAction);

    void procLayout();
    void Picture1_Click();
    void Picture4_Click();

    ui::RichTextBox* RichTextBox1 = nullptr;
    QLabel* Picture1 = nullptr;   // print
    QLabel* Picture4 = nullptr;   // close

protected:
    void Form_Resize() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Loads a file from MediaRoot; false when it could not be loaded.
    bool loadFromMediaRoot(const QString& relative);

private:
    int documentWidth_;
    CloseAction closeAction_;
    PrintAction printAction_;
};

class ack : public RichTextWindow {
    Q_OBJECT
public:
    ack();

protected:
    void Form_Load() override;
};

class Dealers : public RichTextWindow {
    Q_OBJECT
public:
    Dealers();

protected:
    void Form_Load() override;
};

class frmca : public RichTextWindow {
    Q_OBJECT
public:
    frmca();

protected:
    void Form_Load() override;
};

// The browser-control windows: nothing loads into them.
class formsform : public ui::Form {
    Q_OBJECT
public:
    formsform();
    QTextBrowser* WebBrowser1 = nullptr;
};

class frmalied : public ui::Form {
    Q_OBJECT
public:
    frmalied();
    QTextBrowser* WebBrowser1 = nullptr;
    QLabel* Picture1 = nullptr;
    QLabel* Picture4 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
