// The harvest worker: the proxy-list sources, and the threads that read
// them, at most five at a time.
#pragma once

#include "net/HarvestSources.h"
#include "net/Worker.h"

// Site threads in flight at most.
#define HARVEST_SITE_THREADS 5

class CObtainWebSiteWorker : public CWorker
{
public:
    // Reads both source lists under AdminFile.
    CObtainWebSiteWorker();
    ~CObtainWebSiteWorker() override;

    // The sources in file order: the web sites, then the local page files.
    CWebSiteList m_sites;
};

// Built on first use; the source lists are read then and never again.
CObtainWebSiteWorker& GetObtainWebSiteWorker();

// Starts one site thread per source not yet done, in order; sets m_bDone
// once the last of them has ended. No argument.
UINT AFX_CDECL ObtainWebSiteDispatchProc(LPVOID pParam);
// pParam is the site, an element of m_sites.
UINT AFX_CDECL ObtainWebSiteProc(LPVOID pParam);

// Ports that are never harvested.
bool IsExcludedPort(int nPort);
