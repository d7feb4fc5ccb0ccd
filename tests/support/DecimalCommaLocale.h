// The process locale set to one that writes numbers with a decimal comma (de_DE.UTF-8), as an
// application that adopts the user's locale gets it, for the duration of a test. A machine
// without that locale gets it made with localedef in a folder of the test's own, found through
// LOCPATH, so the test runs on a fresh machine too.
#pragma once

#include <QString>

class DecimalCommaLocale {
public:
    DecimalCommaLocale();    // fails the test when no such locale can be had
    ~DecimalCommaLocale();   // the locale before it, back
    DecimalCommaLocale(const DecimalCommaLocale&) = delete;
    DecimalCommaLocale& operator=(const DecimalCommaLocale&) = delete;

    bool active() const { return active_; }

private:
    QString previous_;
    bool active_ = false;
};

// The locale in which the program's figures are the reference: C.UTF-8 (or C), for a test's
// duration.
class PlainLocale {
public:
    PlainLocale();
    ~PlainLocale();
    PlainLocale(const PlainLocale&) = delete;
    PlainLocale& operator=(const PlainLocale&) = delete;

private:
    QString previous_;
};
