// A program folder of its own for one test: built in a temp dir from data/ with the same
// builder as the program, and made the program folder for the test's duration.
#pragma once

#include <QString>
#include <QTemporaryDir>

class TestProgramFolder {
public:
    TestProgramFolder();              // builds and installs; fails the test on error
    ~TestProgramFolder();             // resets the program folder
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.path() + "/" + name; }

private:
    QTemporaryDir dir_;
};
