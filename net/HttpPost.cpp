// The one blocking HTTP POST to the maker's server.
#include "net/HttpPost.h"

#include "net/CurlBuffer.h"

#include <curl/curl.h>
#include <stdlib.h>

bool HttpPost(CStringA strUrl, CStringA strBody, CStringA& strReply)
{
    if (curl_global_init(CURL_GLOBAL_WIN32) != 0)
        return false;
    CURL* pCurl = curl_easy_init();
    if (pCurl == NULL) {
        curl_global_cleanup();
        return false;
    }

    CCurlBuffer buffer = { NULL, 0, SERVER_REPLY_MAX_BYTES, false };
    curl_easy_setopt(pCurl, CURLOPT_URL, strUrl.GetString());
    curl_easy_setopt(pCurl, CURLOPT_POSTFIELDS, strBody.GetString());
    curl_easy_setopt(pCurl, CURLOPT_WRITEFUNCTION, CurlWriteCallback);
    curl_easy_setopt(pCurl, CURLOPT_WRITEDATA, &buffer);
    CURLcode result = curl_easy_perform(pCurl);

    // A reply cut at its cap is no reply: the caller sees what it passed in.
    if (buffer.m_pData != NULL && !buffer.m_bTooLong) {
        strReply.Empty();
        strReply = buffer.m_pData;
    }
    free(buffer.m_pData);
    curl_easy_cleanup(pCurl);
    curl_global_cleanup();
    return result == CURLE_OK;
}
