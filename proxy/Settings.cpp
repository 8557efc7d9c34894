// The settings store: setting.crv read into and written from the one CSettings.
#include "proxy/Settings.h"

#include "proxy/CountryTable.h"
#include "proxy/TabStdioFile.h"

namespace {
template <typename ITEM>
CSettingItem* CreateItem(int)
{
    return new ITEM;
}

CSettingItem* CreateCountryItem(int nCountryCount)
{
    return new CSettingCountryItem(nCountryCount);
}

// The header that names one of the sections, or -1.
int FindSection(LPCTSTR pszHeader)
{
    for (int i = 0; i < SETTING_SECTION_COUNT; ++i) {
        if (_tcscmp(g_settingSections[i].pszHeader, pszHeader) == 0)
            return i;
    }
    return -1;
}

void ReadSections(CSettings& settings, CTabStdioFile& file, int nCountryCount)
{
    TCHAR szHeader[TAB_LINE_SIZE];
    int nSlot;
    // Sections come in any order; anything but a header line alone where a
    // header is due ends the reading.
    while (file.ReadField(szHeader, TRUE) != NULL && (nSlot = FindSection(szHeader)) >= 0) {
        delete settings.m_pItems[nSlot];
        settings.m_pItems[nSlot] = NULL;
        CSettingItem* pItem = g_settingSections[nSlot].pfnCreate(nCountryCount);
        settings.m_pItems[nSlot] = pItem;
        try {
            if (!pItem->Read(file))
                pItem->SetDefault();
        } catch (CException*) {
            // Not left half-read: a broken section takes its defaults.
            pItem->SetDefault();
            throw;
        }
    }
}
}  // namespace

const SettingSection g_settingSections[SETTING_SECTION_COUNT] = {
    { _T("Anonymous_Type:"), CreateItem<CSettingAnonymousItem> },
    { _T("Country:"), CreateCountryItem },
    { _T("Test:"), CreateItem<CSettingTestItem> },
    { _T("Switch:"), CreateItem<CSettingSwitchItem> },
    { _T("Misc:"), CreateItem<CSettingMiscItem> },
};

CSettings::CSettings() : m_bLoaded(false)
{
    for (int i = 0; i < SETTING_SECTION_COUNT; ++i)
        m_pItems[i] = NULL;
}

CSettings::~CSettings()
{
    Clear();
}

void CSettings::Clear()
{
    for (int i = 0; i < SETTING_SECTION_COUNT; ++i) {
        delete m_pItems[i];
        m_pItems[i] = NULL;
    }
}

CSettings& GetSettings()
{
    static CSettings settings;
    return settings;
}

bool SettingsFileExists(LPCTSTR pszPath)
{
    CFile file;
    if (!file.Open(pszPath, CFile::modeRead))
        return false;
    file.Close();
    return true;
}

bool SettingsFileExists()
{
    return SettingsFileExists(SETTINGS_FILE_NAME);
}

bool LoadSettingsFile(CSettings& settings, LPCTSTR pszPath, int nCountryCount)
{
    settings.Clear();
    {
        CTabStdioFile file;
        if (file.Open(pszPath, CFile::modeRead | CFile::typeText)) {
            // A read error ends the reading like a broken section: what was
            // read stays, the rest takes its defaults.
            try {
                ReadSections(settings, file, nCountryCount);
            } catch (CException* e) {
                e->Delete();
            }
        }
    }
    for (int i = 0; i < SETTING_SECTION_COUNT; ++i) {
        if (settings.m_pItems[i] == NULL) {
            settings.m_pItems[i] = g_settingSections[i].pfnCreate(nCountryCount);
            settings.m_pItems[i]->SetDefault();
        }
    }
    settings.m_bLoaded = true;
    return true;
}

bool LoadSettings(CSettings& settings)
{
    return LoadSettingsFile(settings, SETTINGS_FILE_NAME, GetCountryTable().GetCount());
}

bool SaveSettingsFile(CSettings& settings, LPCTSTR pszPath)
{
    CTabStdioFile file;
    if (!file.Open(pszPath, CFile::modeCreate | CFile::modeReadWrite | CFile::typeText))
        return false;
    try {
        for (int i = 0; i < SETTING_SECTION_COUNT; ++i) {
            file.WriteField(g_settingSections[i].pszHeader, TRUE);
            if (settings.m_pItems[i] != NULL)
                settings.m_pItems[i]->Write(file);
        }
        file.Close();
    } catch (CException* e) {
        // A file that could not be written whole is reported as not saved.
        e->Delete();
        return false;
    }
    return true;
}

bool SaveSettings(CSettings& settings)
{
    return SaveSettingsFile(settings, SETTINGS_FILE_NAME);
}

void SetDefaultSettings(CSettings& settings, int nCountryCount)
{
    settings.Clear();
    for (int i = 0; i < SETTING_SECTION_COUNT; ++i) {
        settings.m_pItems[i] = g_settingSections[i].pfnCreate(nCountryCount);
        settings.m_pItems[i]->SetDefault();
    }
    settings.m_bLoaded = true;
}

void SetDefaultSettings(CSettings& settings)
{
    SetDefaultSettings(settings, GetCountryTable().GetCount());
}

CSettings& InitSettings()
{
    CSettings& settings = GetSettings();
    if (SettingsFileExists())
        LoadSettings(settings);
    else
        SetDefaultSettings(settings);
    return settings;
}
