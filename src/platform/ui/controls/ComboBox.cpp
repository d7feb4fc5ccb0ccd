#include "platform/ui/controls/ComboBox.h"

#include "platform/db/Error.h"

#include <QAbstractItemView>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStylePainter>

namespace ui {

ComboBox::ComboBox(const QString& name, QWidget* parent) : ControlEvents(parent)
{
    setObjectName(name);
    setEditable(false);
    // activated: the user's choice, even of the entry already shown.
    connect(this, &QComboBox::activated, this, [this](int) { emit Click(); });
    connect(this, &QComboBox::currentIndexChanged, this, [this](int) { setToolTip(currentText()); });
}

void ComboBox::AddItem(const QString& text)
{
    addItem(text);
}

void ComboBox::Clear()
{
    const QSignalBlocker quiet(this);
    clear();
    setToolTip(QString());
}

QString ComboBox::List(int index) const
{
    return index >= 0 && index < count() ? itemText(index) : QString();
}

void ComboBox::setListIndex(int index)
{
    if (index < -1 || index >= count())
        throw ado::Error(380, QStringLiteral("Invalid property value"), QStringLiteral("ComboBox"));
    setCurrentIndex(index);
    emit Click();
}

void ComboBox::setText(const QString& text)
{
    const int index = findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0)
        throw ado::Error(383, QStringLiteral("'Text' property is read-only"), QStringLiteral("ComboBox"));
    setCurrentIndex(index);
}

void ComboBox::showPopup()
{
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth) * 2;
    const int scroll = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    view()->setMinimumWidth(std::max(width(), view()->sizeHintForColumn(0) + frame + scroll));
    QComboBox::showPopup();
}

int ComboBox::textRoom() const
{
    QStyleOptionComboBox option;
    initStyleOption(&option);
    // The label is drawn one pixel in from either side of the edit field.
    return style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this).width() - 2;
}

QString ComboBox::shownText() const
{
    return fontMetrics().elidedText(currentText(), Qt::ElideMiddle, textRoom());
}

void ComboBox::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    option.currentText = shownText();
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

} // namespace ui
