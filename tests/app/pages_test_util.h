// Shared by the page tests: a host window for pages, a registry sandbox seeded with
// Uninstall entries, and the options, groups and mediator state put back after each test.
#pragma once
#include "app_test_app.h"
#include "app/ui_manager.h"
#include "catalogue/catalogue.h"
#include "catalogue/groups.h"
#include "catalogue/options.h"
#include "support/message_pump.h"
#include "support/registry_sandbox.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace pagestest {

// The ARP cache record as installers' cache leaves it.
inline ArpCacheRecord MakeArpRecord(LONGLONG size, const FILETIME& lastUsed, int frequency)
{
    ArpCacheRecord r;
    ZeroMemory(&r, sizeof(r));
    r.cbSize = sizeof(r);
    r.InstalledSize = size;
    r.LastUsed = lastUsed;
    r.Frequency = frequency;
    return r;
}

inline FILETIME MakeFileTime(WORD year, WORD month, WORD day, WORD hour)
{
    SYSTEMTIME st = {};
    st.wYear = year;
    st.wMonth = month;
    st.wDay = day;
    st.wHour = hour;
    FILETIME ft = {};
    ::SystemTimeToFileTime(&st, &ft);
    return ft;
}

class PagesTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_box.Override(HKEY_CURRENT_USER, "HKCU"));
        ASSERT_TRUE(m_box.Override(HKEY_LOCAL_MACHINE, "HKLM"));
        m_savedOptions = {g_SizeType.Value, g_GridColor1.Value, g_GridColor2.Value, g_GridEnabled.Value,
                          g_Hide.Value,     g_ShowCats.Value,   g_ShowDetails.Value, g_CatsSize.Value,
                          g_ListSize.Value};
        g_SizeType.Value = 0;
        g_Hide.Value = 0;
        g_ShowDetails.Value = 0;
        CUiManager* pUi = CUiManager::GetInstance();
        m_savedUi[0] = pUi->m_hWndLeftPane;
        m_savedUi[1] = pUi->m_hWndRightPane;
        m_savedUi[2] = pUi->m_hWndDetailsPane;
        m_savedUi[3] = pUi->m_hWndGroupsPage;
        pUi->m_hWndLeftPane = pUi->m_hWndRightPane = pUi->m_hWndDetailsPane = pUi->m_hWndGroupsPage = NULL;
        pUi->SetSelectedProgram(NULL);
        ForgetGroupEditor();
        ClearGroups();
        ASSERT_TRUE(m_host.CreateEx(0, AfxRegisterWndClass(0, NULL, (HBRUSH)(COLOR_BTNFACE + 1)), "pages host",
                                    WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 640, 480, NULL, NULL));
    }
    void TearDown() override
    {
        if (m_host.GetSafeHwnd() != NULL) m_host.DestroyWindow();
        testsupport::PumpPending();
        ClearGroups();
        CUiManager* pUi = CUiManager::GetInstance();
        pUi->m_hWndLeftPane = m_savedUi[0];
        pUi->m_hWndRightPane = m_savedUi[1];
        pUi->m_hWndDetailsPane = m_savedUi[2];
        pUi->m_hWndGroupsPage = m_savedUi[3];
        pUi->SetSelectedProgram(NULL);
        ForgetGroupEditor();
        OptionValue* options[] = {&g_SizeType, &g_GridColor1, &g_GridColor2, &g_GridEnabled, &g_Hide,
                                  &g_ShowCats, &g_ShowDetails, &g_CatsSize, &g_ListSize};
        for (size_t i = 0; i < m_savedOptions.size(); ++i) options[i]->Value = m_savedOptions[i];
        m_box.RestoreOverrides();
    }

    // Only "Other" is left, and no group is current.
    static void ClearGroups()
    {
        CGroupManager* pGroups = CGroupManager::GetInstance();
        pGroups->m_pCurrentGroup = NULL;
        while (pGroups->m_Groups.size() > 1) pGroups->DeleteGroup(pGroups->m_Groups.back());
    }

    static void SetSz(const std::string& key, const char* name, const std::string& text)
    {
        ASSERT_TRUE(testsupport::RegistrySandbox::SetString(HKEY_CURRENT_USER, UninstallKeyPath + key, name, text))
            << key << "\\" << name;
    }
    static void SetArp(const std::string& key, LONGLONG size, const FILETIME& lastUsed, int frequency)
    {
        ArpCacheRecord r = MakeArpRecord(size, lastUsed, frequency);
        ASSERT_TRUE(testsupport::RegistrySandbox::SetBinary(HKEY_CURRENT_USER, ArpCacheKeyPath + key,
                                                            "SlowInfoCache", &r, sizeof(r)));
    }
    // An entry with a display name and optionally an uninstall command and a publisher.
    static void SeedEntry(const std::string& key, const char* name, const char* uninstall, const char* publisher)
    {
        SetSz(key, "DisplayName", name);
        if (uninstall != NULL) SetSz(key, "UninstallString", uninstall);
        if (publisher != NULL) SetSz(key, "Publisher", publisher);
    }

    testsupport::RegistrySandbox m_box;
    CWnd m_host;
    std::vector<int> m_savedOptions;
    HWND m_savedUi[4] = {};
};

}  // namespace pagestest
