// The program's debug log: printf-style lines appended to "~debug.log" in the current
// directory. The first line of a run starts the file afresh; every line is on disk
// when the call returns. Failures are silent: the log must never stop the program.
#pragma once

void DebugLog(const char* format, ...)
#ifdef __GNUC__
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// Forgets that this run's log was started, so the next line truncates the file again.
// The tests use it to see the first-line behaviour more than once in one process.
void DebugLogRestart();
