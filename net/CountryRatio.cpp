// Per-country shares of a proxy list, in parts of 10000.
#include "net/CountryRatio.h"

#include "proxy/CountryTable.h"

#include <vector>

namespace {
const int kTypeElite = 1;
const int kTypeAnonymous = 2;
const int kFiles = 3;

// The share in parts of 10000, truncated; a total of 0 gives 0.
unsigned int Share(unsigned int nCount, unsigned int nTotal)
{
    if (nTotal == 0)
        return 0;
    return (unsigned int)((double)nCount * 10000.0 / (double)(float)nTotal);
}
}  // namespace

bool WriteCountryRatioFiles(const CProxyList& list)
{
    return WriteCountryRatioFiles(list, GetCountryTable().GetCount(), COUNTRY_RATIO_FILE, COUNTRY_ELITE_RATIO_FILE,
                                  COUNTRY_ANONYMOUS_RATIO_FILE);
}

bool WriteCountryRatioFiles(const CProxyList& list, int nCountries, LPCWSTR pszAll, LPCWSTR pszElite,
                            LPCWSTR pszAnonymous)
{
    const LPCWSTR paths[kFiles] = { pszAll, pszElite, pszAnonymous };
    CStdioFile files[kFiles];
    for (int i = 0; i < kFiles; ++i) {
        if (!files[i].Open(paths[i], CFile::modeCreate | CFile::modeReadWrite | CFile::typeText)) {
            for (int j = 0; j < i; ++j)
                files[j].Abort();
            return false;
        }
    }

    if (nCountries < 0)
        nCountries = 0;
    std::vector<unsigned int> counts[kFiles];
    for (int i = 0; i < kFiles; ++i)
        counts[i].assign(nCountries, 0);
    unsigned int totals[kFiles] = { (unsigned int)list.GetCount(), 0, 0 };

    for (POSITION pos = list.GetHeadPosition(); pos != NULL;) {
        const CProxy& proxy = list.GetNext(pos);
        const bool bKnown = proxy.m_nCountry >= 0 && proxy.m_nCountry < nCountries;
        int nFile = -1;
        if (proxy.m_nType == kTypeElite)
            nFile = 1;
        else if (proxy.m_nType == kTypeAnonymous)
            nFile = 2;
        if (nFile > 0)
            ++totals[nFile];
        if (!bKnown)
            continue;
        ++counts[0][proxy.m_nCountry];
        if (nFile > 0)
            ++counts[nFile][proxy.m_nCountry];
    }

    try {
        for (int nCountry = 0; nCountry < nCountries; ++nCountry) {
            for (int i = 0; i < kFiles; ++i) {
                CString line;
                line.Format(L"%u\n", Share(counts[i][nCountry], totals[i]));
                files[i].WriteString(line);
            }
        }
        for (int i = 0; i < kFiles; ++i)
            files[i].Close();
    } catch (CException* e) {
        e->Delete();
        for (int i = 0; i < kFiles; ++i)
            files[i].Abort();
        return false;
    }
    return true;
}
