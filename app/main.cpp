// Starts the program: the runtime creates the start-up window, which does the rest.
#include "platform/ui/forms/Form.h"
#include "platform/ui/forms/StartupWarmUp.h"
#include "shell/frmLaunch.h"

#include <QApplication>

int main(int argc, char** argv)
{
    ui::StartupWarmUp warmUp;   // beside the display connection and the first windows
    QApplication app(argc, argv);
    warmUp.applicationReady();
    ui::form<frmLaunch>();
    warmUp.finish();
    return app.exec();
}
