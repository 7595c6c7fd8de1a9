#include "shared/ui/list_window.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace varkel {

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
