// Small services the library's screens share through one instance (LawDbState::Service).
#pragma once

#include <QString>

namespace ui {
class ListBox;
}

namespace lawdb {

class clsService {
public:
    // Selects the first entry of the list that begins with `text`, ignoring case, searching
    // the whole list from its start, and returns its index; with no such entry the selection
    // is cleared and the result is -1. Never raises: a failure returns 0.
    long ListBoxTypingSearch(ui::ListBox& list, const QString& text) const;
};

} // namespace lawdb
