#include "shared/ui/standard_error.h"

#include <QApplication>
#include <QBuffer>
#include <QDebug>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QPixmap>
#include <QTranslator>

namespace varkel {

QString ShownError(const RuntimeError& error)
{
    qWarning().noquote() << error.englishMessage();
    return error.message();
}

void ShowRuntimeError(Prompter& prompter, const RuntimeError& error, const QString& title)
{
    prompter.tell(ShownError(error), title, MessageIcon::Critical);
}

QLabel* MakeFacePicture(const QString& name, QWidget* parent)
{
    auto* picture = new QLabel(parent);
    picture->setObjectName(name);
    picture->setFixedSize(kFaceWidth + 2, kFaceHeight + 2);
    picture->setFrameShape(QFrame::Box);
    picture->setAlignment(Qt::AlignCenter);
    return picture;
}

bool ShowFace(Session& session, QLabel* picture, int& n, const QString& errorTitle)
{
    return ShowTempBitmap(session, picture, kFaceBitmapName, FaceBitmapBytes(session.banks, n), errorTitle);
}

bool ShowTempBitmap(Session& session, QLabel* picture, const QString& name, const QByteArray& bitmap,
                    const QString& errorTitle)
{
    // Without a private folder the picture is only shown, never written where
    // other users could reach it.
    if (!session.tempFolder.isEmpty()) {
        if (const auto error = WriteTempBitmap(session.tempFolder + name, bitmap)) {
            ShowRuntimeError(*session.prompter, *error, errorTitle);
            session.endProgram();
            return false;
        }
    }
    QBuffer buffer;
    buffer.setData(bitmap);
    buffer.open(QIODevice::ReadOnly);
    picture->clear();
    picture->setPixmap(QPixmap::fromImage(ReadImage(buffer, "bmp")));
    return true;
}

QImage ReadImage(QIODevice& device, const char* format)
{
    QImageReader reader(&device, format);
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

void UseProgramIcon()
{
    QFile file(QStringLiteral(":/icons/varkel.png"));
    if (file.open(QIODevice::ReadOnly))
        QApplication::setWindowIcon(QPixmap::fromImage(ReadImage(file, "png")));
}

void UseChineseFont()
{
    // The system's own Traditional Chinese faces first: Windows' on Windows, else Noto's.
    const QStringList families = QFontDatabase::families();
#ifdef Q_OS_WIN
    const QStringList preferred = {QStringLiteral("Microsoft JhengHei"), QStringLiteral("PMingLiU"),
                                   QStringLiteral("Noto Sans CJK TC")};
#else
    const QStringList preferred = {QStringLiteral("Noto Sans CJK TC"), QStringLiteral("Noto Sans Mono CJK TC"),
                                   QStringLiteral("Noto Serif CJK TC"), QStringLiteral("AR PL UMing TW"),
                                   QStringLiteral("Microsoft JhengHei"), QStringLiteral("PMingLiU")};
#endif
    for (const QString& wanted : preferred) {
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

void UseChineseLocale()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::TraditionalChineseScript, QLocale::Taiwan));
}

bool UseChineseTranslation()
{
    static QTranslator translator;
    if (!translator.isEmpty())
        return true;
    if (!translator.load(QStringLiteral("qtbase_zh_TW"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return QCoreApplication::installTranslator(&translator);
}

}  // namespace varkel
