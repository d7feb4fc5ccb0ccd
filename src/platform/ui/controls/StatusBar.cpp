#include "platform/ui/controls/StatusBar.h"

#include "platform/ui/controls/CollectionErrors.h"

#include <QLabel>

namespace ui {

QString Panel::Text() const { return label_->text(); }
void Panel::setText(const QString& text) { label_->setText(text); }

StatusBar::StatusBar(const QString& objectName, QWidget* parent) : QStatusBar(parent)
{
    setObjectName(objectName);
    setSizeGripEnabled(false);
    addPanel();
}

Panel* StatusBar::addPanel(const QString& text)
{
    auto* label = new QLabel(text, this);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setObjectName(QStringLiteral("Panel%1").arg(PanelCount() + 1));
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    addWidget(label, 1);
    panels_.push_back(Panel(label, PanelCount() + 1));
    return &panels_.back();
}

Panel* StatusBar::Panels(int index)
{
    if (index < 1 || index > PanelCount())
        raiseIndexOutOfBounds(QStringLiteral("MSComctlLib.StatusBar"));
    return &panels_[static_cast<std::size_t>(index - 1)];
}

} // namespace ui
