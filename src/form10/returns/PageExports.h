// The Form 10 page tables tblMPage1 .. tblMPage5 and the exports that fill them from the
// register screen's total labels. What the Export command needs besides the exports
// themselves (which are procedures of frmNormal).
#pragma once

#include <QString>

class frmNormal;

namespace f10 {

// When the month of the return is empty (after trimming): asks for it ("Please Enter Return
// Period  "), puts the focus on the month box and returns true. Returns false otherwise.
bool returnPeriodMissing(frmNormal& form);

// What an export writes, for a message ("the local purchase totals to page 3 (tblMPage3)");
// the procedure name itself for a name that is no export.
QString exportDescription(const QString& procedure);

} // namespace f10
