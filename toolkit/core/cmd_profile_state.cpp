// Storing and restoring a profile's usage statistics: the archive form and, through the
// registry archiver, the registry form.
#include "toolkit/core/cmd_profile.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/core/registry_archiver.h"

namespace {

const DWORD kShortVersion = 0x0205;

}  // namespace

bool CExtCmdProfile::SerializeState(CArchive& ar, bool bEnableThrowExceptions)
{
    try
    {
        if (ar.IsStoring())
        {
            CString sVersion, sCaption;
            CExtCmdManager::GetVersionString(sVersion, '.');
            sCaption.Format("Kestrix (v. %s) command profile", (LPCTSTR)sVersion);
            ar << sCaption;
            ar << (DWORD)CExtCmdManager::GetVersionDWORD(false);
            ar << (DWORD)CExtCmdManager::GetVersionDWORD(true);
            for (int i = 0; i < 4; i++)
                ar << (DWORD)0;
            ar << (DWORD)m_nTotalTickCount;
            POSITION pos = m_cmds.GetStartPosition();
            while (pos != NULL)
            {
                UINT nID = 0;
                CExtCmdItem* pItem = NULL;
                m_cmds.GetNextAssoc(pos, nID, pItem);
                if (pItem == NULL || !pItem->IsUsageCounted())
                    continue;
                ar << (DWORD)pItem->m_nCmdID;
                ar << (DWORD)pItem->m_nUsageTickCount;
            }
            ar << (DWORD)0;
            return true;
        }
        CString sCaption;
        DWORD dwVersion = 0, dwShortVersion = 0, dwReserved = 0, dwTotal = 0;
        ar >> sCaption;
        ar >> dwVersion;
        ar >> dwShortVersion;
        if (dwShortVersion != kShortVersion)
            return false;
        for (int i = 0; i < 4; i++)
            ar >> dwReserved;
        ar >> dwTotal;
        // Everything is read before anything is applied: a stream cut short leaves the
        // profile's statistics as they were.
        CArray<DWORD, DWORD> arrPairs;
        for (;;)
        {
            DWORD dwCmdID = 0, dwUsage = 0;
            ar >> dwCmdID;
            if (dwCmdID == 0)
                break;
            ar >> dwUsage;
            arrPairs.Add(dwCmdID);
            arrPairs.Add(dwUsage);
        }
        m_nTotalTickCount = dwTotal;
        for (INT_PTR i = 0; i + 1 < arrPairs.GetSize(); i += 2)
        {
            CExtCmdItem* pItem = CmdGetPtr(arrPairs[i]);
            if (pItem != NULL)
                pItem->m_nUsageTickCount = arrPairs[i + 1];
        }
        return true;
    }
    catch (CException* pException)
    {
        if (bEnableThrowExceptions)
            throw;
        pException->Delete();
    }
    catch (...)
    {
        if (bEnableThrowExceptions)
            throw;
    }
    return false;
}

CString CExtCmdProfile::GetRegistryKeyPath(LPCTSTR sSectionNameCompany, LPCTSTR sSectionNameProduct) const
{
    CString sKey;
    sKey.Format("Software\\%s\\%s\\%s\\%s\\%s\\%s", (sSectionNameCompany != NULL) ? sSectionNameCompany : "",
                (sSectionNameProduct != NULL) ? sSectionNameProduct : "", "Kestrix254", "Profiles",
                (LPCTSTR)m_sName, "CommandManager");
    sKey.Replace('\r', '_');
    sKey.Replace('\t', '_');
    sKey.Replace('\n', '_');
    sKey.Replace('?', '_');
    sKey.Replace('*', '_');
    return sKey;
}

bool CExtCmdProfile::SerializeStateRegistry(LPCTSTR sSectionNameCompany, LPCTSTR sSectionNameProduct, bool bSave,
                                            HKEY hKeyRoot, bool bEnableThrowExceptions)
{
    CString sKey = GetRegistryKeyPath(sSectionNameCompany, sSectionNameProduct);
    CMemFile file(1024);
    if (bSave)
    {
        bool bStored = false;
        {
            CArchive ar(&file, CArchive::store, 4096);
            bStored = SerializeState(ar, bEnableThrowExceptions);
            if (bStored)
            {
                ar.Flush();
                ar.Close();
            }
            else
                ar.Abort();
        }
        if (!bStored)
            return false;
        file.SeekToBegin();
        return CExtRegistryArchiver::SaveToRegistry(file, sKey, hKeyRoot, bEnableThrowExceptions);
    }
    if (!CExtRegistryArchiver::LoadFromRegistry(file, sKey, hKeyRoot, bEnableThrowExceptions))
        return false;
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load, 4096);
    return SerializeState(ar, bEnableThrowExceptions);
}
