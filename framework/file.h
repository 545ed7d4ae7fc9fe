// Files: CFile over a Win32 file handle and CMemFile over a block of memory.
//
// Errors throw CFileException with the cause mapped from the Win32 error. A CMemFile
// attached to a caller's buffer never writes past that buffer and never frees it: with
// no grow bytes a write past the end throws CMemoryException and writes nothing; with
// grow bytes the data moves to a buffer of the file's own, the caller's stays untouched.
#pragma once
#include "framework/platform.h"
#include "framework/object.h"
#include "framework/str.h"
#include "framework/datetime.h"

struct CFileStatus {
    CTime m_ctime;        // creation time
    CTime m_mtime;        // last modification time
    CTime m_atime;        // last access time
    ULONGLONG m_size;     // bytes
    BYTE m_attribute;     // CFile::Attribute bits
    BYTE _m_padding;
    TCHAR m_szFullName[_MAX_PATH];
};

class CFileException;

class CFile : public CObject {
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags {
        modeRead = (int)0x00000,
        modeWrite = (int)0x00001,
        modeReadWrite = (int)0x00002,
        shareCompat = (int)0x00000,
        shareExclusive = (int)0x00010,
        shareDenyWrite = (int)0x00020,
        shareDenyRead = (int)0x00030,
        shareDenyNone = (int)0x00040,
        modeNoInherit = (int)0x00080,
        modeCreate = (int)0x01000,
        modeNoTruncate = (int)0x02000,
        typeText = (int)0x04000,
        typeBinary = (int)0x08000,
        osNoBuffer = (int)0x10000,
        osWriteThrough = (int)0x20000,
        osRandomAccess = (int)0x40000,
        osSequentialScan = (int)0x80000
    };
    enum Attribute {
        normal = 0x00,
        readOnly = 0x01,
        hidden = 0x02,
        system = 0x04,
        volume = 0x08,
        directory = 0x10,
        archive = 0x20
    };
    enum SeekPosition { begin = 0x0, current = 0x1, end = 0x2 };

    static const HANDLE hFileNull;

    CFile();
    explicit CFile(HANDLE hFile);
    // Opens the file; throws CFileException when it cannot.
    CFile(LPCTSTR lpszFileName, UINT nOpenFlags);
    virtual ~CFile();

    operator HANDLE() const { return m_hFile; }

    virtual BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = NULL);

    virtual ULONGLONG GetPosition() const;
    virtual BOOL GetStatus(CFileStatus& rStatus) const;
    static BOOL PASCAL GetStatus(LPCTSTR lpszFileName, CFileStatus& rStatus);
    virtual CString GetFileName() const;   // name and extension
    virtual CString GetFileTitle() const;  // name without extension
    virtual CString GetFilePath() const;   // the full path
    virtual void SetFilePath(LPCTSTR lpszNewName);

    static void PASCAL Rename(LPCTSTR lpszOldName, LPCTSTR lpszNewName);
    static void PASCAL Remove(LPCTSTR lpszFileName);

    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
    virtual void SetLength(ULONGLONG dwNewLen);
    virtual ULONGLONG GetLength() const;

    virtual UINT Read(void* lpBuf, UINT nCount);
    virtual void Write(const void* lpBuf, UINT nCount);

    virtual void LockRange(ULONGLONG dwPos, ULONGLONG dwCount);
    virtual void UnlockRange(ULONGLONG dwPos, ULONGLONG dwCount);

    virtual void Abort();  // closes, ignoring errors
    virtual void Flush();
    virtual void Close();

    HANDLE m_hFile;

protected:
    BOOL m_bCloseOnDelete;
    CString m_strFileName;

private:
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
};

class CMemFile : public CFile {
    DECLARE_DYNAMIC(CMemFile)
public:
    explicit CMemFile(UINT nGrowBytes = 1024);
    CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    virtual ~CMemFile();

    // Works over the caller's buffer. Without grow bytes the whole buffer is the file's
    // content; with grow bytes the file starts empty.
    void Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    // Hands the buffer back (the caller's, or one allocated with malloc that the caller
    // now owns) and leaves the file empty.
    BYTE* Detach();

    ULONGLONG GetPosition() const override;
    BOOL GetStatus(CFileStatus& rStatus) const override;
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    void SetLength(ULONGLONG dwNewLen) override;
    ULONGLONG GetLength() const override;
    UINT Read(void* lpBuf, UINT nCount) override;
    void Write(const void* lpBuf, UINT nCount) override;
    void LockRange(ULONGLONG dwPos, ULONGLONG dwCount) override;
    void UnlockRange(ULONGLONG dwPos, ULONGLONG dwCount) override;
    void Abort() override;
    void Flush() override;
    void Close() override;

protected:
    virtual BYTE* Alloc(SIZE_T nBytes);
    virtual BYTE* Realloc(BYTE* lpMem, SIZE_T nBytes);
    virtual BYTE* Memcpy(BYTE* lpMemTarget, const BYTE* lpMemSource, SIZE_T nBytes);
    virtual void Free(BYTE* lpMem);
    virtual void GrowFile(SIZE_T dwNewLen);

    UINT m_nGrowBytes;
    SIZE_T m_nPosition;
    SIZE_T m_nBufferSize;
    SIZE_T m_nFileSize;
    BYTE* m_lpBuffer;
    BOOL m_bAutoDelete;  // the buffer is the file's own (malloc)
};
