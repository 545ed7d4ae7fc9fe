#include "support/child_run.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace testsupport {

namespace {

// In a child of RunCasesBounded: "<first case>|<progress file>".
const char kCasesVariable[] = "PURGELET_CASES_FROM";

std::string Here(const std::string& name)
{
    char path[MAX_PATH];
    ::GetCurrentDirectoryA(MAX_PATH, path);
    return std::string(path) + "\\" + name;
}

std::string GuidText()
{
    GUID guid;
    if (FAILED(::CoCreateGuid(&guid)))
        return std::string();
    char text[40];
    snprintf(text, sizeof(text), "%08lX%04X%04X%02X%02X%02X%02X%02X%02X%02X%02X", (unsigned long)guid.Data1, guid.Data2,
             guid.Data3, guid.Data4[0], guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5],
             guid.Data4[6], guid.Data4[7]);
    return text;
}

std::string ReadWhole(const std::string& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

LONG WINAPI EndWithTheExceptionCode(EXCEPTION_POINTERS* pInfo)
{
    fflush(stdout);
    fflush(stderr);
    ::TerminateProcess(::GetCurrentProcess(), pInfo->ExceptionRecord->ExceptionCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

std::string CreateRunFile(const char* stem, const char* extension)
{
    for (int nTry = 0; nTry < 16; nTry++)
    {
        const std::string guid = GuidText();
        if (guid.empty())
            return std::string();
        const std::string path = Here(std::string(stem) + "-" + guid + extension);
        HANDLE hFile = ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, NULL, CREATE_NEW, 0, NULL);
        if (hFile != INVALID_HANDLE_VALUE)
        {
            ::CloseHandle(hFile);
            return path;
        }
        if (::GetLastError() != ERROR_FILE_EXISTS && ::GetLastError() != ERROR_ALREADY_EXISTS)
            return std::string();
    }
    return std::string();
}

ChildProgress::ChildProgress(const std::string& path)
    : m_hFile(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL))
{
}

ChildProgress::~ChildProgress()
{
    if (m_hFile != INVALID_HANDLE_VALUE)
        ::CloseHandle(m_hFile);
}

void ChildProgress::Write(unsigned nCase)
{
    DWORD dwWritten = 0;
    ::SetFilePointer(m_hFile, 0, NULL, FILE_BEGIN);
    ::WriteFile(m_hFile, &nCase, sizeof(nCase), &dwWritten, NULL);
}

unsigned ChildProgress::Read(const std::string& path)
{
    unsigned nCase = ~0u;
    FILE* p = fopen(path.c_str(), "rb");
    if (p)
    {
        if (fread(&nCase, sizeof(nCase), 1, p) != 1)
            nCase = ~0u;
        fclose(p);
    }
    return nCase;
}

void EndOnCrash()
{
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    ::SetUnhandledExceptionFilter(EndWithTheExceptionCode);
}

ChildOutcome RunChildTest(const char* childTest, const std::vector<std::pair<std::string, std::string>>& vars,
                          const std::string& progressPath, DWORD dwStallMs, const std::string& outputPath)
{
    ChildOutcome outcome;
    char exe[MAX_PATH];
    ::GetModuleFileNameA(NULL, exe, MAX_PATH);
    std::string command = std::string("\"") + exe + "\" --gtest_color=no --gtest_filter=" + childTest;
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    HANDLE hOutput = INVALID_HANDLE_VALUE;
    if (!outputPath.empty())
    {
        SECURITY_ATTRIBUTES sa = {sizeof(sa), NULL, TRUE};
        hOutput = ::CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa,
                                CREATE_ALWAYS, 0, NULL);
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
        si.hStdOutput = si.hStdError = hOutput;
    }
    for (const auto& v : vars)
        ::SetEnvironmentVariableA(v.first.c_str(), v.second.c_str());
    PROCESS_INFORMATION pi = {};
    outcome.bStarted = ::CreateProcessA(NULL, &command[0], NULL, NULL, hOutput != INVALID_HANDLE_VALUE, 0, NULL, NULL,
                                        &si, &pi) != FALSE;
    for (const auto& v : vars)
        ::SetEnvironmentVariableA(v.first.c_str(), NULL);
    if (hOutput != INVALID_HANDLE_VALUE)
        ::CloseHandle(hOutput);
    if (!outcome.bStarted)
        return outcome;
    // The bound is on a case, not on the run: a long run only has to move. Until its first
    // case the child is starting, which on a loaded machine under Wine may take far longer
    // than any case: it gets kChildStartMs for that.
    unsigned nLastCase = ~0u;
    DWORD dwLastMove = ::GetTickCount();
    while (::WaitForSingleObject(pi.hProcess, 200) == WAIT_TIMEOUT)
    {
        const unsigned nCase = ChildProgress::Read(progressPath);
        if (nCase != nLastCase)
        {
            nLastCase = nCase;
            dwLastMove = ::GetTickCount();
        }
        else if (::GetTickCount() - dwLastMove > (nLastCase == ~0u ? std::max(dwStallMs, kChildStartMs) : dwStallMs))
        {
            ::TerminateProcess(pi.hProcess, 0xDEAD);
            ::WaitForSingleObject(pi.hProcess, INFINITE);
            outcome.bHung = true;
            break;
        }
    }
    ::GetExitCodeProcess(pi.hProcess, &outcome.dwExitCode);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return outcome;
}

void RunCasesBounded(const char* childTest, size_t nCases, const std::function<void(size_t)>& runCase,
                     const std::function<std::string(size_t)>& caseName, DWORD dwCaseMs)
{
    if (const char* pszFrom = getenv(kCasesVariable))
    {
        EndOnCrash();
        const char* pszPath = strchr(pszFrom, '|');
        ASSERT_TRUE(pszPath != NULL);
        ChildProgress progress(pszPath + 1);
        for (size_t i = strtoul(pszFrom, NULL, 10); i < nCases; i++)
        {
            progress.Write((unsigned)i);
            runCase(i);
        }
        progress.Write((unsigned)nCases);
        return;
    }
    for (size_t nFirst = 0; nFirst < nCases;)
    {
        const std::string progressPath = CreateRunFile("cases_progress", ".bin");
        const std::string outputPath = CreateRunFile("cases_output", ".txt");
        ASSERT_FALSE(progressPath.empty() || outputPath.empty()) << "no files for the child";
        const ChildOutcome outcome =
            RunChildTest(childTest, {{kCasesVariable, std::to_string(nFirst) + "|" + progressPath}}, progressPath,
                         dwCaseMs, outputPath);
        const unsigned nAt = ChildProgress::Read(progressPath);
        const std::string output = ReadWhole(outputPath);
        ::DeleteFileA(progressPath.c_str());
        ::DeleteFileA(outputPath.c_str());
        ASSERT_TRUE(outcome.bStarted) << "the child did not start";
        if (!outcome.bHung && nAt == nCases)
        {
            EXPECT_EQ(0u, outcome.dwExitCode) << "the child's output:\n" << output;
            return;
        }
        // It ended inside a case: the cases after it run in a new child.
        const size_t nFailed = nAt < nCases ? nAt : nFirst;
        char what[64];
        if (outcome.bHung)
            snprintf(what, sizeof(what), "did not end within %lu ms", (unsigned long)dwCaseMs);
        else
            snprintf(what, sizeof(what), "ended the child with 0x%lX", (unsigned long)outcome.dwExitCode);
        ADD_FAILURE() << "case \"" << caseName(nFailed) << "\" " << what << "; the child's output:\n" << output;
        nFirst = nFailed + 1;
    }
}

}  // namespace testsupport
