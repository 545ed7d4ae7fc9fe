#include "support/mutation_run.h"
#include "support/child_run.h"

#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>

#include "framework/framework.h"

namespace testsupport {

namespace {

const char kChildVariable[] = "PURGELET_FUZZ_CHILD";
// The run's batch and progress files, made by the parent under names no other run can
// take and handed to the child.
const char kBatchVariable[] = "PURGELET_FUZZ_BATCH";
const char kProgressVariable[] = "PURGELET_FUZZ_PROGRESS";

// The nth mutation of a seed, the same in every run.
MutationBytes Mutate(const MutationBytes& seed, unsigned n)
{
    MutationBytes b = seed;
    if (b.empty())
        return b;
    unsigned x = n * 2654435761u + 12345u;
    const size_t at = (x >> 8) % b.size();
    switch (n % 4)
    {
    case 0:  // bit flips
        for (unsigned k = 0; k <= (x & 3); k++)
            b[(at + k * 7) % b.size()] ^= (BYTE)(1u << ((x >> (3 * k)) & 7));
        break;
    case 1:  // a truncation
        b.resize(at);
        break;
    default:
    {  // a 16- or 32-bit field set to an edge value
        static const DWORD values[] = {0, 1, 0x7FFFFFFF, 0xFFFFFFFF};
        const DWORD v = values[(x >> 4) & 3];
        const size_t width = (n % 4) == 2 ? 2 : 4;
        for (size_t k = 0; k < width && at + k < b.size(); k++)
            b[at + k] = (BYTE)(width == 2 && (v == 0x7FFFFFFF) && k == 1 ? 0x7F : (v >> (8 * k)));
        break;
    }
    }
    return b;
}

unsigned CasesPerReader()
{
    const char* s = getenv("PURGELET_FUZZ_CASES");
    unsigned n = s ? (unsigned)strtoul(s, NULL, 10) : 0;
    return n ? n : 500;
}

std::string Here(const std::string& name)
{
    char path[MAX_PATH];
    ::GetCurrentDirectoryA(MAX_PATH, path);
    return std::string(path) + "\\" + name;
}

}  // namespace

void MutationSwallow(const std::function<void()>& f)
{
    try
    {
        f();
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (...)
    {
        // any clean failure is fine; only crashes and hangs count
    }
}

void MutationLoadArchive(const MutationBytes& b, const std::function<void(CArchive&)>& f)
{
    MutationSwallow([&] {
        CMemFile file(const_cast<BYTE*>(b.data()), (UINT)b.size());
        CArchive ar(&file, CArchive::load);
        f(ar);
    });
}

bool MutationIsChild() { return getenv(kChildVariable) != NULL; }

// Writes the case number before each case, so a crash leaves it behind.
void MutationChildRun(const std::vector<MutationReader>& readers)
{
    const char* childReader = getenv(kChildVariable);
    if (childReader == NULL)
        return;
    for (const MutationReader& r : readers)
    {
        if (std::string(r.name) != childReader)
            continue;
        const char* batch = getenv(kBatchVariable);
        const char* progressPath = getenv(kProgressVariable);
        ASSERT_TRUE(batch != NULL && progressPath != NULL);
        FILE* in = fopen(batch, "rb");
        ASSERT_TRUE(in != NULL);
        EndOnCrash();
        ChildProgress progress(progressPath);
        DWORD size = 0;
        for (unsigned i = 0; fread(&size, 4, 1, in) == 1; i++)
        {
            MutationBytes b(size);
            if (size && fread(b.data(), 1, size, in) != size)
                break;
            progress.Write(i);
            r.read(b);
        }
        fclose(in);
    }
}

void MutationParentRun(const std::vector<MutationReader>& readers, const char* childTest)
{
    const unsigned nCases = CasesPerReader();
    const char* sOnly = getenv("PURGELET_FUZZ_ONLY");
    for (const MutationReader& r : readers)
    {
        if (sOnly != NULL && *sOnly != 0 && std::string(r.name) != sOnly)
            continue;
        SCOPED_TRACE(r.name);
        std::vector<MutationBytes> seeds = r.seeds();
        ASSERT_FALSE(seeds.empty());
        std::vector<MutationBytes> cases;
        for (unsigned n = 0; n < nCases; n++)
            cases.push_back(Mutate(seeds[n % seeds.size()], n / (unsigned)seeds.size()));
        const std::string batch = CreateRunFile("fuzz_batch", ".bin");
        const std::string progress = CreateRunFile("fuzz_progress", ".bin");
        ASSERT_FALSE(batch.empty() || progress.empty()) << "no files for the run";
        FILE* out = fopen(batch.c_str(), "wb");
        ASSERT_TRUE(out != NULL);
        for (const MutationBytes& b : cases)
        {
            DWORD size = (DWORD)b.size();
            fwrite(&size, 4, 1, out);
            if (size)
                fwrite(b.data(), 1, size, out);
        }
        fclose(out);

        // A hang is a case that does not end within a minute; a long run only has to go on.
        const ChildOutcome outcome = RunChildTest(
            childTest, {{kChildVariable, r.name}, {kBatchVariable, batch}, {kProgressVariable, progress}}, progress,
            60 * 1000);
        ASSERT_TRUE(outcome.bStarted);
        const DWORD code = outcome.dwExitCode;
        unsigned failed = ChildProgress::Read(progress);
        ::DeleteFileA(batch.c_str());
        ::DeleteFileA(progress.c_str());
        if (code == 0)
            continue;

        if (failed == ~0u)
            failed = 0;
        std::string name = Here(std::string("fuzz_failure_") + r.name + "_" + std::to_string(failed) + ".bin");
        FILE* f = fopen(name.c_str(), "wb");
        if (f && failed < cases.size())
            fwrite(cases[failed].data(), 1, cases[failed].size(), f);
        if (f)
            fclose(f);
        ADD_FAILURE() << "the reader ended with 0x" << std::hex << code << std::dec << " on case " << failed
                      << (outcome.bHung ? " (hung)" : "") << "; input written to " << name;
    }
}

}  // namespace testsupport
