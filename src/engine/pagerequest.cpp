#include "engine/pagerequest.h"

#include <windows.h>
#include <msxml2.h>
#include <oleauto.h>
#include <psapi.h>
#include <wininet.h>

#include <cstdio>
#include <exception>
#include <memory>
#include <thread>

#include "engine/fetcher.h"
#include "platform/codepage.h"
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

const char* const kAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";

// A page that never ends keeps the queue full; the request's loop goes on to its tests after this.
constexpr DWORD kPumpBudgetMs = 200;
// How long a page that did not arrive may take to say whether its certificate was refused.
constexpr uint32_t kProbeMs = 4000;

// The process's commit charge (Wine leaves PrivateUsage at 0). MSXML keeps a page it is
// receiving to itself until the last byte, so how far the process has grown while waiting is
// the only measure of a page that never ends.
size_t CommittedBytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    return GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters) ? counters.PagefileUsage : 0;
}

std::string Seconds(uint32_t ms) {
    return std::to_string(ms / 1000) + (ms % 1000 ? "." + std::to_string(ms % 1000 / 100) : "") + " s";
}

// One page request, shared by the job's thread, which waits for it and may give it up, and the
// request's own thread, which may outlive the job when the loader holds it.
struct PageCall {
    std::string url;
    size_t largestChars = 0;
    std::atomic<bool> abandoned{false};
    platform::Handle done{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    PageAnswer answer;
    std::exception_ptr error;
};

// On the request's thread, in its own single-threaded apartment. The request runs
// asynchronously, so that it can be ended: a synchronous one holds its thread until the last
// byte, however long a page runs.
PageAnswer Request(PageCall& call) {
    std::wstring wurl = Widen(call.url);
    platform::Com<IXMLHTTPRequest> req;
    Check(CoCreateInstance(kXmlHttpClass, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, kXmlHttpInterface,
                           req.PutVoid()));
    VARIANT async;
    VariantInit(&async);
    async.vt = VT_BOOL;
    async.boolVal = VARIANT_TRUE;
    VARIANT absent;  // user name and password left out
    VariantInit(&absent);
    absent.vt = VT_ERROR;
    absent.scode = DISP_E_PARAMNOTFOUND;
    Check(req->open(Text(L"GET").get(), Text(wurl).get(), async, absent, absent));
    Check(req->setRequestHeader(Text(L"Referer").get(), Text(wurl).get()));
    Check(req->setRequestHeader(Text(L"Pragma").get(), Text(L"no-cache").get()));
    Check(req->setRequestHeader(Text(L"User-Agent").get(), Text(Widen(kAgent)).get()));
    VARIANT body;
    VariantInit(&body);
    Check(req->send(body));
    for (long state = 0;;) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        platform::PumpThreadMessages(kPumpBudgetMs);
        Check(req->get_readyState(&state));
        if (state == 4) break;
        if (call.abandoned) {
            req->abort();
            // What the request already handed to this thread's queue is served before the object
            // goes: Wine's loader would otherwise call into the freed request.
            for (int i = 0; i < 10; i++) {
                platform::PumpThreadMessages(kPumpBudgetMs);
                Sleep(10);
            }
            return {};
        }
    }
    // A request that failed is complete too; its status cannot be read.
    PageAnswer answer;
    Check(req->get_status(&answer.status));
    platform::Bstr retryAfter;
    if (req->getResponseHeader(Text(L"Retry-After").get(), retryAfter.Put()) == S_OK && retryAfter.get())
        answer.retryAfter = platform::Narrow(std::wstring_view(retryAfter.get(), SysStringLen(retryAfter.get())));
    platform::Bstr text;
    Check(req->get_responseText(text.Put()));
    const size_t length = text.get() ? SysStringLen(text.get()) : 0;
    if (length > call.largestChars) throw PageRefused("The results page is too large");
    if (length) answer.text.assign(text.get(), length);
    return answer;
}

void RunCall(const std::shared_ptr<PageCall>& call) {
    HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    try {
        call->answer = Request(*call);
    } catch (...) {
        call->error = std::current_exception();
    }
    if (SUCCEEDED(init)) CoUninitialize();
    // The no-cache request header keeps neither Windows nor Wine from caching the response, and
    // a request given up leaves what it had received there as well.
    DeleteUrlCacheEntryA(call->url.c_str());
    SetEvent(call->done.get());
}

}  // namespace

PageAnswer FetchPage(const std::string& url, const PageBounds& bounds) {
    auto call = std::make_shared<PageCall>();
    call->url = url;
    call->largestChars = bounds.largestChars;
    if (!call->done) throw std::runtime_error("The results page cannot be requested: out of system resources");
    std::thread([call] { RunCall(call); }).detach();

    // The text is held as bytes and again as 16-bit text, with room to grow.
    const size_t grownAtMost = bounds.largestChars * 4;
    const size_t before = CommittedBytes();
    const ULONGLONG start = GetTickCount64();
    auto giveUp = [&] { call->abandoned = true; };
    for (;;) {
        platform::PumpThreadMessages();
        Sleep(100);
        if (WaitForSingleObject(call->done.get(), 0) == WAIT_OBJECT_0) break;
        if (bounds.stop && bounds.stop->load()) {
            giveUp();
            return {};
        }
        if (GetTickCount64() - start >= bounds.deadlineMs) {
            giveUp();
            const std::string fault = SecureConnectionFault(url, kAgent, kProbeMs, bounds.stop);
            if (!fault.empty()) throw PageRefused("The search service cannot be reached securely: " + fault);
            throw PageRefused("The results page did not arrive within " + Seconds(bounds.deadlineMs));
        }
        const size_t now = CommittedBytes();
        if (before && now > before && now - before > grownAtMost) {
            giveUp();
            throw PageRefused("The results page is too large");
        }
    }
    if (call->error) std::rethrow_exception(call->error);
    return std::move(call->answer);
}

}  // namespace engine
