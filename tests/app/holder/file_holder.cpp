// Another program holding the groups file, for the main window's tests. Started as
//   file_holder.exe <file> <read|none> <delay ms> <event name> [<file of new bytes>]
// it opens the file for writing, sharing reads ("read", as a sync client or an editor
// saving) or nothing ("none"), or for reading only, sharing reads ("reader", as a scanner or
// a backup). Given new bytes, it writes the first half of them over the
// file at once, as a program in the middle of writing it. It then sets the event
// "<event name>.held" and waits (at most 60 s) for the event "<event name>"; after the
// delay it writes the rest of the new bytes and lets go of the file.
//   file_holder.exe <file> <write-gap|move-gap> 0 <event name> <file of new bytes>
// saves the new bytes once, as another program would, at the moment a save of the program
// under test has read the file and is writing its new one beside it (a "<file>.~*.tmp"):
// over the file, or moved over it from a file of its own. It ends with 0 when its save
// went in while that save was still to replace the file, 7 when it was refused, 8 when it
// was told to let go before that moment came (or none came within 60 s), and 9 when its
// save went in but the save under test may have replaced the file before it (the holder
// came too late to tell); moved, 10 when it took the file's name while the save under test
// had set the file aside.
#include <windows.h>
#include <stdlib.h>
#include <string>

static std::string ReadAll(const char* path)
{
    std::string bytes;
    HANDLE hFile = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (hFile == INVALID_HANDLE_VALUE) return bytes;
    char buffer[4096];
    DWORD dwGot = 0;
    while (::ReadFile(hFile, buffer, sizeof(buffer), &dwGot, NULL) && dwGot > 0) bytes.append(buffer, dwGot);
    ::CloseHandle(hFile);
    return bytes;
}

static bool Write(HANDLE hFile, const std::string& bytes)
{
    DWORD dwWritten = 0;
    return bytes.empty() ||
           (::WriteFile(hFile, bytes.data(), (DWORD)bytes.size(), &dwWritten, NULL) && dwWritten == bytes.size());
}

// Waits until a save under test writes its new bytes beside the file, and gives back the
// name of that file ("" when told to let go first). The wait sleeps until the folder's
// names change: a loop of looks would miss a short save on a busy machine.
static std::string WaitForASave(const char* path, HANDLE hRelease)
{
    std::string folder = path;
    const size_t nSlash = folder.find_last_of("\\/");
    folder = nSlash == std::string::npos ? "." : folder.substr(0, nSlash + 1);
    HANDLE hChange = ::FindFirstChangeNotificationA(folder.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
    if (hChange == INVALID_HANDLE_VALUE) return std::string();
    const std::string pattern = std::string(path) + ".~*.tmp";
    const DWORD dwStart = ::GetTickCount();
    std::string found;
    for (;;) {
        WIN32_FIND_DATAA data;
        HANDLE hFind = ::FindFirstFileA(pattern.c_str(), &data);
        if (hFind != INVALID_HANDLE_VALUE) {
            ::FindClose(hFind);
            found = folder + data.cFileName;
            break;
        }
        const DWORD dwSpent = ::GetTickCount() - dwStart;
        if (dwSpent >= 60000) break;
        HANDLE handles[] = {hChange, hRelease};
        const DWORD dwWait = ::WaitForMultipleObjects(2, handles, FALSE, 60000 - dwSpent);
        if (dwWait != WAIT_OBJECT_0 || !::FindNextChangeNotification(hChange)) break;
    }
    ::FindCloseChangeNotification(hChange);
    return found;
}

static bool Exists(const std::string& path)
{
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The save under test holds the file from its last look at it until its new bytes have
// the file's name, and moves them there last: while they still lie beside, it has yet to
// see a save that went in.
static int SaveInTheGap(const char* path, bool bMove, const std::string& bytes, HANDLE hRelease)
{
    const std::string theirs = WaitForASave(path, hRelease);
    if (theirs.empty()) return 8;
    if (!bMove) {
        // Open, the file cannot be replaced: whether this save comes in time is told here.
        HANDLE hFile = ::CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
        if (hFile == INVALID_HANDLE_VALUE) return 7;
        const bool bInTime = Exists(theirs);
        const bool bWritten = ::SetEndOfFile(hFile) && Write(hFile, bytes);
        ::CloseHandle(hFile);
        return !bWritten ? 6 : bInTime ? 0 : 9;
    }
    const std::string own = std::string(path) + ".theirs";
    HANDLE hFile = ::CreateFileA(own.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (hFile == INVALID_HANDLE_VALUE) return 7;
    const bool bWritten = ::SetEndOfFile(hFile) && Write(hFile, bytes);
    ::CloseHandle(hFile);
    if (!bWritten) return 6;
    // The name free: the save under test has set the file aside for its new bytes.
    if (::MoveFileExA(own.c_str(), path, 0)) return 10;
    if (!::MoveFileExA(own.c_str(), path, MOVEFILE_REPLACE_EXISTING)) {
        ::DeleteFileA(own.c_str());
        return 7;
    }
    return Exists(theirs) ? 0 : 9;
}

int main(int argc, char** argv)
{
    if (argc < 5) return 2;
    const std::string mode = argv[2];
    if (argc > 5 && (mode == "write-gap" || mode == "move-gap")) {
        HANDLE hHeld = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, (std::string(argv[4]) + ".held").c_str());
        HANDLE hRelease = ::OpenEventA(SYNCHRONIZE, FALSE, argv[4]);
        if (hHeld == NULL || hRelease == NULL) return 5;
        const std::string bytes = ReadAll(argv[5]);
        ::SetEvent(hHeld);
        return SaveInTheGap(argv[1], mode == "move-gap", bytes, hRelease);
    }
    const DWORD dwShare = mode == "none" ? 0 : FILE_SHARE_READ;
    const DWORD dwAccess = mode == "reader" ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    HANDLE hFile = ::CreateFileA(argv[1], dwAccess, dwShare, NULL, OPEN_EXISTING, 0, NULL);
    if (hFile == INVALID_HANDLE_VALUE) return 3;
    const std::string bytes = argc > 5 ? ReadAll(argv[5]) : std::string();
    const size_t nHalf = bytes.size() / 2;
    if (argc > 5 && (!::SetEndOfFile(hFile) || !Write(hFile, bytes.substr(0, nHalf)))) return 4;
    HANDLE hHeld = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, (std::string(argv[4]) + ".held").c_str());
    HANDLE hRelease = ::OpenEventA(SYNCHRONIZE, FALSE, argv[4]);
    if (hHeld == NULL || hRelease == NULL) return 5;
    ::SetEvent(hHeld);
    ::WaitForSingleObject(hRelease, 60000);
    ::Sleep(strtoul(argv[3], NULL, 10));
    if (argc > 5 && !Write(hFile, bytes.substr(nHalf))) return 6;
    ::CloseHandle(hFile);
    return 0;
}
