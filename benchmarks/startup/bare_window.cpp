// The yardstick for the start-up figure: a bare Qt main window, started and shown the way
// the program shows its main window.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow w;
    w.setWindowTitle(QStringLiteral("bare"));
    w.resize(800, 600);
    w.show();
    return app.exec();
}
