// CDialog: modal and modeless dialogs, and dialog data exchange.
#include "afxwin.h"
#include <vector>

IMPLEMENT_DYNAMIC(CDialog, CWnd)
IMPLEMENT_DYNAMIC(CUserException, CException)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, &CDialog::OnOK)
ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

// --- data exchange -----------------------------------------------------------

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    m_idLastControl = nIDC;
    return ::GetDlgItem(m_pDlgWnd->GetSafeHwnd(), nIDC);
}

void CDataExchange::Fail()
{
    if (m_idLastControl != 0) {
        HWND hCtrl = ::GetDlgItem(m_pDlgWnd->GetSafeHwnd(), m_idLastControl);
        if (hCtrl != NULL)
            ::SetFocus(hCtrl);
    }
    throw new CUserException;
}

void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    // Bound once: later exchanges find the object attached and leave it.
    if (rControl.m_hWnd != NULL)
        return;
    HWND hCtrl = pDX->PrepareCtrl(nIDC);
    if (hCtrl != NULL)
        rControl.SubclassWindow(hCtrl);
}

// --- construction --------------------------------------------------------------

CDialog::CDialog()
    : m_lpszTemplateName(NULL),
      m_nIDHelp(0),
      m_pParentWnd(NULL),
      m_lpDialogTemplate(NULL),
      m_nModalResult(-1),
      m_bEndDialog(FALSE),
      m_bInModal(FALSE)
{}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCEW(nIDTemplate)),
      m_nIDHelp(nIDTemplate),
      m_pParentWnd(pParentWnd),
      m_lpDialogTemplate(NULL),
      m_nModalResult(-1),
      m_bEndDialog(FALSE),
      m_bInModal(FALSE)
{}

CDialog::CDialog(LPCWSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName),
      m_nIDHelp(0),
      m_pParentWnd(pParentWnd),
      m_lpDialogTemplate(NULL),
      m_nModalResult(-1),
      m_bEndDialog(FALSE),
      m_bInModal(FALSE)
{}

CDialog::~CDialog()
{
    // A modeless dialog still on screen goes with its object.
    if (m_hWnd != NULL && FromHandlePermanent(m_hWnd) == this &&
        ::GetWindowThreadProcessId(m_hWnd, NULL) == ::GetCurrentThreadId())
        ::DestroyWindow(m_hWnd);
}

// --- the dialog procedure ----------------------------------------------------------

INT_PTR CALLBACK CDialog::AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    CDialog* pDlg = reinterpret_cast<CDialog*>(lParam);
    if (pDlg == NULL || pDlg->m_hWnd != NULL)
        return FALSE;
    pDlg->AttachProc(hWnd);

    MSG* pCur = const_cast<MSG*>(CWnd::GetCurrentMessage());
    MSG saved = *pCur;
    pCur->hwnd = hWnd;
    pCur->message = message;
    pCur->wParam = wParam;
    pCur->lParam = lParam;
    BOOL bResult = FALSE;
    try {
        bResult = pDlg->OnInitDialog();
    } catch (CException* e) {
        ::OutputDebugStringW(L"Unhandled exception in OnInitDialog\n");
        e->Delete();
    } catch (...) {
        ::OutputDebugStringW(L"Unhandled exception in OnInitDialog\n");
    }
    *pCur = saved;
    return bResult;
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = CWnd::WindowProc(message, wParam, lParam);
    // A notification's answer is also the dialog's message result.
    // Setting it is a server round trip under Wine, reading it is not:
    // notifications come by the thousand, mostly with the same answer.
    if (message == WM_NOTIFY && m_hWnd != NULL && ::GetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT) != lResult)
        ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, lResult);
    return lResult;
}

// --- templates and creation ------------------------------------------------------------

LPCDLGTEMPLATEW CDialog::LoadTemplate(LPCWSTR lpszTemplateName, HGLOBAL* phResource)
{
    (void)phResource;
    if (lpszTemplateName == NULL)
        return NULL;
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hRsrc = ::FindResourceW(hInst, lpszTemplateName, (LPCWSTR)RT_DIALOG);
    if (hRsrc == NULL) {
        hInst = AfxGetInstanceHandle();
        hRsrc = ::FindResourceW(hInst, lpszTemplateName, (LPCWSTR)RT_DIALOG);
    }
    if (hRsrc == NULL)
        return NULL;
    HGLOBAL hRes = ::LoadResource(hInst, hRsrc);
    return hRes ? (LPCDLGTEMPLATEW)::LockResource(hRes) : NULL;
}

BOOL CDialog::CreateFromTemplate(LPCDLGTEMPLATEW lpTemplate, HWND hWndParent, BOOL bHideUntilInit)
{
    (void)bHideUntilInit;
    if (lpTemplate == NULL || m_hWnd != NULL)
        return FALSE;
    HWND hWnd = ::CreateDialogIndirectParamW(AfxGetResourceHandle(), lpTemplate, hWndParent, &CDialog::AfxDlgProc,
                                             (LPARAM)this);
    return hWnd != NULL && m_hWnd == hWnd;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    return Create(MAKEINTRESOURCEW(nIDTemplate), pParentWnd);
}

BOOL CDialog::Create(LPCWSTR lpszTemplateName, CWnd* pParentWnd)
{
    m_lpszTemplateName = lpszTemplateName;
    if (IS_INTRESOURCE(lpszTemplateName) && m_nIDHelp == 0)
        m_nIDHelp = (UINT)(UINT_PTR)lpszTemplateName;
    if (pParentWnd != NULL)
        m_pParentWnd = pParentWnd;
    return CreateIndirect(LoadTemplate(lpszTemplateName, NULL), pParentWnd);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATEW lpDialogTemplate, CWnd* pParentWnd)
{
    m_bEndDialog = FALSE;
    return CreateFromTemplate(lpDialogTemplate, pParentWnd->GetSafeHwnd(), FALSE);
}

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATEW lpDialogTemplate, CWnd* pParentWnd)
{
    m_lpDialogTemplate = lpDialogTemplate;
    if (pParentWnd != NULL)
        m_pParentWnd = pParentWnd;
    return lpDialogTemplate != NULL;
}

// --- the modal run ---------------------------------------------------------------------

namespace {
// Size of a dialog template resource, so that a copy can be changed.
bool CopyTemplateWithoutVisible(LPCDLGTEMPLATEW lpTemplate, LPCWSTR lpszName, std::vector<BYTE>& copy)
{
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hRsrc = ::FindResourceW(hInst, lpszName, (LPCWSTR)RT_DIALOG);
    if (hRsrc == NULL)
        hRsrc = ::FindResourceW(hInst = AfxGetInstanceHandle(), lpszName, (LPCWSTR)RT_DIALOG);
    DWORD cb = hRsrc ? ::SizeofResource(hInst, hRsrc) : 0;
    if (cb < sizeof(DLGTEMPLATE))
        return false;
    copy.assign((const BYTE*)lpTemplate, (const BYTE*)lpTemplate + cb);
    // DLGTEMPLATEEX: dlgVer 1, signature 0xFFFF, then help id, extended style, style.
    const WORD* pw = (const WORD*)copy.data();
    size_t offStyle = (pw[0] == 1 && pw[1] == 0xFFFF) ? 12 : 0;
    if (offStyle + sizeof(DWORD) > copy.size())
        return false;
    DWORD style;
    memcpy(&style, copy.data() + offStyle, sizeof(style));
    style &= ~WS_VISIBLE;
    memcpy(copy.data() + offStyle, &style, sizeof(style));
    return true;
}
}  // namespace

HWND CDialog::PreModal()
{
    // The owner: the given parent, else the thread's main window; a pop-up
    // cannot be owned by a child, and without a parent the main window's
    // last active pop-up (an open modal dialog) owns the new one.
    HWND hWnd = m_pParentWnd->GetSafeHwnd();
    if (hWnd == NULL) {
        CWnd* pMain = AfxGetMainWnd();
        hWnd = (pMain != this) ? pMain->GetSafeHwnd() : NULL;
        if (hWnd != NULL && !::IsWindow(hWnd))
            hWnd = NULL;
        if (hWnd != NULL) {
            while (hWnd != NULL && (::GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_CHILD))
                hWnd = ::GetParent(hWnd);
            if (hWnd != NULL)
                hWnd = ::GetLastActivePopup(hWnd);
        }
    } else {
        while (hWnd != NULL && (::GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_CHILD))
            hWnd = ::GetParent(hWnd);
    }
    if (hWnd != NULL && ::GetWindowThreadProcessId(hWnd, NULL) != ::GetCurrentThreadId())
        hWnd = NULL;
    return hWnd;
}

INT_PTR CDialog::DoModal()
{
    if (m_hWnd != NULL)
        return -1;
    LPCDLGTEMPLATEW lpTemplate = m_lpDialogTemplate;
    std::vector<BYTE> copy;
    if (lpTemplate == NULL) {
        lpTemplate = LoadTemplate(m_lpszTemplateName, NULL);
        // The dialog stays hidden until OnInitDialog has returned; the loop
        // shows it then.
        if (lpTemplate != NULL && CopyTemplateWithoutVisible(lpTemplate, m_lpszTemplateName, copy))
            lpTemplate = (LPCDLGTEMPLATEW)copy.data();
    }
    if (lpTemplate == NULL)
        return -1;

    HWND hOwner = PreModal();
    BOOL bEnableOwner = FALSE;
    if (hOwner != NULL && ::IsWindowEnabled(hOwner)) {
        ::EnableWindow(hOwner, FALSE);
        bEnableOwner = TRUE;
    }

    m_bEndDialog = FALSE;
    m_nModalResult = -1;
    m_bInModal = TRUE;
    if (CreateFromTemplate(lpTemplate, hOwner, TRUE) && !m_bEndDialog) {
        if (!::IsWindowVisible(m_hWnd))
            ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
        RunModalLoop();
    }
    m_bInModal = FALSE;

    // Owner first, so that activation goes back to it and not elsewhere.
    if (bEnableOwner)
        ::EnableWindow(hOwner, TRUE);
    if (m_hWnd != NULL) {
        if (hOwner != NULL && ::GetActiveWindow() == m_hWnd)
            ::SetActiveWindow(hOwner);
        ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        DestroyWindow();
    }
    return m_nModalResult;
}

int CDialog::RunModalLoop()
{
    MSG msg;
    while (!m_bEndDialog && m_hWnd != NULL) {
        BOOL bRet = ::GetMessageW(&msg, NULL, 0, 0);
        if (bRet == -1)
            break;
        if (bRet == 0) {
            // WM_QUIT ends this loop and goes on to the outer ones.
            ::PostQuitMessage((int)msg.wParam);
            if (!m_bEndDialog)
                m_nModalResult = -1;
            break;
        }
        if (AfxPreTranslateWalk(m_hWnd, &msg))
            continue;
        if (m_hWnd != NULL && ::IsDialogMessageW(m_hWnd, &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult)
{
    m_nModalResult = nResult;
    m_bEndDialog = TRUE;
    if (m_hWnd != NULL) {
        ::EndDialog(m_hWnd, nResult);
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0);  // wakes the modal loop
    }
}

// --- virtuals --------------------------------------------------------------------------

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    // Keyboard and mouse input of the dialog and its controls goes through
    // the dialog manager (tab, arrows, Enter, Esc, mnemonics).
    bool bInput = (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) ||
                  (pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST);
    if (!bInput || m_hWnd == NULL)
        return FALSE;
    if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd))
        return FALSE;
    return ::IsDialogMessageW(m_hWnd, pMsg);
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl)
{
    if (pWndCtrl != NULL && m_hWnd != NULL)
        ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, (WPARAM)pWndCtrl->m_hWnd, 1);
}
