#pragma once

namespace led::cli {

extern const char* const ImportUsage;
extern const char* const ExportUsage;
int runImport(int argc, char** argv);
int runExport(int argc, char** argv);

} // namespace led::cli
