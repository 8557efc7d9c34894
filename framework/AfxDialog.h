// Dialogs: modal (DoModal, with its own message loop and the pre-translate
// walk) and modeless (Create). Controls are bound in DoDataExchange.
#pragma once

#include "AfxWnd.h"

class CDataExchange
{
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd), m_idLastControl(0)
    {}

    BOOL m_bSaveAndValidate;  // TRUE: controls to members; FALSE: members to controls
    CWnd* m_pDlgWnd;
    int m_idLastControl;

    // The control's window; throws (ends the exchange) when the dialog has none.
    HWND PrepareCtrl(int nIDC);
    // Ends a failed exchange: focus goes to the last control.
    [[noreturn]] void Fail();
};

// Thrown by CDataExchange::Fail and caught by UpdateData.
class CUserException : public CException
{
    DECLARE_DYNAMIC(CUserException)
};

// Binds control nIDC to rControl the first time; later exchanges keep it.
void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

class CDialog : public CWnd
{
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog();
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    explicit CDialog(LPCWSTR lpszTemplateName, CWnd* pParentWnd = NULL);
    virtual ~CDialog();

    // Modeless: creates the dialog from the resource template.
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    virtual BOOL Create(LPCWSTR lpszTemplateName, CWnd* pParentWnd = NULL);
    BOOL CreateIndirect(LPCDLGTEMPLATEW lpDialogTemplate, CWnd* pParentWnd = NULL);

    // Modal: uses a template in memory instead of the resource (the template
    // must outlive DoModal).
    BOOL InitModalIndirect(LPCDLGTEMPLATEW lpDialogTemplate, CWnd* pParentWnd = NULL);
    // Runs the dialog modally; returns the EndDialog code, -1 when the dialog
    // could not be created. Nests: a modal dialog may open another.
    virtual INT_PTR DoModal();
    // Ends the dialog: a modal loop returns nResult; a modeless dialog is hidden.
    void EndDialog(int nResult);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    BOOL PreTranslateMessage(MSG* pMsg) override;

    void GotoDlgCtrl(CWnd* pWndCtrl);
    void NextDlgCtrl() const { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 0, 0); }
    void PrevDlgCtrl() const { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 1, 0); }
    void SetDefID(UINT nID) { ::SendMessageW(m_hWnd, DM_SETDEFID, nID, 0); }
    DWORD GetDefID() const { return (DWORD)::SendMessageW(m_hWnd, DM_GETDEFID, 0, 0); }
    void MapDialogRect(LPRECT lpRect) const { ::MapDialogRect(m_hWnd, lpRect); }

    LPCWSTR m_lpszTemplateName;  // MAKEINTRESOURCE(id) or a name
    UINT m_nIDHelp;
    CWnd* m_pParentWnd;

    // The dialog procedure of framework dialogs: binds the object at
    // WM_INITDIALOG and leaves everything else to the framework procedure.
    static INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    LPCDLGTEMPLATEW m_lpDialogTemplate;  // in-memory template, or NULL
    int m_nModalResult;
    BOOL m_bEndDialog;  // EndDialog was called during the modal run
    BOOL m_bInModal;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Runs the modal loop until EndDialog; returns the result.
    int RunModalLoop();
    HWND PreModal();  // the owner to disable, or NULL
    BOOL CreateFromTemplate(LPCDLGTEMPLATEW lpTemplate, HWND hWndParent, BOOL bHideUntilInit);
    LPCDLGTEMPLATEW LoadTemplate(LPCWSTR lpszTemplateName, HGLOBAL* phResource);

    DECLARE_MESSAGE_MAP()
};
