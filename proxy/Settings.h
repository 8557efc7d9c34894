// The settings store: five sections kept in setting.crv in the current
// directory, held in memory by the one CSettings object of the process.
#pragma once

#include "afx.h"

class CTabStdioFile;

#define SETTINGS_FILE_NAME _T("setting.crv")

// Built-in test page and the text it must contain, used until the maker's
// test definition says otherwise.
#define DEFAULT_TEST_URL "http://www.yahoo.com/"
#define DEFAULT_TEST_VALUE "engine"
#define DEFAULT_PROXY_USER "corvane"

enum
{
    SETTING_ANONYMOUS = 0,
    SETTING_COUNTRY,
    SETTING_TEST,
    SETTING_SWITCH,
    SETTING_MISC,
    SETTING_SECTION_COUNT
};

class CSettingItem
{
public:
    virtual ~CSettingItem() {}
    // Reads the section's lines after its header; false when they break
    // the section's rules (the caller then resets it with SetDefault).
    virtual bool Read(CTabStdioFile& file) = 0;
    virtual void Write(CTabStdioFile& file) = 0;
    virtual void SetDefault() = 0;
};

class CSettingAnonymousItem : public CSettingItem
{
public:
    CSettingAnonymousItem();
    bool Read(CTabStdioFile& file) override;
    void Write(CTabStdioFile& file) override;
    void SetDefault() override;

    bool m_bElite;
    bool m_bAnonymous;
    bool m_bTransparent;
};

class CSettingCountryItem : public CSettingItem
{
public:
    // Sized by the country table.
    CSettingCountryItem();
    explicit CSettingCountryItem(int nCount);
    ~CSettingCountryItem() override;
    bool Read(CTabStdioFile& file) override;
    void Write(CTabStdioFile& file) override;
    void SetDefault() override;

    bool m_bAllCountries;
    unsigned char* m_pSelected;  // m_nCount bytes, 1 = selected
    int m_nCount;

private:
    CSettingCountryItem(const CSettingCountryItem&) = delete;
    CSettingCountryItem& operator=(const CSettingCountryItem&) = delete;
};

class CSettingTestItem : public CSettingItem
{
public:
    CSettingTestItem();
    bool Read(CTabStdioFile& file) override;
    void Write(CTabStdioFile& file) override;
    void SetDefault() override;

    void SetCorrectValue(const char* pszValue);
    // Takes the test page and expected text from the maker's test
    // definition reply ("URL|text|", 8 to 49 bytes); any other reply gives
    // the built-in test page.
    void ApplyTestDefinition(const char* pReply, size_t nLength);

    int m_nTestType;        // 0 none, 1 availability, 2 speed
    int m_nThreadCount;     // 5 to 30
    int m_nTimeoutSeconds;  // 5 to 30
    char m_szURL[256];
    char m_szCorrectValue[256];
};

// Fetches the maker's test definition into strReply for SetDefault of the
// test section; none set means the built-in test page.
typedef void (*PFN_FETCH_TEST_DEFINITION)(CStringA& strReply);
extern PFN_FETCH_TEST_DEFINITION g_pfnFetchTestDefinition;

class CSettingSwitchItem : public CSettingItem
{
public:
    CSettingSwitchItem();
    bool Read(CTabStdioFile& file) override;
    void Write(CTabStdioFile& file) override;
    void SetDefault() override;

    bool m_bFirefox;
    int m_nInterval;  // minutes, 4 to 100
    int m_nRatio;     // percent of the list, 20 to 100
};

class CSettingMiscItem : public CSettingItem
{
public:
    CSettingMiscItem();
    bool Read(CTabStdioFile& file) override;
    void Write(CTabStdioFile& file) override;
    void SetDefault() override;

    void SetMac(const char* pszMac);

    char m_szProxyUser[100];
    bool m_bReplaceByGet;
    bool m_bReplaceByImport;
    char m_szMac[18];
};

struct SettingSection
{
    LPCTSTR pszHeader;
    CSettingItem* (*pfnCreate)(int nCountryCount);
};

// Header lines and item makers in slot order, the order of a written file.
extern const SettingSection g_settingSections[SETTING_SECTION_COUNT];

class CSettings
{
public:
    CSettings();
    ~CSettings();

    // Releases the items and leaves the slots empty.
    void Clear();

    CSettingAnonymousItem* GetAnonymous() const
    {
        return static_cast<CSettingAnonymousItem*>(m_pItems[SETTING_ANONYMOUS]);
    }
    CSettingCountryItem* GetCountry() const { return static_cast<CSettingCountryItem*>(m_pItems[SETTING_COUNTRY]); }
    CSettingTestItem* GetTest() const { return static_cast<CSettingTestItem*>(m_pItems[SETTING_TEST]); }
    CSettingSwitchItem* GetSwitch() const { return static_cast<CSettingSwitchItem*>(m_pItems[SETTING_SWITCH]); }
    CSettingMiscItem* GetMisc() const { return static_cast<CSettingMiscItem*>(m_pItems[SETTING_MISC]); }

    CSettingItem* m_pItems[SETTING_SECTION_COUNT];
    bool m_bLoaded;

private:
    CSettings(const CSettings&) = delete;
    CSettings& operator=(const CSettings&) = delete;
};

// The process's settings, empty and not loaded until the main window
// initialises them.
CSettings& GetSettings();

bool SettingsFileExists();
bool LoadSettings(CSettings& settings);
bool SaveSettings(CSettings& settings);
void SetDefaultSettings(CSettings& settings);

// The main window's settings step: loads setting.crv when there is one,
// else sets the defaults; returns the loaded settings.
CSettings& InitSettings();

// The same on a given file and country count (the public forms use
// setting.crv and the country table's count).
bool SettingsFileExists(LPCTSTR pszPath);
bool LoadSettingsFile(CSettings& settings, LPCTSTR pszPath, int nCountryCount);
bool SaveSettingsFile(CSettings& settings, LPCTSTR pszPath);
void SetDefaultSettings(CSettings& settings, int nCountryCount);
