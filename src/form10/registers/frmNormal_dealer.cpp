// The register screen when the dealer changes under it: what is on view belongs to the dealer
// before, so it is read again for the new one, and bills keyed and not saved are not dropped
// without a word.
#include "form10/registers/frmNormal.h"

#include "form10/registers/Module2.h"
#include "platform/sys/Clock.h"
#include "platform/ui/controls/TextBox.h"
#include "platform/vb/Vb.h"

#include <QLabel>

void frmNormal::procDealerChanged()
{
    lblCustomerName->setText(Module2().DealerName);
    // The entry date and place of the dealer before must not be saved with the new one's
    // bills; the purchase reader puts back those of the rows it finds.
    txtDate->setText(vb::FormatDate(sys::today(), QStringLiteral("dd-mm-yy")));
    txtPlace->setText(QString());
    procReadPurchaseShown();
    procReadSales_1();
}
