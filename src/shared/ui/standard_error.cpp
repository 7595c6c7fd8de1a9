#include "shared/ui/standard_error.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QLabel>
#include <QPixmap>

#include <cstdlib>

namespace varkel {

void ShowRuntimeError(Prompter& prompter, const RuntimeError& error)
{
    prompter.tell(error.message(), kErrorTitle, MessageIcon::Critical);
}

void ShowFace(Session& session, QLabel* picture, int& n)
{
    if (const auto error = MakeFaceBitmap(n, session.banks, session.tempFolder)) {
        ShowRuntimeError(*session.prompter, *error);
        std::exit(EXIT_FAILURE);
    }
    picture->clear();
    picture->setPixmap(QPixmap(session.faceBitmapPath()));
}

void UseChineseFont()
{
    const QStringList families = QFontDatabase::families();
    for (const QString& wanted : {QStringLiteral("Noto Sans CJK TC"), QStringLiteral("Noto Sans Mono CJK TC"),
                                  QStringLiteral("Noto Serif CJK TC"), QStringLiteral("AR PL UMing TW"),
                                  QStringLiteral("Microsoft JhengHei"), QStringLiteral("PMingLiU")}) {
        if (families.contains(wanted)) {
            QFont font(wanted);
            font.setPointSize(10);
            QApplication::setFont(font);
            return;
        }
    }
    for (const QString& family : families) {
        if (QFontDatabase::writingSystems(family).contains(QFontDatabase::TraditionalChinese)) {
            QApplication::setFont(QFont(family, 10));
            return;
        }
    }
}

}  // namespace varkel
