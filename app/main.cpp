// Starts the program: the runtime creates the start-up window, which does the rest.
#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return 0;
}
