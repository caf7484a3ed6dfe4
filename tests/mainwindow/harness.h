#pragma once
// The main window for one test, as a user meets it: a settings file and target folder of its
// own, every message box, shell call, popup menu, folder browser and modal dialog scripted (so
// nothing is shown or launched), and the local test service for its searches. MainWindowTest
// opens the window when a test asks; WindowTest opens it at once, ready to search against a
// results page of lines "page TAB image TAB file" that a page scan turns into Result entries
// through the window's UI steps, as the real scan does.
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
#include "forms/form.h"
#include "forms/menu.h"
#include "forms/messageloop.h"
#include "forms/msgbox.h"
#include "forms/shell.h"
#include "imaging/jpegcodec.h"
#include "mainwindow/mainform.h"
#include "mainwindow/state.h"
#include "savedsearch/chooser.h"
#include "settings/filtersdialog.h"
#include "settings/options.h"
#include "settings/settingsfile.h"
#include "support/environment.h"
#include "support/http_server.h"
#include "support/temp_folder.h"

namespace windowtest {

using mainwindow::TForm1;
using testsupport::HttpServer;
using testsupport::Request;
using testsupport::Response;
using testsupport::TempFolder;

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

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.settings.settingsPath = ini;
        env.forms.box = [this](const forms::BoxCall& c) { return Answer(c); };
        env.forms.shell = [this](const forms::ShellCall& c) -> intptr_t {
            shells.push_back(c);
            return 42;
        };
        env.forms.modal = [this](forms::Form& f) {
            ++modals;
            return onModal ? onModal(f) : forms::mrCancel;
        };
        env.forms.popup = [this](forms::PopupMenu& menu, POINT at) -> forms::MenuItem* {
            popups.push_back(at);
            openedMenu = &menu;
            return nullptr;
        };
        env.Install();
        forms::ResetTerminated();
        mainwindow::ResetModuleState();
    }

    void TearDown() override {
        if (form) {
            form->Search().StopJob();
            Pump([&] { return !form->Search().JobAlive(); });
        }
        Close();
        forms::SetMessageHook(nullptr);
    }

    // Creates the window (its creation reads the settings) and the dialogs the program creates
    // after it, and shows the window.
    void Open() {
        form = std::make_unique<TForm1>();
        if (connectionTest) form->Search().ConnectionTest = connectionTest;
        if (makeJob) form->Search().MakeJob = makeJob;
        chooser = std::make_unique<savedsearch::TForm_oldsearchs>();
        savedsearch::Form_oldsearchs = chooser.get();
        options = std::make_unique<settings::TForm_options>();
        settings::Form_options = options.get();
        filters = std::make_unique<settings::TForm_filters>();
        settings::Form_filters = filters.get();
        form->Show();
        forms::ProcessMessages();
    }
    // Frees the window and its dialogs without closing them.
    void Close() {
        savedsearch::Form_oldsearchs = nullptr;
        settings::Form_options = nullptr;
        settings::Form_filters = nullptr;
        filters.reset();
        options.reset();
        chooser.reset();
        form.reset();
        forms::ProcessMessages();
    }
    // Frees the window and creates it again, as a second start of the program does.
    void Reopen() {
        Close();
        forms::ResetTerminated();
        Open();
    }

    // A box is answered by `boxAnswer` when a test sets it; else an OK box with OK, the others by
    // `answerByText`, then `answers` in order, then OK (or, with `declineUnanswered`, as a person
    // declining would: OK for OK/Cancel, else No).
    int Answer(const forms::BoxCall& c) {
        boxes.push_back(c);
        if (onBox) onBox(c);
        if (boxAnswer) return boxAnswer(c);
        unsigned buttons = c.flags & 0xF;
        if (buttons == MB_OK) return IDOK;
        if (auto it = answerByText.find(c.text); it != answerByText.end()) return it->second;
        if (!answers.empty()) {
            int a = answers.front();
            answers.pop_front();
            return a;
        }
        return !declineUnanswered || buttons == MB_OKCANCEL ? IDOK : IDNO;
    }
    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> out;
        for (auto& b : boxes) out.push_back(b.text);
        return out;
    }
    std::vector<std::string> Texts(forms::BoxKind kind) const {
        std::vector<std::string> out;
        for (auto& b : boxes)
            if (b.kind == kind) out.push_back(b.text);
        return out;
    }

    void WriteIni(const std::string& text) { TempFolder::Write(ini, text); }
    std::string ReadIni() const { return TempFolder::Read(ini); }
    bool IniExists() const { return testsupport::FileExists(ini); }
    // The value of a key as the file holds it now.
    std::string Stored(const char* section, const std::string& key, const std::string& def = "<none>") {
        return settings::SettingsFile(ini).ReadText(section, key, def);
    }

    static bool Pump(const std::function<bool()>& done, DWORD ms = 20000) { return forms::WaitUntil(done, ms); }
    // Posts a message as the platform does and lets the window's loop take it from the queue.
    void Post(UINT msg, WPARAM wp, LPARAM lp = 0, HWND to = nullptr) {
        PostMessageA(to ? to : form->Handle(), msg, wp, lp);
        forms::ProcessMessages();
    }
    void PressKey(HWND target, WORD key) {
        PostMessageA(target, WM_KEYDOWN, key, 0);
        PostMessageA(target, WM_KEYUP, key, 0xC0000000);
        forms::ProcessMessages();
    }
    // A menu command as the window receives it from the menu.
    void Command(forms::MenuItem* item) { SendMessageA(form->Handle(), WM_COMMAND, item->Id(), 0); }
    bool WindowOpen() const { return IsWindowVisible(form->Handle()) && !forms::Terminated(); }

    testsupport::EnvironmentScope env;
    // Given to each window Open creates: the connection test, and how its jobs are made.
    std::function<bool()> connectionTest;
    std::function<engine::TDownThread*(const engine::SearchRequest&)> makeJob;
    TempFolder dir;
    const std::string folder = dir.path();  // the target folder, ends with "\"
    const std::string ini = folder + "Quenby.ini";
    HttpServer server;
    std::unique_ptr<TForm1> form;
    std::unique_ptr<savedsearch::TForm_oldsearchs> chooser;
    std::unique_ptr<settings::TForm_options> options;
    std::unique_ptr<settings::TForm_filters> filters;

    std::vector<forms::BoxCall> boxes;
    std::function<void(const forms::BoxCall&)> onBox;  // runs while a box is "shown"
    std::function<int(const forms::BoxCall&)> boxAnswer;
    std::map<std::string, int> answerByText;
    std::deque<int> answers;
    bool declineUnanswered = false;
    std::vector<forms::ShellCall> shells;
    std::function<int(forms::Form&)> onModal;  // a modal form's result; Cancel without it
    int modals = 0;
    std::vector<POINT> popups;
    forms::PopupMenu* openedMenu = nullptr;
};

class WindowTest : public MainWindowTest {
protected:
    std::atomic<int> perPage{5};        // results on each page
    std::atomic<int> resultDelayMs{0};  // the worker's time per result
    std::atomic<int> jobsStarted{0};
    std::atomic<int> jobsRunning{0};
    std::atomic<int> mostAtOnce{0};
    // Picture size of result i (138 x 103 unless a test says otherwise).
    std::function<std::pair<int, int>(int)> sizeOf = [](int) { return std::pair<int, int>{138, 103}; };

    void SetUp() override {
        MainWindowTest::SetUp();
        declineUnanswered = true;
        env.mainwindow.searchStartPauseMs = 0;
        env.Install();
        connectionTest = [] { return true; };
        makeJob = [this](engine::SearchRequest r) {
            jobsStarted++;
            r.scan = [this](engine::TDownThread& j, const std::wstring& text) { return Scan(j, text); };
            return engine::MakeJob(r);
        };
        server.on("/images/search", [this](const Request& r) { return Page(r); });
        Open();
        mainwindow::MaxFileCount = 5;  // one page, then the search ends by itself
        form->SearchService = server.base();
        mainwindow::SavePath = folder;
        form->Edit_savepath.SetText(folder);
        forms::ProcessMessages();
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
