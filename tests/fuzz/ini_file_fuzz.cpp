// The settings file: whatever a file holds, a value written is the value read back.
//
// Input: section, key and value, each a length byte and its bytes, then the file.
// Section, key and value are cut down to what a setting can hold (printable ASCII,
// trimmed, a key without '=' that cannot read as a section header, a value of at most
// 127 characters that does not start with a quote).

#include "fuzz_support.h"

#include "shared/ini_file.h"

#include <cstring>

namespace varkel::fuzz {

namespace {

QString printable(const QByteArray& bytes, const char* excluded)
{
    QString text;
    for (const char c : bytes) {
        if (c >= ' ' && c <= '~' && !std::strchr(excluded, c))
            text += QLatin1Char(c);
    }
    return text.trimmed();
}

QByteArray piece(const QString& text)
{
    return Byte(int(text.size())) + text.toLatin1();
}

}  // namespace

std::vector<QByteArray> Seeds(const QString& demoFolder)
{
    const QString path = TempPath(QStringLiteral("seed.ini"));
    WriteFile(path, "; kept\r\n[Other]\r\nInstallDir=x\r\n\r\n[varkel]\r\nsize = 3\r\n");
    FUZZ_CHECK(!WriteIniValue(path, QStringLiteral("Varkel"), QStringLiteral("InstallDir"), demoFolder));
    const QByteArray settings = ReadFile(path);
    const QByteArray setting = piece(QStringLiteral("Varkel")) + piece(QStringLiteral("InstallDir"));
    return {setting + piece(QStringLiteral("C:\\Varkel\\")) + settings, setting + piece(QStringLiteral("\"quoted\"")),
            piece(QStringLiteral("varkel")) + piece(QStringLiteral("SIZE")) + piece(QStringLiteral("7")) + settings,
            piece(QStringLiteral("Other")) + piece(QStringLiteral("a")) + piece(QString()) +
                "[Other]\nb=1\n[Other]\na=2"};
}

}  // namespace varkel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace varkel;
    using namespace varkel::fuzz;
    FuzzInput input(data, size);
    const QString section = printable(input.take(input.byte()), "[]");
    QString key = printable(input.take(input.byte()), "=");
    while (key.startsWith(QLatin1Char('[')))
        key = key.mid(1).trimmed();
    QString value = printable(input.take(input.byte()), "").left(127).trimmed();
    while (value.startsWith(QLatin1Char('"')) || value.startsWith(QLatin1Char('\'')))
        value = value.mid(1).trimmed();
    const QByteArray file = input.rest();

    const QString path = TempPath(QStringLiteral("VarkelEditor.ini"));
    WriteFile(path, file);
    ReadIniValue(path, section, key, QStringLiteral("default"));
    if (key.isEmpty())
        return 0;
    FUZZ_CHECK(!WriteIniValue(path, section, key, value));
    FUZZ_CHECK(ReadIniValue(path, section, key, QStringLiteral("default")) == value);
    return 0;
}
