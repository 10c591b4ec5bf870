#pragma once

namespace led::cli {

extern const char* const SendUsage;
extern const char* const SendCommandUsage;
int runSend(int argc, char** argv);
int runSendCommand(int argc, char** argv);

} // namespace led::cli
