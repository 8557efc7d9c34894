// Placeholder layout of the mark-up drawer: lays nothing out, so that the
// drawer links and its entry points can be tested before the real layout
// files replace this one.
#include "MarkupDrawer.h"

CSize CMarkupDrawer::LayoutBody(CRect) { return CSize(0, 0); }
int CMarkupDrawer::BeginLine(int x) { return x; }
void CMarkupDrawer::EndLine(int, CSize&, int&, int&) {}
int CMarkupDrawer::PlaceText(int, int y) { return y; }
int CMarkupDrawer::PlaceObject(int, int y) { return y; }
void CMarkupDrawer::AdvanceTab(int, int&) {}
void CMarkupDrawer::SelectStyle() {}
CString CMarkupDrawer::FindWrapPoint(CString&, int& nWidth, int) { nWidth = 0; return CString(); }
void CMarkupDrawer::AddHyperlinkArea(int, int, int, int) {}
CSize CMarkupDrawer::RenderRun(const CString&, CRect) { return CSize(0, 0); }
CSize CMarkupDrawer::LayoutTable(const CString&, CRect) { return CSize(0, 0); }
void CMarkupDrawer::LayoutRow(const CString&, CRect, HtmlTable&, int) {}
void CMarkupDrawer::LayoutCell(const CString&, CRect, HtmlTableCell&) {}
int CMarkupDrawer::FindAreaAt(POINT) const { return -1; }
BOOL CMarkupDrawer::TrackHotArea(POINT) { return FALSE; }
int CMarkupDrawer::FollowLink(int) { return 0; }
BOOL CMarkupDrawer::StepAnimations() { return FALSE; }
LONG CMarkupDrawer::ReadDefaultValue(HKEY hKey, CString& sValue) { if (hKey) RegCloseKey(hKey); sValue.Empty(); return 0; }
