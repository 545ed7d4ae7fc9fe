// Another program holding a file, as a sync client or an editor saving it would: a child
// process (file_holder.exe beside the tests) that opens the file for writing, sharing
// reads or nothing, optionally in the middle of writing new bytes over it, or only reads it
// sharing reads (a scanner, a backup), until it is told to let go; or that saves new bytes
// over it once a save of the program under test is under way (file_holder.cpp).
#pragma once

#include "main_window_fixture.h"
#include <fstream>
#include <string>

class HeldFile
{
public:
    enum Share { SharingReads, SharingNothing, ReadingSharingReads, WritingInTheGap, MovingInTheGap };
    // With `newBytes`, the holder writes half of them over the file when it takes it and
    // the rest when it lets go; it lets go dwDelayMs after Release.
    HeldFile(const std::string& path, Share share, const std::string& newBytes = std::string(), DWORD dwDelayMs = 0)
        : m_path(path), m_share(share), m_newBytes(newBytes), m_dwDelayMs(dwDelayMs)
    {
        ::ZeroMemory(&m_pi, sizeof(m_pi));
    }
    ~HeldFile()
    {
        Release();
        Join();
        if (!m_bytesPath.empty()) ::DeleteFileA(m_bytesPath.c_str());
    }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    // Starts the holder and waits (at most 10 s) until it holds the file.
    bool Hold()
    {
        static LONG s_nHolder = 0;
        char name[96];
        wsprintfA(name, "PurgeletHeldFile-%lu-%ld", ::GetCurrentProcessId(), ::InterlockedIncrement(&s_nHolder));
        m_hRelease = ::CreateEventA(NULL, TRUE, FALSE, name);
        m_hHeld = ::CreateEventA(NULL, TRUE, FALSE, (std::string(name) + ".held").c_str());
        if (m_hRelease == NULL || m_hHeld == NULL) return false;
        static const char* const kModes[] = {"read", "none", "reader", "write-gap", "move-gap"};
        std::string command = "\"" + mainwindowtest::TestFolder() + "file_holder.exe\" \"" + m_path + "\" " +
                              kModes[m_share] + " " + std::to_string(m_dwDelayMs) + " " + name;
        if (!m_newBytes.empty()) {
            char folder[MAX_PATH] = "";
            ::GetTempPathA(MAX_PATH, folder);
            m_bytesPath = std::string(folder) + name + ".xml";
            std::ofstream(m_bytesPath.c_str(), std::ios::binary) << m_newBytes;
            command += " \"" + m_bytesPath + "\"";
        }
        STARTUPINFOA si = {};
        si.cb = sizeof(si);
        if (!::CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, CREATE_NO_WINDOW, NULL, NULL, &si, &m_pi))
            return false;
        // The holder ends at once when it cannot open the file.
        HANDLE handles[] = {m_hHeld, m_pi.hProcess};
        return ::WaitForMultipleObjects(2, handles, FALSE, 10000) == WAIT_OBJECT_0;
    }
    // Tells the holder to let go (after its delay).
    void Release()
    {
        if (m_hRelease != NULL) ::SetEvent(m_hRelease);
    }
    // Waits (at most 10 s past the delay) until the holder has let go; false when it did
    // not, or failed.
    bool Join()
    {
        if (m_pi.hProcess == NULL) return true;
        const bool bEnded = ::WaitForSingleObject(m_pi.hProcess, 10000 + m_dwDelayMs) == WAIT_OBJECT_0;
        if (!bEnded) ::TerminateProcess(m_pi.hProcess, 1);
        DWORD dwExit = 1;
        ::GetExitCodeProcess(m_pi.hProcess, &dwExit);
        m_dwExit = bEnded ? dwExit : 1;
        ::CloseHandle(m_pi.hProcess);
        ::CloseHandle(m_pi.hThread);
        ::CloseHandle(m_hRelease);
        ::CloseHandle(m_hHeld);
        ::ZeroMemory(&m_pi, sizeof(m_pi));
        m_hRelease = m_hHeld = NULL;
        return bEnded && dwExit == 0;
    }

    // How the holder ended (after Join): 0 when all went as told; for a save in the gap, 7
    // when its save was refused and 8 when it never came to it.
    DWORD ExitCode() const { return m_dwExit; }

private:
    DWORD m_dwExit = 1;
    std::string m_path, m_bytesPath;
    Share m_share;
    std::string m_newBytes;
    DWORD m_dwDelayMs;
    PROCESS_INFORMATION m_pi;
    HANDLE m_hRelease = NULL, m_hHeld = NULL;
};
