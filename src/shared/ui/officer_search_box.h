#pragma once

#include "shared/officer_search.h"

#include <QObject>

#include <optional>

class QLabel;
class QLineEdit;
class QListWidget;

namespace varkel {

class Prompter;

// The search box beside an officer list: the first character typed chooses search
// by name or by number (shown in `modeLabel` when there is one), and Enter selects
// the next officer found, or says that none was found.
class OfficerSearchBox : public QObject {
    Q_OBJECT
public:
    // The list's items are numbered from `firstNumber` on.
    OfficerSearchBox(QLineEdit* box, QListWidget* list, QLabel* modeLabel, Prompter& prompter, int firstNumber = 0);

    std::optional<SearchMode> mode() const { return mode_; }
    void search();

private:
    void textChanged(const QString& text);

    QLineEdit* box_;
    QListWidget* list_;
    QLabel* modeLabel_;
    Prompter& prompter_;
    int firstNumber_;
    std::optional<SearchMode> mode_;
};

}  // namespace varkel
