// How long loading and saving a saved search of 1000 entries takes with the real window: the
// files read, 1000 thumbnails decoded and placed in the strip, the names and the history.
// Prints figures; asserts nothing.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <memory>

#include "imaging/jpegcodec.h"
#include "platform/application.h"
#include "forms/messageloop.h"
#include "forms/msgbox.h"
#include "mainwindow/mainform.h"
#include "mainwindow/state.h"
#include "savedsearch/chooser.h"
#include "savedsearch/setfiles.h"
#include "support/environment.h"

using namespace savedsearch;
using Clock = std::chrono::steady_clock;

namespace {

double Ms(Clock::time_point since) { return std::chrono::duration<double, std::milli>(Clock::now() - since).count(); }

Bytes Thumb(int i) {
    const int w = 138, h = 60 + i % 48;
    std::vector<uint8_t> px(static_cast<size_t>(w) * h * 4);
    for (size_t k = 0; k < px.size(); ++k) px[k] = static_cast<uint8_t>((k * 7 + i * 13) ^ (k >> 5));
    return imaging::EncodeJpeg(px.data(), w, h, w * 4, 70);
}

}  // namespace

int main() {
    const int n = 1000;
    const std::string name = "bench+saved+load";
    const std::string base = platform::ExeFolder() + name;
    SetContents set;
    size_t bytes = 0;
    for (int i = 0; i < n; ++i) {
        set.jpegs.push_back(Thumb(i));
        bytes += set.jpegs.back().size();
        set.names.push_back("image_" + std::to_string(i) + ".jpg");
        set.lines.push_back("http://pages.example/" + std::to_string(i) + "/a-page-about-it.html");
    }
    WriteSet(base, set);

    testsupport::Environment env;
    env.forms.box = [](const forms::BoxCall&) { return IDYES; };
    testsupport::Install(env);
    auto form = std::make_unique<mainwindow::TForm1>();
    form->Show();
    Form_oldsearchs = new TForm_oldsearchs();
    env.forms.modal = [&](forms::Form&) {
        for (int i = 0; i < Form_oldsearchs->ComboBox_search->Count(); ++i)
            if (Form_oldsearchs->ComboBox_search->Item(i) == name) Form_oldsearchs->ComboBox_search->SetItemIndex(i);
        return forms::mrOk;
    };
    testsupport::Install(env);
    forms::ProcessMessages();

    std::printf("saved search of %d entries, %zu bytes of thumbnails\n", n, bytes);
    for (int round = 1; round <= 3; ++round) {
        auto t0 = Clock::now();
        form->PopLoad1Click(form.get());
        double load = Ms(t0);
        t0 = Clock::now();
        forms::ProcessMessages();  // the strip's painting after the load
        double paint = Ms(t0);
        std::printf("load %d: %.0f ms (+%.0f ms until the window has caught up); %d lines; target under 1000 ms\n",
                    round, load, paint, form->ListBox1.Count());
    }
    auto t0 = Clock::now();
    form->PopSave1Click(form.get());
    std::printf("save of the loaded set: %.0f ms\n", Ms(t0));

    DeleteSet(base);
    std::string ini = platform::ExeFolder() + "Quenby.ini";
    DeleteFileA(ini.c_str());
    ExitProcess(0);
}
