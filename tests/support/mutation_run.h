// A deterministic mutation run over readers of files and streams: valid seeds made by the
// writers, then bit flips, truncations and 16- and 32-bit fields set to 0, 1, the largest
// positive and all ones. Each reader runs in a child process (this same test program,
// through the test named by the caller), so a crash or hang fails the test and leaves
// the input that caused it in the working folder. PURGELET_FUZZ_CASES sets the cases per
// reader, PURGELET_FUZZ_ONLY runs one reader by name (scripts/fuzz.sh).
#pragma once
#include <windows.h>

#include <functional>
#include <vector>

class CArchive;

namespace testsupport {

typedef std::vector<BYTE> MutationBytes;

struct MutationReader
{
    const char* name;
    std::function<std::vector<MutationBytes>()> seeds;
    std::function<void(const MutationBytes&)> read;
};

// Runs f; any exception is a clean failure and is swallowed.
void MutationSwallow(const std::function<void()>& f);

// Runs f over a loading archive of the bytes; any exception is swallowed.
void MutationLoadArchive(const MutationBytes& b, const std::function<void(CArchive&)>& f);

// True inside the child process the run starts.
bool MutationIsChild();

// The child's test body: runs the reader the parent named over its batch of cases.
void MutationChildRun(const std::vector<MutationReader>& readers);

// The parent's test body: every reader over its cases in a child process running the
// test named childTest ("Suite.Name"); a crash or hang adds a failure naming the case.
void MutationParentRun(const std::vector<MutationReader>& readers, const char* childTest);

}  // namespace testsupport
