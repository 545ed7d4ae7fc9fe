// Cases run in a child process of this same test program, watched by the parent: a case
// that crashes or hangs fails by name within a bound instead of taking the whole test
// program down with it (under Wine an unhandled crash waits for a debugger, which is a
// hang as well). The files parent and child share are named so that no other run can
// take them: Wine numbers processes per prefix, so two runs from one build folder in two
// prefixes may have the same process ids.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

// A new empty file in the working folder, "<stem>-<GUID><extension>", made with
// CREATE_NEW (a name that exists already is drawn again); its full path, or "" when
// none could be made.
std::string CreateRunFile(const char* stem, const char* extension);

// The case a child is at, written before each case into a file its parent reads.
class ChildProgress
{
public:
    explicit ChildProgress(const std::string& path);
    ~ChildProgress();
    void Write(unsigned nCase);
    // The case last written, ~0u before the first (or when the file cannot be read).
    static unsigned Read(const std::string& path);

private:
    ChildProgress(const ChildProgress&) = delete;
    ChildProgress& operator=(const ChildProgress&) = delete;
    HANDLE m_hFile;
};

struct ChildOutcome
{
    DWORD dwExitCode = ~0u;  // the exception code for a crash
    bool bHung = false;      // ended by the parent: its case did not change in time
    bool bStarted = false;
};

// How long a child may take to reach its first case.
const DWORD kChildStartMs = 120000;
// Runs this test program again for childTest ("Suite.Name") with the variables set for
// it, and waits while it moves: a child whose case (read from progressPath) stays the
// same for dwStallMs is ended, and so is one that has reached none after kChildStartMs.
// With outputPath, the child's standard output and error go to that file, else to this
// program's.
ChildOutcome RunChildTest(const char* childTest, const std::vector<std::pair<std::string, std::string>>& vars,
                          const std::string& progressPath, DWORD dwStallMs, const std::string& outputPath = "");

// In the child: an unhandled crash ends the process at once with its exception code,
// rather than waiting for a debugger.
void EndOnCrash();

// A test whose cases are run by number, each within dwCaseMs. Called in the test's body
// both in the parent and in the child (childTest names that same test): the child runs
// the cases from the one the parent names on, and the parent reports every case that
// failed (with the child's output), crashed or hung, and starts a new child after a crash
// or a hang to run the cases after it.
void RunCasesBounded(const char* childTest, size_t nCases, const std::function<void(size_t)>& runCase,
                     const std::function<std::string(size_t)>& caseName, DWORD dwCaseMs);

}  // namespace testsupport
