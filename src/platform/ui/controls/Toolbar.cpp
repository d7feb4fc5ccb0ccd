#include "platform/ui/controls/Toolbar.h"

#include "platform/ui/controls/CollectionErrors.h"
#include "platform/ui/controls/ImageList.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>

namespace ui {
namespace {
const QString kSource = QStringLiteral("MSComctlLib.Toolbar");
} // namespace

// ---- Button -----------------------------------------------------------------------------

QString Button::Caption() const { return button_ ? button_->text() : QString(); }

void Button::setCaption(const QString& caption)
{
    if (button_)
        button_->setText(caption);
}

QString Button::ToolTipText() const { return button_ ? button_->toolTip() : QString(); }

void Button::setToolTipText(const QString& text)
{
    if (button_)
        button_->setToolTip(text);
}

void Button::setImage(int image)
{
    image_ = image;
    toolbar_->applyImage(this);
}

bool Button::Visible() const { return slot_ && slot_->isVisible(); }

void Button::setVisible(bool visible)
{
    if (slot_)
        slot_->setVisible(visible);
}

bool Button::Enabled() const { return button_ && button_->isEnabled(); }

void Button::setEnabled(bool enabled)
{
    if (button_)
        button_->setEnabled(enabled);
}

ButtonMenu* Button::addButtonMenu(const QString& key, const QString& text)
{
    if (!button_)
        raiseIndexOutOfBounds(kSource);
    if (!menu_) {
        menu_ = new QMenu(button_);
        button_->setMenu(menu_);
        button_->setPopupMode(QToolButton::MenuButtonPopup);
    }
    QAction* action = menu_->addAction(text);
    action->setObjectName(key);
    menus_.push_back(std::unique_ptr<ButtonMenu>(new ButtonMenu(this, action, key, ButtonMenuCount() + 1)));
    ButtonMenu* entry = menus_.back().get();
    QObject::connect(action, &QAction::triggered, toolbar_, [tb = toolbar_, entry] { emit tb->ButtonMenuClick(entry); });
    return entry;
}

ButtonMenu* Button::ButtonMenus(int index) const
{
    if (index < 1 || index > ButtonMenuCount())
        raiseIndexOutOfBounds(kSource);
    return menus_[static_cast<std::size_t>(index - 1)].get();
}

ButtonMenu* Button::ButtonMenus(const QString& key) const
{
    for (const auto& m : menus_)
        if (m->Key() == key)
            return m.get();
    raiseElementNotFound(kSource);
}

QString ButtonMenu::Text() const { return action_->text(); }

// ---- Toolbar ----------------------------------------------------------------------------

Toolbar::Toolbar(const QString& objectName, QWidget* parent) : QToolBar(parent)
{
    setObjectName(objectName);
    setMovable(false);
    setFloatable(false);
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setIconSize(QSize(24, 24));
}

Toolbar::~Toolbar() = default;

Button* Toolbar::addButton(const QString& key, const QString& caption, int style, int image)
{
    if (!key.isEmpty() && findButton(key))
        raiseKeyNotUnique(kSource);
    buttons_.push_back(std::unique_ptr<Button>(new Button(this, key, style, ButtonCount() + 1)));
    Button* b = buttons_.back().get();
    if (style == tbrSeparator || style == tbrPlaceholder) {
        b->slot_ = addSeparator();
        return b;
    }
    b->button_ = new QToolButton(this);
    b->button_->setObjectName(key);
    b->button_->setText(caption);
    b->button_->setToolButtonStyle(toolButtonStyle());
    b->button_->setAutoRaise(true);
    if (style == tbrCheck)
        b->button_->setCheckable(true);
    b->slot_ = addWidget(b->button_);
    b->image_ = image;
    applyImage(b);
    connect(b->button_, &QToolButton::clicked, this, [this, b] { emit ButtonClick(b); });
    return b;
}

Button* Toolbar::Buttons(int index) const
{
    if (index < 1 || index > ButtonCount())
        raiseIndexOutOfBounds(kSource);
    return buttons_[static_cast<std::size_t>(index - 1)].get();
}

Button* Toolbar::Buttons(const QString& key) const
{
    if (Button* b = findButton(key))
        return b;
    raiseElementNotFound(kSource);
}

Button* Toolbar::findButton(const QString& key) const
{
    if (key.isEmpty())
        return nullptr;
    for (const auto& b : buttons_)
        if (b->key_ == key)
            return b.get();
    return nullptr;
}

void Toolbar::setImageList(ImageList* list)
{
    imageList_ = list;
    for (const auto& b : buttons_)
        applyImage(b.get());
}

void Toolbar::applyImage(Button* b)
{
    if (!b->button_)
        return;
    b->button_->setIcon(imageList_ ? imageList_->Item(b->image_) : QIcon());
    // Without a picture the caption alone, so it is not pushed down by an empty icon.
    b->button_->setToolButtonStyle(b->button_->icon().isNull() ? Qt::ToolButtonTextOnly
                                                               : Qt::ToolButtonTextUnderIcon);
}

void Toolbar::press(Button* button)
{
    if (button && button->button_)
        button->button_->click();
}

} // namespace ui
