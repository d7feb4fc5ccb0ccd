#include "clsService.h"

#include "platform/ui/controls/ListBox.h"

#include <exception>

namespace lawdb {

long clsService::ListBoxTypingSearch(ui::ListBox& list, const QString& text) const
{
    try {
        const int index = list.FindString(text);
        list.setListIndex(index);
        return index;
    } catch (const std::exception&) {
        return 0;
    }
}

} // namespace lawdb
