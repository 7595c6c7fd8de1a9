#include "saveeditor/ui/growth_forecast_dialog.h"

#include "shared/picture_banks.h"
#include "shared/texts.h"
#include "shared/ui/control_names.h"
#include "shared/ui/standard_error.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace varkel {

GrowthForecastDialog::GrowthForecastDialog(Session& session, const std::array<QString, 8>& lines,
                                           const QString& likenessName, int likenessFace, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(GetResText(Text::GrowthForecastTitle));
    setModal(true);

    Label1 = named(new QLabel(QStringLiteral("你的孩子將來會成為這樣"), this), QStringLiteral("Label1"));
    auto* frame = new QGroupBox(this);
    auto* grid = new QGridLayout(frame);
    // Each ability's rating, then the room it has left.
    for (int a = 0; a < 4; ++a) {
        grid->addWidget(new QLabel(GetResText(Text::Abilities.first + a), frame), a, 0, Qt::AlignRight);
        for (int column = 0; column < 2; ++column) {
            const int i = a + 4 * column;
            Label2[i] = named(new QLabel(lines[std::size_t(i)], frame), indexed("Label2", i));
            grid->addWidget(Label2[i], a, 1 + column);
        }
    }

    auto* likeness = new QVBoxLayout;
    Picture2 = MakeFacePicture(QStringLiteral("Picture2"), this);
    Label3 = named(new QLabel(likenessName, this), QStringLiteral("Label3"));
    Label3->setAlignment(Qt::AlignCenter);
    if (!likenessName.isEmpty())
        ShowFace(session, Picture2, likenessFace);
    likeness->addWidget(Picture2);
    likeness->addWidget(Label3);
    likeness->addStretch();

    Command1 = named(new QPushButton(QStringLiteral("明白了"), this), QStringLiteral("Command1"));
    connect(Command1, &QPushButton::clicked, this, &QDialog::accept);
    Command1->setDefault(true);

    auto* body = new QHBoxLayout;
    body->addLayout(likeness);
    body->addWidget(frame, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addLayout(body);
    layout->addWidget(Command1, 0, Qt::AlignRight);
}

}  // namespace varkel
