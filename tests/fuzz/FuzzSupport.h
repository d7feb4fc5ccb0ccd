// What the fuzz targets share: the input as text, and a check that stops the run with the
// input's finding when a property the program relies on does not hold.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

inline QByteArray bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

inline QString text(const uint8_t* data, size_t size) { return QString::fromUtf8(bytes(data, size)); }

// A finding: the property, then abort(), which both libFuzzer and the replay report with the input.
[[noreturn]] inline void fail(const char* property, const QString& detail = {})
{
    std::fprintf(stderr, "fuzz finding: %s %s\n", property, detail.toUtf8().constData());
    std::abort();
}

inline void require(bool holds, const char* property, const QString& detail = {})
{
    if (!holds)
        fail(property, detail);
}

// No infinity or NaN is ever shown or stored as text.
inline bool showsNoInfinity(const QString& s)
{
    return !s.contains(QLatin1String("inf"), Qt::CaseInsensitive) && !s.contains(QLatin1String("nan"), Qt::CaseInsensitive);
}

} // namespace fuzz
