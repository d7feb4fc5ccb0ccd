// Starts the program: the runtime creates the start-up window, which does the rest.
#include "platform/ui/Form.h"
#include "shell/frmLaunch.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ui::form<frmLaunch>();
    return app.exec();
}
