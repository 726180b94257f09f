// The optional announcement to the statistics endpoint: one GET at start-up whose completion
// arrives later through the event pump and only sets a flag; nothing waits for it.
#include "game/app.h"
#include "game/globals.h"

int c_MyApp::p_GetURL(const String& url, const String& query) {
    m_netStatus = String("N/A");
    c_HttpRequest* request = (new c_HttpRequest)->m_new();
    request->p_Open(String("GET"), url + String("?") + query, this);
    gc_assign(m_request, request);
    request->p_Send();
    kvPrint(String("Requesting URL"));
    m_requestDone = 0;
    return 0;
}

void c_MyApp::p_OnHttpRequestComplete(c_HttpRequest* request) {
    if (request != m_request) return;
    kvPrint(String("Http GET complete! ") + String(request->p_Status()));
    m_requestDone = 1;
    m_netStatus = request->p_ResponseText();
    if (m_netStatus.Length() > 0) kv_Tol_J_On_Able = 1;
}
