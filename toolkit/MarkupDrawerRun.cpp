// RenderRun of CMarkupDrawer: one run of mark-up laid out (and, while
// drawing, painted) by a CMarkupRun that lives for the length of the run.
#include "toolkit/MarkupDrawer.h"

#include "toolkit/MarkupRun.h"

CSize CMarkupDrawer::RenderRun(const CString& sRun, CRect rect)
{
    CMarkupRun run(*this, rect);
    return run.Run(sRun);
}
