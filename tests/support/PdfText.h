// The text of a PDF file as pdftotext (poppler-utils) reads it, laid out as on the page:
// what a person copying from the file would get.
#pragma once

#include <QProcess>
#include <QString>
#include <gtest/gtest.h>

inline QString pdfText(const QString& path)
{
    QProcess p;
    p.start("pdftotext", {"-layout", path, "-"});
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        ADD_FAILURE() << "pdftotext failed on " << path.toStdString() << ": " << p.errorString().toStdString();
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}
