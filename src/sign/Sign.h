#pragma once

#include "sign/SignModel.h"

#include <QObject>
#include <QString>

#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace led {

class SignLine;

// The host's local wall clock, for the sign's clock offset.
LocalSeconds hostClock();

// The one sign behind every line: applies what the lines bring, keeps the state file and
// prints the listing.
class Sign : public QObject
{
    Q_OBJECT

public:
    using Printer = std::function<void(const std::string&)>; // UTF-8 lines

    struct Options
    {
        QString statePath; // empty: no state file
        Printer log;       // each transmission's listing; none: quiet
        Printer warn;      // failures to write the state file; none: qWarning
        std::function<LocalSeconds()> clock = hostClock;
    };

    Sign(SignModel model, Options options, QObject* parent = nullptr);

    const SignModel& model() const { return m_model; }

    // Applies complete bytes from a line and returns what the line answers.
    std::vector<Bytes> take(std::string_view bytes, LineAddressing& line);
    // Replaces the state file whole; true when there is none to write.
    bool writeState();
    void note(const std::string& text);

    // Hands every line's held bytes to the sign, as after an idle gap (before stopping).
    void flushLines();

signals:
    void taken(); // after a transmission was applied and the state written

private:
    friend class SignLine;

    SignModel m_model;
    Options m_options;
    std::set<SignLine*> m_lines;
};

} // namespace led
