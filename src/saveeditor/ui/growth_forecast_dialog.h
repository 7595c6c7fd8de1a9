#pragma once

#include "shared/session.h"

#include <QDialog>

#include <array>

class QLabel;
class QPushButton;

namespace varkel {

// The growth forecast of a child: eight lines (a rating and the room left for
// each ability) beside the name and face of an officer shown as its likeness.
// Its caller fills the lines and chooses the likeness; shown modally.
class GrowthForecastDialog : public QDialog {
    Q_OBJECT
public:
    // `likeness` is an officer's name and face; an empty name shows no likeness.
    GrowthForecastDialog(Session& session, const std::array<QString, 8>& lines, const QString& likenessName,
                         int likenessFace, QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    std::array<QLabel*, 8> Label2{};
    QLabel* Label3 = nullptr;
    QLabel* Picture2 = nullptr;
    QPushButton* Command1 = nullptr;
};

}  // namespace varkel
