// An IStream over the class library's archive, so that values only an IStream can
// persist (OLE objects inside a VARIANT) travel in the same archive as the cells
// around them. It reads only from a loading archive and writes only to a storing one.
// Reverting and cloning are not supported.
#pragma once
#include <objidl.h>
#include "framework/framework.h"

class CExtArchiveIStream : public IStream
{
public:
    // The count starts at 1: the creator holds the first reference. An owned archive
    // is flushed (when storing), closed and deleted with the stream.
    explicit CExtArchiveIStream(CArchive* pArchive = NULL, bool bOwnsArchive = false);

    STDMETHOD(QueryInterface)(REFIID riid, void** ppvObject) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(Read)(void* pv, ULONG cb, ULONG* pcbRead) override;
    STDMETHOD(Write)(const void* pv, ULONG cb, ULONG* pcbWritten) override;
    STDMETHOD(Seek)(LARGE_INTEGER dlibMove, DWORD dwOrigin, ULARGE_INTEGER* plibNewPosition) override;
    STDMETHOD(SetSize)(ULARGE_INTEGER libNewSize) override;
    STDMETHOD(CopyTo)(IStream* pstm, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead,
                      ULARGE_INTEGER* pcbWritten) override;
    STDMETHOD(Commit)(DWORD grfCommitFlags) override;
    STDMETHOD(Revert)() override;
    STDMETHOD(LockRegion)(ULARGE_INTEGER libOffset, ULARGE_INTEGER cb, DWORD dwLockType) override;
    STDMETHOD(UnlockRegion)(ULARGE_INTEGER libOffset, ULARGE_INTEGER cb, DWORD dwLockType) override;
    STDMETHOD(Stat)(STATSTG* pstatstg, DWORD grfStatFlag) override;
    STDMETHOD(Clone)(IStream** ppstm) override;

    virtual ~CExtArchiveIStream();

    CArchive* GetArchive() const { return m_pArchive; }
    bool OwnsArchive() const { return m_bOwnsArchive; }
    ULONG GetRefCount() const { return m_nRefCount; }

protected:
    ULONG m_nRefCount;
    CArchive* m_pArchive;
    bool m_bOwnsArchive : 1;

private:
    CExtArchiveIStream(const CExtArchiveIStream&) = delete;
    CExtArchiveIStream& operator=(const CExtArchiveIStream&) = delete;
};
