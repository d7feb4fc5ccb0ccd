// What a person could not read whole, one line each (empty when all reads well): the labels,
// buttons and frame titles of a window whose text, in the control's own font, is wider than
// the room the control gives it, or is set smaller than the system font; and the drop-down
// boxes whose shown entry is cut, unless it is shortened in the middle with the whole entry in
// the tool tip. Hidden controls count too: they show later as they are.
#pragma once

#include "platform/ui/controls/ComboBox.h"
#include "platform/ui/grids/FlexGrid.h"
#include "platform/ui/reports/ReportLayout.h"
#include "platform/ui/forms/Twips.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextDocument>
#include <string>
#include <QToolButton>
#include <vector>

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
    for (const ui::ComboBox* c : window->findChildren<ui::ComboBox*>()) {
        const QString whole = c->Text();
        const QString shown = c->shownText();
        check(c, shown, c->textRoom());
        const QString ellipsis(QChar(0x2026));
        if (shown != whole) {
            const QStringList ends = shown.split(ellipsis);
            const bool middleCut = ends.size() == 2 && whole.startsWith(ends[0]) && whole.endsWith(ends[1])
                                   && !ends[0].isEmpty() && !ends[1].isEmpty();
            if (!middleCut || c->toolTip() != whole)
                found << QStringLiteral("%1 shows \"%2\" of \"%3\" (tool tip \"%4\")")
                             .arg(c->objectName(), shown, whole, c->toolTip());
        }
    }
    for (const QGroupBox* g : window->findChildren<QGroupBox*>())
        check(g, g->title(), g->width() - 16);   // the title's indent on either side
    return found.join(QLatin1Char('\n')).toStdString();
}

// The room a line edit gives its text: its contents less its text margins and the two pixels
// it keeps on either side.
inline int lineEditRoom(const QLineEdit* e)
{
    QStyleOptionFrame opt;
    opt.initFrom(e);
    opt.rect = e->rect();
    opt.lineWidth = e->hasFrame() ? e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, e) : 0;
    opt.midLineWidth = 0;
    opt.state |= QStyle::State_Sunken;
    const QRect contents = e->style()->subElementRect(QStyle::SE_LineEditContents, &opt, e).marginsRemoved(e->textMargins());
    return contents.width() - 2 * 2;
}

// What of the given controls' own texts a person could not read whole, one line each (empty
// when all reads well): a label's caption, a line edit's text, each cell of a flex grid, in
// the control's own font against the room the control gives it.
inline std::string clippedTexts(const std::vector<const QWidget*>& controls)
{
    QStringList found;
    auto check = [&](const QWidget* w, const QString& where, const QString& text, int room) {
        const int needed = QFontMetrics(w->font()).horizontalAdvance(text);
        if (!text.trimmed().isEmpty() && needed > room)
            found << QStringLiteral("%1 \"%2\" needs %3 px, has %4").arg(where, text).arg(needed).arg(room);
    };
    for (const QWidget* w : controls) {
        if (const auto* l = qobject_cast<const QLabel*>(w)) {
            check(l, l->objectName(), l->text(), l->contentsRect().width() - 2 * l->margin() - l->indent());
        } else if (const auto* e = qobject_cast<const QLineEdit*>(w)) {
            check(e, e->objectName(), e->text(), lineEditRoom(e));
        } else if (const auto* g = qobject_cast<const ui::FlexGrid*>(w)) {
            for (int r = 0; r < g->Rows(); ++r)
                for (int c = 0; c < g->Cols(); ++c)
                    for (const QString& line : g->TextMatrix(r, c).split(QStringLiteral("\r\n")))
                        check(g, QStringLiteral("%1(%2, %3)").arg(g->objectName()).arg(r).arg(c), line.trimmed(),
                              ui::toPixels(g->ColWidth(c)) - ui::FlexGrid::kTextInset.left()
                                  - ui::FlexGrid::kTextInset.right());
        } else {
            found << QStringLiteral("%1: no text to check").arg(w->objectName());
        }
    }
    return found.join(QLatin1Char('\n')).toStdString();
}

// The texts of a laid-out report wider than the place it gives them, one line each (empty
// when all fit). A text too wide for its cell is broken over lines before it is placed, so
// a figure read whole is also one text of the layout.
inline std::string clippedReportTexts(const ui::ReportLayout& layout)
{
    QStringList found;
    for (size_t p = 0; p < layout.pages.size(); ++p)
        for (const ui::ReportText& t : layout.pages[p].texts) {
            const double needed = QFontMetricsF(ui::reportFont(t.font)).horizontalAdvance(t.text);
            if (needed > t.rect.width() + 0.01)
                found << QStringLiteral("page %1 \"%2\" needs %3, has %4").arg(p + 1).arg(t.text).arg(needed).arg(t.rect.width());
        }
    return found.join(QLatin1Char('\n')).toStdString();
}
