// The filter a search screen applies to its recordset for the words typed in its search box.
// Pure text work, so that every shape of filter can be checked without a window: the screen
// shows the message, applies the filter, or does nothing, as the outcome says.
#pragma once

#include <QDate>
#include <QString>

namespace library {

struct FilterOutcome {
    enum Kind {
        Apply,    // `filter` is the new filter text; empty means "no filter"
        Reject,   // input the column's type refuses: show `message`, select the box's text
        Silent    // input that may still become right while the user types: change nothing
    };
    Kind kind = Apply;
    QString filter;
    QString message;
};

// caption: the search column's caption (the field name the filter names);
// adoType: the search field's ADO type; typed: the search box's text as typed.
FilterOutcome buildSearchFilter(const QString& caption, int adoType, const QString& typed);

// A whole date as a user types it: "18-Dec-1982", "18/12/1982", "18 December 1982",
// "1982-12-18", two-digit years included; a year of one or three digits is read too, so that
// each keystroke of a year still makes a date. Invalid QDate when the text is no full date.
QDate parseSearchDate(const QString& text);

// 18 December 1982 -> "18/Dec/1982" (English month abbreviations, whatever the locale).
QString formatFilterDate(const QDate& date);

} // namespace library
