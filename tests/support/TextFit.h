// What a person could not read whole, one line each (empty when all reads well): the labels,
// buttons and frame titles of a window whose text, in the control's own font, is wider than
// the room the control gives it, or is set smaller than the system font. Hidden controls
// count too: they show later as they are.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QStringList>
#include <QTextDocument>
#include <string>
#include <QToolButton>

inline std::string unreadableTexts(const QWidget* window)
{
    QStringList found;
    const double systemPoints = QApplication::font().pointSizeF();
    auto check = [&](const QWidget* w, QString text, int room) {
        text.remove(QLatin1Char('&'));
        while (text.endsWith(QLatin1Char(' ')))   // trailing blanks show nothing
            text.chop(1);
        if (text.trimmed().isEmpty())
            return;
        const QString name = w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                                       : w->objectName();
        const int needed = QFontMetrics(w->font()).horizontalAdvance(text);
        if (needed > room)
            found << QStringLiteral("%1 \"%2\" needs %3 px, has %4").arg(name, text).arg(needed).arg(room);
        if (w->font().pointSizeF() + 0.01 < systemPoints)
            found << QStringLiteral("%1 \"%2\" at %3 pt, the system font is %4 pt")
                         .arg(name, text).arg(w->font().pointSizeF()).arg(systemPoints);
    };
    for (const QLabel* l : window->findChildren<QLabel*>()) {
        if (l->wordWrap() || l->textFormat() == Qt::RichText || Qt::mightBeRichText(l->text()))
            continue;   // wrapped and rich texts lay themselves out in their room
        check(l, l->text(), l->contentsRect().width() - 2 * l->margin() - l->indent());
    }
    for (const QAbstractButton* b : window->findChildren<QAbstractButton*>()) {
        const auto* tool = qobject_cast<const QToolButton*>(b);
        const bool iconBeside = !b->icon().isNull()
                                && (!tool || tool->toolButtonStyle() == Qt::ToolButtonTextBesideIcon);
        check(b, b->text(), b->width() - (iconBeside ? b->iconSize().width() + 4 : 0) - 6);
    }
    for (const QGroupBox* g : window->findChildren<QGroupBox*>())
        check(g, g->title(), g->width() - 16);   // the title's indent on either side
    return found.join(QLatin1Char('\n')).toStdString();
}
