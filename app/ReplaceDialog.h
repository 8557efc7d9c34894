// Asks whether a newly fetched or imported list replaces the current one or
// is appended to it, and remembers the answer in the settings.
#pragma once

#include "afxwin.h"
#include "resource.h"

class CReplaceDialog : public CDialog
{
public:
    enum
    {
        IDD = IDD_REPLACE
    };

    // bForDownload: asked by Get Proxy (ReplacebyGet), else by Import
    // (ReplacebyImport).
    explicit CReplaceDialog(bool bForDownload, CWnd* pParent = NULL);

    BOOL OnInitDialog() override;

    bool m_bForDownload;

protected:
    // Stores the choice and writes setting.crv at once; Cancel stores nothing.
    void OnOK() override;

    DECLARE_MESSAGE_MAP()

private:
    bool* ChosenFlag() const;
};
