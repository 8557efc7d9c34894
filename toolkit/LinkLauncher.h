// How the toolkit opens a followed link: the shell's "open" and, when that
// fails, the command registered for web pages. Both go through hooks so that
// the application links its own opener (app/links/) and tests record instead.
#pragma once

#include "afx.h"

class CLinkLauncher
{
public:
    // The shape of ShellExecuteW.
    typedef HINSTANCE (*OpenProc)(HWND hWnd, LPCWSTR lpOperation, LPCWSTR lpFile, LPCWSTR lpParameters,
                                  LPCWSTR lpDirectory, INT nShowCmd);
    // Starts a command line; TRUE when the process started.
    typedef BOOL (*StartProc)(LPCWSTR pszCommandLine);

    // NULL puts the default back (ShellExecuteW, CreateProcessW).
    static void SetOpener(OpenProc pfn);
    static void SetStarter(StartProc pfn);

    // Opens the address with the shell's "open" verb; the shell's result.
    static HINSTANCE Open(LPCWSTR pszUrl);
    static BOOL Start(LPCWSTR pszCommandLine);

    // The command line that opens sUrl with a registered open command: the
    // command is cut before its "%1" placeholder (the quoted one first) and
    // the address follows in double quotes, its own quotes escaped, so that
    // a blank or a quote in it cannot split it into further arguments.
    static CString CommandWithUrl(const CString& sCommand, const CString& sUrl);

private:
    static HINSTANCE ShellOpen(HWND hWnd, LPCWSTR lpOperation, LPCWSTR lpFile, LPCWSTR lpParameters,
                               LPCWSTR lpDirectory, INT nShowCmd);
    static BOOL CreateProcessStart(LPCWSTR pszCommandLine);

    static OpenProc s_pfnOpen;
    static StartProc s_pfnStart;
};
