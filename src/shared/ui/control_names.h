#pragma once

#include <QString>

namespace varkel {

// Controls carry the names the forms give them ("Command7(0)"), so tests and
// callers find them by objectName.
template <typename W>
W* named(W* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}

// The name of element `i` of a control array: "Text3" and 14 give "Text3(14)".
inline QString indexed(const char* array, int i)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(array)).arg(i);
}

// The index inside an element's name: "Text3(14)" gives 14.
inline int IndexOfControl(const QString& name)
{
    const qsizetype open = name.indexOf(QLatin1Char('('));
    return name.mid(open + 1, name.size() - open - 2).toInt();
}

}  // namespace varkel
