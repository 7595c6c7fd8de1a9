#include "shared/ui/list_window.h"

#include <QAbstractItemView>
#include <QDialog>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>

namespace varkel {

namespace {

// Room a cell keeps beside its text, on each side.
int cellMargin(const QWidget* view)
{
    return view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
}

class CutTextTips : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override
    {
        if (event->type() != QEvent::ToolTip || index.data(Qt::ToolTipRole).isValid())
            return QStyledItemDelegate::helpEvent(event, view, option, index);
        const QString text = index.data(Qt::DisplayRole).toString();
        const int room = option.rect.width() - 2 * cellMargin(view);
        const bool whole = !text.contains(QLatin1Char('\n')) && option.fontMetrics.horizontalAdvance(text) <= room;
        if (text.isEmpty() || whole) {
            QToolTip::hideText();
            return true;
        }
        // As rich text, so that a long text wraps instead of running off the screen.
        QToolTip::showText(event->globalPos(),
                           QStringLiteral("<p style='white-space:pre-wrap'>%1</p>").arg(text.toHtmlEscaped()), view,
                           option.rect);
        return true;
    }
};

}  // namespace

void ShowCutTextsOnHover(QAbstractItemView& view)
{
    view.setItemDelegate(new CutTextTips(&view));
}

int ColumnWidth(const QFontMetrics& metrics, const QString& caption, const QString& widest, int most)
{
    constexpr int kSortMark = 20;
    constexpr int kMargins = 8;
    const int needed = std::max(metrics.horizontalAdvance(caption) + kSortMark,
                                metrics.horizontalAdvance(widest.section(QLatin1Char('\n'), 0, 0))) + kMargins;
    return std::min(needed, most);
}

QStatusBar* MakeStatusLine(QDialog& window)
{
    auto* statusLine = new QStatusBar(&window);
    statusLine->setObjectName(QStringLiteral("statusLine"));
    statusLine->setSizeGripEnabled(true);
    return statusLine;
}

void LayOutListWindow(QDialog& window, QWidget* list, QLabel* summary, std::initializer_list<QPushButton*> buttons,
                      QStatusBar* statusLine)
{
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton* button : buttons) {
        button->setAutoDefault(false);
        row->addWidget(button);
    }
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(8, 8, 8, 0);
    layout->addWidget(list, 1);
    layout->addWidget(summary);
    layout->addLayout(row);
    layout->addWidget(statusLine);
}

}  // namespace varkel
