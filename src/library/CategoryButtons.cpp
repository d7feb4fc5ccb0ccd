#include "CategoryButtons.h"

#include "platform/ui/controls/Toolbar.h"

namespace library {

namespace {

struct CategoryButton {
    const char* caption;
    const char* key;
    const char* tip;
};

constexpr CategoryButton kButtons[] = {
    {"Act", "Act", "Act"},
    {"Rules", "rul", "Rules"},
    {"Circulars", "circu", "Circulars"},
    {"Notification", "not", "Notification"},
    {"Schedules", "sch", "Schedules"},
    {"Judgements", "jud", "Judgements"},
    {"Forms", "forms", "Word Forms"},
    {"Allied", "Ali", "Allied Act,Forms,Rules"},
    {"R.Judgement", "rec", "Recent Judgements"},
    {"CA", "ca", "Tools for Chartered Accountants"},
    {"Back", "bac", "Back to Main Menu"},
};

} // namespace

void addCategoryButtons(ui::Toolbar& toolbar)
{
    for (const CategoryButton& d : kButtons) {
        const QString key = QString::fromLatin1(d.key);
        const bool dropdown = key == QLatin1String("rul");
        ui::Button* b = toolbar.addButton(key, QString::fromLatin1(d.caption),
                                          dropdown ? ui::tbrDropdown : ui::tbrDefault);
        b->setToolTipText(QString::fromLatin1(d.tip));
        if (dropdown) {
            b->addButtonMenu(QStringLiteral("CP"), QStringLiteral("Cash Payment"));
            b->addButtonMenu(QStringLiteral("BP"), QStringLiteral("Bank Payment"));
        }
    }
}

} // namespace library
