#pragma once
// A main window for one test, with its settings file in a fresh folder and every message box,
// shell call, popup menu and folder browser scripted, so nothing is shown or launched.
#include <gtest/gtest.h>
#include <windows.h>

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "forms/form.h"
#include "forms/menu.h"
#include "forms/messageloop.h"
#include "forms/msgbox.h"
#include "forms/shell.h"
#include "mainwindow/mainform.h"
#include "mainwindow/state.h"
#include "savedsearch/chooser.h"
#include "settings/filtersdialog.h"
#include "settings/options.h"
#include "settings/settingsfile.h"
#include "support/temp_folder.h"

namespace testsupport {

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ini = dir.path() + "Quenby.ini";
        settings::SetSettingsPath(ini);
        forms::SetBoxScript([this](const forms::BoxCall& call) {
            boxes.push_back(call);
            if (answers.empty()) return IDOK;
            int a = answers.front();
            answers.pop_front();
            return a;
        });
        forms::SetShellScript([this](const forms::ShellCall& call) -> intptr_t {
            shells.push_back(call);
            return 42;
        });
        forms::SetModalScript([this](forms::Form&) {
            ++modals;
            return forms::mrCancel;
        });
        forms::SetPopupScript([this](forms::PopupMenu& menu, POINT at) -> forms::MenuItem* {
            popups.push_back(at);
            openedMenu = &menu;
            return nullptr;
        });
    }

    void TearDown() override {
        savedsearch::Form_oldsearchs = nullptr;
        settings::Form_options = nullptr;
        settings::Form_filters = nullptr;
        filters.reset();
        options.reset();
        chooser.reset();
        form.reset();
        forms::ProcessMessages();
        forms::SetBoxScript(nullptr);
        forms::SetShellScript(nullptr);
        forms::SetPopupScript(nullptr);
        forms::SetFolderScript(nullptr);
        forms::SetModalScript(nullptr);
        forms::SetMessageHook(nullptr);
        forms::ResetTerminated();
        settings::SetSettingsPath("");
    }

    void WriteIni(const std::string& text) { TempFolder::Write(ini, text); }
    std::string ReadIni() const { return TempFolder::Read(ini); }
    bool IniExists() const { return GetFileAttributesA(ini.c_str()) != INVALID_FILE_ATTRIBUTES; }
    // The value of a key as the file holds it now.
    std::string Stored(const char* section, const std::string& key, const std::string& def = "<none>") {
        return settings::SettingsFile(ini).ReadText(section, key, def);
    }

    // Creates the window (its creation reads the settings) and shows it.
    void Open() {
        form = std::make_unique<mainwindow::TForm1>();
        // The dialogs the program creates after the main window (answered by the modal script).
        chooser = std::make_unique<savedsearch::TForm_oldsearchs>();
        savedsearch::Form_oldsearchs = chooser.get();
        options = std::make_unique<settings::TForm_options>();
        settings::Form_options = options.get();
        filters = std::make_unique<settings::TForm_filters>();
        settings::Form_filters = filters.get();
        form->Show();
        forms::ProcessMessages();
    }
    // Closes nothing: frees the window and its dialogs (if any), then creates and shows them
    // again, as a second start of the program does.
    void Reopen() {
        filters.reset();
        options.reset();
        chooser.reset();
        form.reset();
        forms::ProcessMessages();
        forms::ResetTerminated();
        Open();
    }
    // Posts a message as the platform does and lets the window's loop take it from the queue.
    void Post(UINT msg, WPARAM wp, LPARAM lp = 0, HWND to = nullptr) {
        PostMessageA(to ? to : form->Handle(), msg, wp, lp);
        forms::ProcessMessages();
    }
    bool WindowOpen() const { return IsWindowVisible(form->Handle()) && !forms::Terminated(); }

    TempFolder dir;
    std::string ini;
    std::unique_ptr<mainwindow::TForm1> form;
    std::unique_ptr<savedsearch::TForm_oldsearchs> chooser;
    std::unique_ptr<settings::TForm_options> options;
    std::unique_ptr<settings::TForm_filters> filters;
    std::vector<forms::BoxCall> boxes;
    std::deque<int> answers;
    std::vector<forms::ShellCall> shells;
    std::vector<POINT> popups;
    forms::PopupMenu* openedMenu = nullptr;
    int modals = 0;
};

}  // namespace testsupport
