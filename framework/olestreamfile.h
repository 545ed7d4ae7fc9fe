// COleStreamFile: a CFile over an OLE IStream, so that an archive can be written into a
// compound-file stream or a memory stream. Errors of the stream throw CFileException
// with the stream's HRESULT as the OS error.
#pragma once
#include <objidl.h>
#include "framework/file.h"

class COleStreamFile : public CFile {
    DECLARE_DYNAMIC(COleStreamFile)
public:
    // The stream is used as it is given: no reference is added, and it is not released
    // when the file goes (as with Attach).
    explicit COleStreamFile(LPSTREAM lpStream = NULL);
    virtual ~COleStreamFile();

    // Opens or creates a stream of a storage, or a new stream in global memory; the
    // file then releases it on Close. FALSE (with the cause in *pError) on failure.
    BOOL OpenStream(LPSTORAGE lpStorage, LPCTSTR lpszStreamName, DWORD nOpenFlags = modeReadWrite | shareExclusive,
                    CFileException* pError = NULL);
    BOOL CreateStream(LPSTORAGE lpStorage, LPCTSTR lpszStreamName,
                      DWORD nOpenFlags = modeReadWrite | shareExclusive | modeCreate, CFileException* pError = NULL);
    BOOL CreateMemoryStream(CFileException* pError = NULL);

    void Attach(LPSTREAM lpStream);
    LPSTREAM Detach();
    IStream* GetStream() const { return m_lpStream; }

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

    LPSTREAM m_lpStream;

protected:
    // Throws the CFileException that stands for a failed stream call.
    [[noreturn]] static void ThrowStreamError(HRESULT hr);
    BOOL OpenOrCreate(LPSTORAGE lpStorage, LPCTSTR lpszStreamName, DWORD nOpenFlags, CFileException* pError,
                      bool bCreate);
};
