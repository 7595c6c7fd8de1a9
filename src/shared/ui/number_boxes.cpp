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

void PlaceInGrid(QGridLayout& grid, QLabel* caption, QLineEdit* box, int i, int perRow)
{
    grid.addWidget(caption, i / perRow, 2 * (i % perRow), Qt::AlignRight);
    grid.addWidget(box, i / perRow, 2 * (i % perRow) + 1);
}

void PlaceChoiceInGrid(QGridLayout& grid, QLabel* caption, QComboBox* list, int k, int firstRow)
{
    grid.addWidget(caption, firstRow + k / 2, 4 * (k % 2), 1, 1, Qt::AlignRight);
    grid.addWidget(list, firstRow + k / 2, 4 * (k % 2) + 1, 1, 3);
}

void FitLifespanBox(QLineEdit* box)
{
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0.5")) + 14);
}

}  // namespace varkel
