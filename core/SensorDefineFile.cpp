#include "core/SensorDefineFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>

namespace {
const char* const SwitchNames[SensorDefineFile::SwitchCount] = {
    "SUPPORT_SENSOR_MODE_SEL", "SUPPORT_LOD_CAL",     "SUPPORT_RIPPLE",
    "SUPPORT_FIXLINE",         "SUPPORT_MOTION_SYNC", "SUPPORT_MOUSEPAD_CAL",
};

int DecimalValue(const QString& text)
{
    return text.trimmed().toInt();
}

// Hexadecimal when the text holds "0x" (lower-case x), else decimal.
int DefinitionValue(const QString& text)
{
    if (text.contains(QLatin1String("0x")))
        return text.trimmed().toInt(nullptr, 16);
    return DecimalValue(text);
}
} // namespace

QString SensorDefineFile::SwitchName(Switch which)
{
    return QString::fromLatin1(SwitchNames[which]);
}

QString SensorDefineFile::DefaultPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/driver_sensor.h");
}

bool SensorDefineFile::Read(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    while (!file.atEnd())
        ReadLine(QString::fromUtf8(file.readLine()));
    return true;
}

void SensorDefineFile::ReadLine(const QString& line)
{
    const QStringList pieces = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (pieces.size() == 2) {
        const QStringList fields = pieces.at(1).split(QLatin1Char('\t'), Qt::SkipEmptyParts);
        for (int s = 0; s < SwitchCount; ++s) {
            if (pieces.at(1).contains(QLatin1String(SwitchNames[s]))) {
                if (fields.size() >= 2)
                    switches_[s] = QString(fields.at(1)).remove(QLatin1Char('\n'));
                return;
            }
        }
        // A definition counts only with its line feed: the last line of a file
        // that does not end with one is not taken. An empty value is none.
        if (pieces.at(0) != QLatin1String("#define") || fields.size() < 2
            || !fields.at(1).contains(QLatin1Char('\n')))
            return;
        const QString value = QString(fields.at(1)).remove(QLatin1Char('\n'));
        if (value.trimmed().isEmpty())
            return;
        names_.append(fields.at(0));
        values_.append(DefinitionValue(value));
        return;
    }
    if (pieces.size() == 3 && pieces.at(2).contains(QLatin1String("//"))) {
        const QStringList fields = pieces.at(1).split(QLatin1Char('\t'), Qt::SkipEmptyParts);
        if (fields.size() == 2) {
            names_.append(fields.at(0));
            values_.append(DecimalValue(fields.at(1)));
        }
    }
}

QString SensorDefineFile::SwitchText(Switch which) const
{
    return switches_[which];
}

QString SensorDefineFile::DpiPrefix(const QString& model)
{
    return QStringLiteral("SENSOR_") + model + QStringLiteral("_DPI");
}

bool SensorDefineFile::HasDpiTable(const QStringList& names, const QVector<int>& values, const QString& model)
{
    for (int i = 0; i < names.size(); ++i) {
        if (EntryDpi(names, values, model, i) >= 0)
            return true;
    }
    return false;
}

int SensorDefineFile::DpiOfName(const QString& name)
{
    const int i = name.indexOf(QLatin1Char('I'));
    if (i < 0)
        return 0;
    const QString text = name.mid(i + 2);
    bool ok = false;
    const qlonglong dpi = text.toLongLong(&ok);
    if (!ok) {
        // A number too long for any integer is still a number.
        static const QRegularExpression digits(QStringLiteral("^\\s*[-+]?\\d+\\s*$"));
        return digits.match(text).hasMatch() ? -1 : 0;
    }
    return dpi >= 0 && dpi <= MaxStageDpi ? int(dpi) : -1;
}

int SensorDefineFile::EntryDpi(const QStringList& names, const QVector<int>& values, const QString& model, int i)
{
    if (i < 0 || i >= names.size() || i >= values.size() || !names.at(i).contains(DpiPrefix(model)))
        return -1;
    if (values.at(i) < 0 || values.at(i) > MaxTableRegister)
        return -1;
    return DpiOfName(names.at(i));
}

int SensorDefineFile::DpiOfRegister(const QStringList& names, const QVector<int>& values, const QString& model,
                                    int registerValue)
{
    for (int i = 0; i < names.size(); ++i) {
        const int dpi = EntryDpi(names, values, model, i);
        if (dpi >= 0 && values.at(i) == registerValue)
            return dpi;
    }
    return -1;
}

int SensorDefineFile::IndexOfDpi(const QStringList& names, const QVector<int>& values, const QString& model, int dpi)
{
    const QString name = DpiPrefix(model) + QLatin1Char('_') + QString::number(dpi);
    for (int i = names.indexOf(name); i >= 0; i = names.indexOf(name, i + 1)) {
        if (EntryDpi(names, values, model, i) >= 0)
            return i;
    }
    return -1;
}
