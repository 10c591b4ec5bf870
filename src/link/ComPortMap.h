#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <filesystem>

namespace led {

class IniFile;

namespace texts {
inline constexpr const char* NoSerialDevice = "找不到裝置";
} // namespace texts

// Project files keep COM1..COM15; this says which serial device each number stands for.
// Precedence: the environment variable LEDCAPTION_COM<n>, then COMn= in [PORTS] of
// DATA/BAKART.INI, then the n-th device the system reports.
class ComPortMap
{
public:
    static constexpr int ComCount = 15;

    enum class Source
    {
        None,
        Detected,
        Ini,
        Environment
    };

    // detected: the system's serial devices; COMn is the n-th in the natural order of
    // their paths, so that ttyS2 comes before ttyS10.
    explicit ComPortMap(QStringList detected = {});
    static QStringList detectedDevices();
    static ComPortMap fromSystem();

    // Reads [PORTS] COMn=path; entries outside COM1..COM15 and empty values are ignored.
    void loadIni(const IniFile& bakart);
    // A missing or unreadable file leaves the map as it is.
    bool loadIniFile(const std::filesystem::path& bakartPath);

    // The device behind COMn, or an empty text when there is none.
    QString devicePath(int com) const;
    Source source(int com) const;
    // "COM3 → /dev/ttyUSB0"; port 16 is "TCP/IP".
    QString statusText(int com) const;

    static QString environmentName(int com);

private:
    QStringList m_detected;
    std::array<QString, ComCount> m_explicit;
};

} // namespace led
