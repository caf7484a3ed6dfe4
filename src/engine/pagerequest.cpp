#include "engine/pagerequest.h"

#include <windows.h>
#include <msxml2.h>
#include <oleauto.h>

#include <cstdio>

#include "platform/pump.h"
#include "platform/systemtext.h"
#include "platform/owned.h"

namespace engine {

namespace {

// mingw's import libraries lack these two.
const CLSID kXmlHttpClass = {0xED8C108E, 0x4349, 0x11D2, {0x91, 0xA4, 0x00, 0xC0, 0x4F, 0x79, 0x69, 0xE8}};
const IID kXmlHttpInterface = {0xED8C108D, 0x4349, 0x11D2, {0x91, 0xA4, 0x00, 0xC0, 0x4F, 0x79, 0x69, 0xE8}};

std::string SystemText(HRESULT hr) {
    std::string text = platform::SystemText(static_cast<DWORD>(hr));
    char code[32];
    std::snprintf(code, sizeof code, "%08lX", static_cast<unsigned long>(hr));
    return text.empty() ? "Error " + std::string(code) : text + " (" + code + ")";
}

void Check(HRESULT hr) {
    if (FAILED(hr)) throw ComError(hr, SystemText(hr));
}

// The 8-bit text through the system's code page, as 16-bit text.
std::wstring Widen(const std::string& s) {
    if (s.empty()) return {};
    int n = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}

// A new BSTR holding the text.
platform::Bstr Text(const std::wstring& s) {
    return platform::Bstr(SysAllocStringLen(s.data(), static_cast<UINT>(s.size())));
}

}  // namespace

std::wstring FetchPage(const std::string& url) {
    std::wstring wurl = Widen(url);
    platform::Com<IXMLHTTPRequest> req;
    Check(CoCreateInstance(kXmlHttpClass, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, kXmlHttpInterface,
                           req.PutVoid()));

    VARIANT async;
    VariantInit(&async);
    async.vt = VT_BOOL;
    async.boolVal = VARIANT_FALSE;
    VARIANT absent;  // user name and password left out
    VariantInit(&absent);
    absent.vt = VT_ERROR;
    absent.scode = DISP_E_PARAMNOTFOUND;
    Check(req->open(Text(L"GET").get(), Text(wurl).get(), async, absent, absent));
    Check(req->setRequestHeader(Text(L"Referer").get(), Text(wurl).get()));
    Check(req->setRequestHeader(Text(L"Pragma").get(), Text(L"no-cache").get()));
    Check(req->setRequestHeader(Text(L"User-Agent").get(),
                                Text(L"Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)").get()));
    VARIANT body;
    VariantInit(&body);
    Check(req->send(body));

    // The request is synchronous, so this normally takes one pass.
    long state = 0;
    for (;;) {
        platform::PumpThreadMessages();
        Sleep(100);
        Check(req->get_readyState(&state));
        if (state == 4) break;
    }
    platform::Bstr text;
    Check(req->get_responseText(text.Put()));
    return text.get() ? std::wstring(text.get(), SysStringLen(text.get())) : std::wstring();
}

}  // namespace engine
