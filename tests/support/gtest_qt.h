#pragma once

// Readable GoogleTest failure messages for Qt strings and byte arrays.

#include "shared/runtime_error.h"

#include <QByteArray>
#include <QString>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QByteArray& bytes, std::ostream* os)
{
    *os << bytes.size() << " bytes: " << bytes.left(48).toHex(' ').toStdString() << (bytes.size() > 48 ? " ..." : "");
}

namespace varkel {

inline void PrintTo(const RuntimeError& error, std::ostream* os)
{
    *os << error.englishMessage().toStdString();
}

}  // namespace varkel
