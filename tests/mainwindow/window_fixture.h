#pragma once
// Drives the main window as a user would, against the local test service: a results page of
// lines "page TAB image TAB file TAB width TAB height" and a page scan that turns each line
// into a Result entry through the window's UI steps, as the real scan does.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/downthread.h"
#include "imaging/jpegcodec.h"
#include "forms/messageloop.h"
#include "forms/msgbox.h"
#include "forms/shell.h"
#include "mainwindow/mainform.h"
#include "mainwindow/state.h"
#include "savedsearch/chooser.h"
#include "settings/filtersdialog.h"
#include "settings/options.h"
#include "support/http_server.h"

namespace windowtest {

using mainwindow::TForm1;
using testsupport::HttpServer;
using testsupport::Request;
using testsupport::Response;

inline std::string QueryValue(const std::string& target, const std::string& key) {
    size_t a = target.find((target.find("?" + key + "=") != std::string::npos ? "?" : "&") + key + "=");
    if (a == std::string::npos) return {};
    a += key.size() + 2;
    return target.substr(a, target.find('&', a) - a);
}

inline std::unique_ptr<imaging::Picture> PictureOf(int w, int h) {
    std::vector<uint8_t> px(static_cast<size_t>(w) * h * 4, 0x80);
    auto p = std::make_unique<imaging::Picture>();
    p->SetJpegBytes(imaging::EncodeJpeg(px.data(), w, h, static_cast<size_t>(w) * 4, 70));
    return p;
}

struct WindowTest : ::testing::Test {
    HttpServer server;
    std::unique_ptr<TForm1> form;
    // The dialogs the program creates after the main window; every modal dialog answers
    // Cancel unless a test scripts it.
    std::unique_ptr<savedsearch::TForm_oldsearchs> chooser;
    std::unique_ptr<settings::TForm_options> options;
    std::unique_ptr<settings::TForm_filters> filters;  // made by the tests that open it
    std::vector<forms::BoxCall> boxes;
    std::deque<int> answers;                           // for the confirmation boxes, in order
    std::map<std::string, int> answerByText;           // before the queue
    std::function<void(const forms::BoxCall&)> onBox;  // runs while a box is "shown"
    std::vector<forms::ShellCall> shells;
    std::string folder;
    std::atomic<int> perPage{5};        // results on each page
    std::atomic<int> resultDelayMs{0};  // the worker's time per result
    std::atomic<int> jobsStarted{0};
    std::atomic<int> jobsRunning{0};
    std::atomic<int> mostAtOnce{0};
    // Picture size of result i (138 x 103 unless a test says otherwise).
    std::function<std::pair<int, int>(int)> sizeOf = [](int) { return std::pair<int, int>{138, 103}; };

    void SetUp() override {
        char tmp[MAX_PATH];
        GetTempPathA(MAX_PATH, tmp);
        folder = std::string(tmp) + "quenby-window-" + std::to_string(GetCurrentProcessId()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name() + "\\";
        CreateDirectoryA(folder.c_str(), nullptr);
        forms::SetBoxScript([this](const forms::BoxCall& c) {
            boxes.push_back(c);
            if (onBox) onBox(c);
            unsigned buttons = c.flags & 0xF;
            if (buttons == MB_OK) return IDOK;
            int a = buttons == MB_OKCANCEL ? IDOK : IDNO;
            if (auto it = answerByText.find(c.text); it != answerByText.end()) return it->second;
            if (!answers.empty()) {
                a = answers.front();
                answers.pop_front();
            }
            return a;
        });
        forms::SetShellScript([this](const forms::ShellCall& c) -> intptr_t {
            shells.push_back(c);
            return 33;
        });
        forms::ResetTerminated();
        mainwindow::SearchStartPauseMs = 0;
        server.on("/images/search", [this](const Request& r) { return Page(r); });
        form = std::make_unique<TForm1>();
        form->Search().ConnectionTest = [] { return true; };
        form->Search().MakeJob = [this](engine::SearchRequest r) {
            jobsStarted++;
            r.scan = [this](engine::TDownThread& j, const std::wstring& text) { return Scan(j, text); };
            return engine::MakeJob(r);
        };
        chooser = std::make_unique<savedsearch::TForm_oldsearchs>();
        savedsearch::Form_oldsearchs = chooser.get();
        options = std::make_unique<settings::TForm_options>();
        settings::Form_options = options.get();
        forms::SetModalScript([](forms::Form&) { return forms::mrCancel; });
        form->Show();
        mainwindow::MaxFileCount = 5;  // one page, then the search ends by itself
        form->SearchService = server.base();
        mainwindow::SavePath = folder;
        form->Edit_savepath.SetText(folder);
        forms::ProcessMessages();
    }

    void TearDown() override {
        if (form) {
            form->Search().StopJob();
            Pump([&] { return !form->Search().JobAlive(); });
        }
        forms::SetModalScript(nullptr);
        savedsearch::Form_oldsearchs = nullptr;
        settings::Form_options = nullptr;
        settings::Form_filters = nullptr;
        filters.reset();
        options.reset();
        chooser.reset();
        form.reset();
        forms::SetBoxScript(nullptr);
        forms::SetShellScript(nullptr);
        RemoveDirectoryA(folder.c_str());
    }

    // A page of perPage results whose numbers go on from `first`, named after the query.
    Response Page(const Request& r) {
        std::string q = QueryValue(r.target, "q");
        int first = std::stoi(QueryValue(r.target, "first"));
        std::string body;
        for (int k = 0; k < perPage; k++) {
            int n = first + k;
            body += "http://site.example/" + q + "/" + std::to_string(n) + "\thttp://img.example/" + q + "/" +
                    std::to_string(n) + ".jpg\t" + q + "_" + std::to_string(n) + ".jpg\n";
        }
        return Response::text(body, "text/plain");
    }

    // The worker's side: one UI step per result, as the page scan makes them.
    bool Scan(engine::TDownThread& job, const std::wstring& wide) {
        int now = ++jobsRunning;
        for (int m = mostAtOnce; now > m && !mostAtOnce.compare_exchange_weak(m, now);) {}
        struct Leave {
            std::atomic<int>& n;
            ~Leave() { n--; }
        } leave{jobsRunning};
        std::string text(wide.begin(), wide.end());
        TForm1& sink = *form;  // touched only inside UI steps
        size_t at = 0;
        while (at < text.size()) {
            size_t end = text.find('\n', at);
            std::string line = text.substr(at, end - at);
            at = end == std::string::npos ? text.size() : end + 1;
            if (job.StopRequested()) return true;
            size_t t1 = line.find('\t'), t2 = line.find('\t', t1 + 1);
            std::string page = line.substr(0, t1), image = line.substr(t1 + 1, t2 - t1 - 1), file = line.substr(t2 + 1);
            job.MeetAddress(image);
            bool fetched = false;
            job.Sink().RunUiStep([&] { fetched = sink.IsFetched(image); });
            if (fetched) continue;
            job.TriedCount++;
            job.Sink().RunUiStep([&] { sink.SetListBusy(true); });
            if (resultDelayMs) Sleep(static_cast<DWORD>(resultDelayMs.load()));
            job.Sink().RunUiStep([&] { sink.SetListBusy(false); });
            if (GetFileAttributesA(job.Folder.c_str()) == INVALID_FILE_ATTRIBUTES)
                throw std::runtime_error("Cannot create file \"" + job.Folder + file + "\".");
            job.DownedCount++;
            int index = 0;
            job.Sink().RunUiStep([&] { index = sink.ListBox1.Count(); });
            auto [w, h] = sizeOf(index);
            auto pic = PictureOf(w, h);
            job.Sink().RunUiStep([&] { sink.AddResultEntry(page, image, file, std::move(pic)); });
            job.ShowProgress();
        }
        return false;
    }

    // Searches that go on until stopped.
    void LongSearches(int delayMs = 20) {
        perPage = 28;
        mainwindow::MaxFileCount = 1000;
        resultDelayMs = delayMs;
    }

    static bool Pump(const std::function<bool()>& done, DWORD ms = 20000) { return forms::WaitUntil(done, ms); }

    // Types the keywords and presses Search; a command that waits for the old job's end goes
    // on from the message loop, which runs until the command is through.
    void Search(const std::string& keywords) {
        form->ComboBox_search.SetText(keywords);
        form->Button_search.Click();
        ASSERT_TRUE(Pump([&] { return !form->Search().CommandBusy(); })) << "the search command did not finish";
    }
    // Runs until the job's end handler has run.
    void WaitIdle() {
        ASSERT_TRUE(Pump([&] { return !form->Search().JobAlive(); })) << "the search did not end";
    }
    void SearchToEnd(const std::string& keywords) {
        Search(keywords);
        WaitIdle();
    }

    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> out;
        for (auto& b : boxes) out.push_back(b.text);
        return out;
    }

    void PressKey(HWND target, WORD key) {
        PostMessageA(target, WM_KEYDOWN, key, 0);
        PostMessageA(target, WM_KEYUP, key, 0xC0000000);
        forms::ProcessMessages();
    }

    // Searching state: Search plain, Stop bold and enabled, "..." and the options and filters
    // items disabled.
    void ExpectSearchingControls(bool searching) {
        EXPECT_EQ(form->Button_search.Bold(), !searching);
        EXPECT_EQ(form->Button_stopsearch.Bold(), searching);
        EXPECT_EQ(IsWindowEnabled(form->Button_stopsearch.Handle()) != 0, searching);
        EXPECT_EQ(IsWindowEnabled(form->Button_savepath.Handle()) != 0, !searching);
        EXPECT_EQ(form->MainMenu_SizeToDownload->Enabled, !searching);
        EXPECT_EQ(form->PopSizeToDownload1->Enabled, !searching);
        EXPECT_EQ(form->MainMenu_Filters->Enabled, !searching);
        EXPECT_EQ(form->PopFilters1->Enabled, !searching);
        EXPECT_TRUE(IsWindowEnabled(form->Button_search.Handle()));
    }
};

}  // namespace windowtest
