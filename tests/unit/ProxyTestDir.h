// A temporary directory for the data-file tests, removed with its files.
#pragma once

#include "tests/TestFiles.h"

class CProxyTestDir : public CTempDir
{
public:
    static void WriteBytes(const std::wstring& strPath, const std::string& strBytes)
    {
        WriteFileBytes(strPath, strBytes);
    }
    static std::string ReadBytes(const std::wstring& strPath) { return ReadFileBytes(strPath); }
};
