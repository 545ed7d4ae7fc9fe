// The bytes an archive writes: f stores through a storing archive over a memory file,
// and the file's whole content comes back once the archive is closed.
#pragma once
#include <vector>
#include "framework/archive.h"
#include "framework/file.h"

namespace testsupport {

template <class F>
std::vector<BYTE> StoredBytes(F f) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        f(ar);
        ar.Close();
    }
    std::vector<BYTE> bytes((size_t)file.GetLength());
    file.SeekToBegin();
    if (!bytes.empty()) file.Read(bytes.data(), (UINT)bytes.size());
    return bytes;
}

}  // namespace testsupport
