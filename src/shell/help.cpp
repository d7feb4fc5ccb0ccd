#include "help.h"

#include "platform/db/Error.h"
#include "platform/ui/controls/Control.h"
#include "platform/sys/ProgramFolder.h"
#include "platform/ui/forms/MsgBox.h"
#include "platform/ui/documents/RichTextBox.h"
#include "platform/vb/Vb.h"

namespace {

QString documentFile(int number)
{
    switch (number) {
    case 1: return QStringLiteral("\\HELP VAT.rtf");
    case 3: return QStringLiteral("\\ACK.rtf");
    case 5: return QStringLiteral("\\DEALERS.rtf");
    case 7: return QStringLiteral("\\PRODUCTS.rtf");
    default: return QString();
    }
}

} // namespace

help::help()
    : RichTextWindow(QStringLiteral("help"), QString(), 11415, ui::RGB(255, 255, 192), CloseAction::HideAndShowMain,
                     PrintAction::WhenFileExists)
{
}

void help::Form_Load()
{
    vb::skip([this] { setWindowState(ui::vbMaximized); });
    vb::skip([this] { DocsFolder = sys::programFolder() + QStringLiteral("\\docs"); });
    vb::skip([this] { RichTextBox1->LoadFile(DocsFolder + documentFile(1)); });
}

int help::SHOW_DOCUMENT(int number)
{
    try {
        Load();
        const QString file = documentFile(number);
        if (!file.isEmpty())
            RichTextBox1->LoadFile(DocsFolder + file);
        Show(ui::vbModeless);
        RichTextBox1->Refresh();
    } catch (const ado::Error& e) {
        ui::MsgBox(QStringLiteral("SHOW_DOCUMENT :") + e.Description(), ui::vbOKOnly);
    } catch (const std::exception& e) {
        ui::MsgBox(QStringLiteral("SHOW_DOCUMENT :") + QString::fromLocal8Bit(e.what()), ui::vbOKOnly);
    }
    return 0;
}
