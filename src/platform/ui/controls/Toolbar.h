// The toolbar: keyed buttons with a caption, a tool tip and an image from an image list; a
// drop-down button carries a menu of keyed entries. A press raises ButtonClick with the
// button, a menu choice ButtonMenuClick with the entry.
#pragma once

#include <QString>
#include <QToolBar>
#include <memory>
#include <vector>

class QAction;
class QMenu;
class QToolButton;

namespace ui {

class Button;
class ImageList;
class Toolbar;

enum ButtonStyle { tbrDefault = 0, tbrCheck = 1, tbrButtonGroup = 2, tbrSeparator = 3,
                   tbrPlaceholder = 4, tbrDropdown = 5 };

class ButtonMenu {
public:
    QString Key() const { return key_; }
    QString Text() const;
    int Index() const { return index_; }
    Button* Parent() const { return parent_; }
    QAction* action() const { return action_; }

private:
    friend class Button;
    ButtonMenu(Button* parent, QAction* action, QString key, int index)
        : parent_(parent), action_(action), key_(std::move(key)), index_(index) {}
    Button* parent_;
    QAction* action_;
    QString key_;
    int index_;
};

class Button {
public:
    QString Key() const { return key_; }
    QString Caption() const;
    void setCaption(const QString& caption);
    QString ToolTipText() const;
    void setToolTipText(const QString& text);
    int Style() const { return style_; }
    int Image() const { return image_; }
    void setImage(int image);
    int Index() const { return index_; }
    bool Visible() const;
    void setVisible(bool visible);
    bool Enabled() const;
    void setEnabled(bool enabled);

    // The entries of a drop-down button, numbered from 1.
    ButtonMenu* addButtonMenu(const QString& key, const QString& text);
    int ButtonMenuCount() const { return static_cast<int>(menus_.size()); }
    ButtonMenu* ButtonMenus(int index) const;
    ButtonMenu* ButtonMenus(const QString& key) const;

    QToolButton* widget() const { return button_; }   // nullptr for a separator
    Toolbar* toolbar() const { return toolbar_; }

private:
    friend class Toolbar;
    Button(Toolbar* toolbar, QString key, int style, int index)
        : toolbar_(toolbar), key_(std::move(key)), style_(style), index_(index) {}
    Toolbar* toolbar_;
    QToolButton* button_ = nullptr;
    QAction* slot_ = nullptr;          // the toolbar's action that holds the button
    QMenu* menu_ = nullptr;
    QString key_;
    int style_;
    int image_ = 0;
    int index_;
    std::vector<std::unique_ptr<ButtonMenu>> menus_;
};

class Toolbar : public QToolBar {
    Q_OBJECT
public:
    explicit Toolbar(const QString& objectName, QWidget* parent = nullptr);
    ~Toolbar() override;

    // Adds a button at the end; raises 35602 when the key is already used.
    Button* addButton(const QString& key, const QString& caption, int style = tbrDefault, int image = 0);
    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    // 1-based index or key; raises 35600 / 35601 when there is none.
    Button* Buttons(int index) const;
    Button* Buttons(const QString& key) const;
    Button* findButton(const QString& key) const;   // nullptr when unknown

    void setImageList(ImageList* list);
    ImageList* imageList() const { return imageList_; }

    // What a press of the button does (tests and keyboard use): raises ButtonClick.
    void press(Button* button);

signals:
    void ButtonClick(ui::Button* button);
    void ButtonMenuClick(ui::ButtonMenu* menu);

private:
    friend class Button;
    void applyImage(Button* button);
    std::vector<std::unique_ptr<Button>> buttons_;
    ImageList* imageList_ = nullptr;
};

} // namespace ui
