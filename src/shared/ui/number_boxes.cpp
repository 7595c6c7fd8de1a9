#include "shared/ui/number_boxes.h"

#include "shared/ui/control_names.h"
#include "shared/ui/input_filters.h"

#include <QFontMetrics>

#include <algorithm>

namespace varkel {

void FitBoxWidth(QLineEdit* box, int chars, bool doubleByte)
{
    const QFontMetrics m(box->font());
    const int each = doubleByte ? m.horizontalAdvance(QChar(0x570B)) : m.horizontalAdvance(QLatin1Char('0'));
    box->setFixedWidth(each * std::max(chars, 2) + 14);
}

QLineEdit* MakeNumberBox(const FieldSpec& field, QWidget* parent)
{
    auto* box = named(new QLineEdit(parent), field.control);
    UseDigitFilter(box, field.maxDigits);
    FitBoxWidth(box, field.maxDigits, false);
    box->setReadOnly(field.readOnly);
    return box;
}

}  // namespace varkel
