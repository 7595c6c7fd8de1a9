#include "shared/number_fields.h"

#include "shared/texts.h"

namespace varkel {

QString FieldProblemMessage(const QString& label, const QString& detail)
{
    return GetResText(259) + QStringLiteral("\n「%1」%2").arg(label, detail);
}

NumberReading ReadNumber(const QString& control, const QString& label, const QString& text, std::optional<int> lower,
                         std::optional<int> upper, int storableMax)
{
    NumberReading r;
    bool ok = false;
    const QString trimmed = text.trimmed();
    const qlonglong value = trimmed.toLongLong(&ok);
    if (trimmed.isEmpty() || !ok || value < 0) {
        r.problem = FieldProblem{control, FieldProblemMessage(label, QStringLiteral("必須是數字。"))};
        return r;
    }
    qlonglong v = value;
    if (upper && v > *upper)
        v = *upper;
    if (lower && v < *lower)
        v = *lower;
    if (v > storableMax) {
        r.problem = FieldProblem{control, FieldProblemMessage(label, QStringLiteral("不能大於%1。").arg(storableMax))};
        return r;
    }
    r.value = static_cast<int>(v);
    r.clamped = v != value;
    return r;
}

}  // namespace varkel
