// Where the drawer's images come from: resources of the program or of a
// library, bitmap files, the resource module, and host handles checked
// before they are drawn.
#include "MarkupDrawer.h"

namespace {

// Libraries are opened for their resources only: mapped as data, so that
// no code of a library named in a tip's text ever runs.
HMODULE LoadResourceLibrary(LPCWSTR pszLibrary)
{
    return ::LoadLibraryExW(pszLibrary, NULL, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
}

// The module a loader reads: the named library for this call only, or
// the drawer's resource module.
class CImageModule
{
public:
    CImageModule(LPCWSTR pszLibrary, HINSTANCE hResInstance)
        : m_hLoaded(pszLibrary ? LoadResourceLibrary(pszLibrary) : NULL),
          m_hModule(pszLibrary ? m_hLoaded : hResInstance)
    {}
    ~CImageModule()
    {
        if (m_hLoaded)
            ::FreeLibrary(m_hLoaded);
    }
    CImageModule(const CImageModule&) = delete;
    CImageModule& operator=(const CImageModule&) = delete;

    HINSTANCE Get() const { return m_hModule; }

private:
    HMODULE m_hLoaded;
    HINSTANCE m_hModule;
};

// Resource ids are 16-bit: a larger id must not wrap onto another resource.
bool IsResourceId(UINT nID)
{
    return nID != 0 && nID <= 0xFFFF;
}

}  // namespace

HICON CMarkupDrawer::LoadIconImage(LPCWSTR pszLibrary, UINT nID, int cx, int cy)
{
    if (!IsResourceId(nID))
        return NULL;
    CImageModule module(pszLibrary, m_hResInstance);
    if (!module.Get())
        return NULL;
    return (HICON)::LoadImageW(module.Get(), MAKEINTRESOURCEW(nID), IMAGE_ICON, cx, cy, LR_DEFAULTCOLOR);
}

HBITMAP CMarkupDrawer::LoadResBitmap(UINT nID)
{
    if (!IsResourceId(nID))
        return NULL;
    return (HBITMAP)::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nID), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR);
}

HBITMAP CMarkupDrawer::LoadFileBitmap(LPCWSTR pszPath)
{
    if (!pszPath || !*pszPath)
        return NULL;
    return (HBITMAP)::LoadImageW(NULL, pszPath, IMAGE_BITMAP, 0, 0,
                                 LR_CREATEDIBSECTION | LR_DEFAULTSIZE | LR_LOADFROMFILE);
}

HBITMAP CMarkupDrawer::LoadDllBitmap(LPCWSTR pszLibrary, UINT nID)
{
    if (!IsResourceId(nID))
        return NULL;
    CImageModule module(pszLibrary, m_hResInstance);
    if (!module.Get())
        return NULL;
    return (HBITMAP)::LoadImageW(module.Get(), MAKEINTRESOURCEW(nID), IMAGE_BITMAP, 0, 0,
                                 LR_CREATEDIBSECTION | LR_DEFAULTSIZE);
}

BOOL CMarkupDrawer::SetResourceModule(LPCWSTR pszLibrary)
{
    if (m_bFreeResInstance && m_hResInstance)
        ::FreeLibrary(m_hResInstance);
    m_hResInstance = NULL;
    m_bFreeResInstance = FALSE;
    if (!pszLibrary)
        return TRUE;
    m_hResInstance = LoadResourceLibrary(pszLibrary);
    m_bFreeResInstance = m_hResInstance != NULL;
    return m_hResInstance != NULL;
}

// A number in the text is drawn only when it names a live object of the
// right kind: anything else would hand a stray handle to GDI.
HBITMAP CMarkupDrawer::BitmapFromHandle(int nHandle)
{
    HGDIOBJ hObject = (HGDIOBJ)(INT_PTR)nHandle;
    if (!hObject || ::GetObjectType(hObject) != OBJ_BITMAP)
        return NULL;
    return (HBITMAP)hObject;
}

HICON CMarkupDrawer::IconFromHandle(int nHandle)
{
    HICON hIcon = (HICON)(INT_PTR)nHandle;
    ICONINFO info;
    if (!hIcon || !::GetIconInfo(hIcon, &info))
        return NULL;
    if (info.hbmMask)
        ::DeleteObject(info.hbmMask);
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    return hIcon;
}
