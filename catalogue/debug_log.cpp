#include "catalogue/debug_log.h"
#include <cstdarg>
#include <cstdio>

namespace {

const char kLogFileName[] = "~debug.log";

// Name of the log once it has been created in this run; null until then.
const char* g_logName = nullptr;

}  // namespace

void DebugLog(const char* format, ...) {
    if (!g_logName) {
        // First line of the run: start with an empty file.
        FILE* f = std::fopen(kLogFileName, "w+");
        if (!f) return;  // tried again on the next call
        std::fclose(f);
        g_logName = kLogFileName;
    }
    FILE* f = std::fopen(g_logName, "a");
    if (!f) return;
    va_list args;
    va_start(args, format);
    std::vfprintf(f, format, args);
    va_end(args);
    std::fclose(f);
}

void DebugLogRestart() { g_logName = nullptr; }
