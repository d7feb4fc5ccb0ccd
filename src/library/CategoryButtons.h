// The category buttons that the library window and the Central Sales Tax window carry on
// their toolbars: eleven keyed buttons with captions and tool tips, "Rules" with a drop-down
// of two payment entries that nothing answers.
#pragma once

namespace ui {
class Toolbar;
}

namespace library {

void addCategoryButtons(ui::Toolbar& toolbar);

} // namespace library
