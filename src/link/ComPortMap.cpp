#include "link/ComPortMap.h"

#include "core/document/FileIO.h"
#include "core/document/IniFile.h"
#include "core/document/Settings.h"

#include <QFile>
#include <QSerialPortInfo>

#include <algorithm>

namespace led {
namespace {

bool isComNumber(int com)
{
    return com >= 1 && com <= ComPortMap::ComCount;
}

QStringView withoutLeadingZeros(QStringView digits)
{
    while (digits.size() > 1 && digits.front() == u'0')
        digits = digits.mid(1);
    return digits;
}

// Digit runs compare by value, the rest character by character.
bool naturalLess(const QString& a, const QString& b)
{
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            qsizetype ei = i, ej = j;
            while (ei < a.size() && a[ei].isDigit())
                ++ei;
            while (ej < b.size() && b[ej].isDigit())
                ++ej;
            const QStringView na = withoutLeadingZeros(QStringView(a).mid(i, ei - i));
            const QStringView nb = withoutLeadingZeros(QStringView(b).mid(j, ej - j));
            if (na.size() != nb.size())
                return na.size() < nb.size();
            if (na != nb)
                return na < nb;
            i = ei;
            j = ej;
            continue;
        }
        if (a[i] != b[j])
            return a[i] < b[j];
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

} // namespace

ComPortMap::ComPortMap(QStringList detected) : m_detected(std::move(detected))
{
    std::sort(m_detected.begin(), m_detected.end(), naturalLess);
}

QStringList ComPortMap::detectedDevices()
{
    QStringList devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        devices << info.systemLocation();
    return devices;
}

ComPortMap ComPortMap::fromSystem()
{
    return ComPortMap(detectedDevices());
}

void ComPortMap::loadIni(const IniFile& bakart)
{
    for (int com = 1; com <= ComCount; ++com) {
        const auto value = bakart.value("PORTS", "COM" + std::to_string(com));
        if (value && !value->empty())
            m_explicit[com - 1] = QFile::decodeName(QByteArray::fromStdString(*value));
    }
}

bool ComPortMap::loadIniFile(const std::filesystem::path& bakartPath)
{
    const auto bytes = readFileBytes(bakartPath);
    if (!bytes)
        return false;
    loadIni(IniFile::parse(*bytes));
    return true;
}

QString ComPortMap::environmentName(int com)
{
    return QStringLiteral("LEDCAPTION_COM%1").arg(com);
}

ComPortMap::Source ComPortMap::source(int com) const
{
    if (!isComNumber(com))
        return Source::None;
    if (!qEnvironmentVariable(environmentName(com).toLatin1().constData()).isEmpty())
        return Source::Environment;
    if (!m_explicit[com - 1].isEmpty())
        return Source::Ini;
    if (com <= m_detected.size())
        return Source::Detected;
    return Source::None;
}

QString ComPortMap::devicePath(int com) const
{
    switch (source(com)) {
    case Source::Environment:
        return qEnvironmentVariable(environmentName(com).toLatin1().constData());
    case Source::Ini:
        return m_explicit[com - 1];
    case Source::Detected:
        return m_detected[com - 1];
    case Source::None:
        break;
    }
    return {};
}

QString ComPortMap::statusText(int com) const
{
    if (com == PortTcpIp)
        return QStringLiteral("TCP/IP");
    const QString device = devicePath(com);
    return QStringLiteral("COM%1 → %2")
        .arg(com)
        .arg(device.isEmpty() ? QString::fromUtf8(texts::NoSerialDevice) : device);
}

} // namespace led
