#pragma once
// The main window: keyword box, target folder, progress labels, result list and thumbnail
// strip, with its three menus. Its handlers live in files by feature: search.cpp (search and
// stop), resultlist.cpp (list, strip, layout), and the files of the other commands.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/jobsink.h"
#include "forms/controls.h"
#include "forms/form.h"
#include "forms/keyredraw.h"
#include "forms/menu.h"
#include "forms/statictext.h"
#include "platform/uithread.h"
#include "mainwindow/searchsession.h"

namespace settings {
class SettingsFile;
}

namespace mainwindow {

using forms::Align;
using forms::Component;

struct LoadedSet;  // a saved search read from its files (saveload.cpp)

class TForm1 : public forms::Form {
public:
    TForm1();
    ~TForm1() override;

    // ---- Menus: the result menu, the text menu and the menu bar ----
    forms::PopupMenu PopupMenu1{"PopupMenu1"};
    forms::MenuItem* PopBrowser1 = PopupMenu1.Add({"PopBrowser1", "Open in &Web browser"});
    forms::MenuItem* PopWebpage1 = PopupMenu1.Add({"PopWebpage1", "Go to Webpage"});
    forms::MenuItem* PopSep1 = PopupMenu1.Add({"PopSep1", "-"});
    forms::MenuItem* PopSave1 = PopupMenu1.Add({"PopSave1", "&Save search list to disk ..."});
    forms::MenuItem* PopLoad1 = PopupMenu1.Add({"PopLoad1", "&Load search list(s) from disk ..."});
    forms::MenuItem* PopSep2 = PopupMenu1.Add({"PopSep2", "-"});
    forms::MenuItem* PopOpenTarget1 = PopupMenu1.Add({"PopOpenTarget1", "Open target folder ..."});
    forms::MenuItem* PopOpenImage1 = PopupMenu1.Add({"PopOpenImage1", "Open downloaded Image..."});
    forms::MenuItem* PopSep3 = PopupMenu1.Add({"PopSep3", "-"});
    forms::MenuItem* PopShowThumbs1 = PopupMenu1.Add({"PopShowThumbs1", "Show Thumbnails list  >"});
    forms::MenuItem* PopShowMenu1 = PopupMenu1.Add({"PopShowMenu1", "Show the main menu"});
    forms::MenuItem* PopSep4 = PopupMenu1.Add({"PopSep4", "-"});
    forms::MenuItem* PopSizeToDownload1 =
        PopupMenu1.Add({"PopSizeToDownload1", "Set limits && options for downloads ..."});
    forms::MenuItem* PopFilters1 = PopupMenu1.Add({"PopFilters1", "&Filters..."});
    forms::MenuItem* PopSep5 = PopupMenu1.Add({"PopSep5", "-"});
    forms::MenuItem* PopImageInfo1 = PopupMenu1.Add({"PopImageInfo1", "Show selected image file Info ..."});
    forms::MenuItem* PopSep6 = PopupMenu1.Add({"PopSep6", "-"});
    forms::MenuItem* PopAbout1 = PopupMenu1.Add({"PopAbout1", "About..."});

    forms::PopupMenu PopupMenu3{"PopupMenu3"};
    forms::MenuItem* PopCut3 = PopupMenu3.Add({"PopCut3", "C&ut"});
    forms::MenuItem* PopCopy3 = PopupMenu3.Add({"PopCopy3", "&Copy"});
    forms::MenuItem* PopSelectAll3 = PopupMenu3.Add({"PopSelectAll3", "&Select all"});
    forms::MenuItem* PopPaste3 = PopupMenu3.Add({"PopPaste3", "Paste"});
    forms::MenuItem* PopSep8 = PopupMenu3.Add({"PopSep8", "-"});
    forms::MenuItem* PopClearAll3 = PopupMenu3.Add({"PopClearAll3", "Clear all ..."});

    forms::MainMenu MainMenu1{"MainMenu1"};
    forms::MenuItem* MainMenu_File = MainMenu1.Add({"MainMenu_File", "File"});
    forms::MenuItem* MainMenu_Browser = MainMenu_File->Add({"MainMenu_Browser", "Open in &Web browser"});
    forms::MenuItem* MainMenu_Webpage = MainMenu_File->Add({"MainMenu_Webpage", "Go to Webpage"});
    forms::MenuItem* MainMenu_Sep1 = MainMenu_File->Add({"MainMenu_Sep1", "-"});
    forms::MenuItem* MainMenu_Save = MainMenu_File->Add({"MainMenu_Save", "&Save search list to disk ..."});
    forms::MenuItem* MainMenu_Load = MainMenu_File->Add({"MainMenu_Load", "&Load search list(s) from disk ..."});
    forms::MenuItem* MainMenu_Sep2 = MainMenu_File->Add({"MainMenu_Sep2", "-"});
    forms::MenuItem* MainMenu_OpenTarget = MainMenu_File->Add({"MainMenu_OpenTarget", "Open target folder ..."});
    forms::MenuItem* MainMenu_OpenImage = MainMenu_File->Add({"MainMenu_OpenImage", "Open downloaded Image..."});
    forms::MenuItem* MainMenu_Sep3 = MainMenu_File->Add({"MainMenu_Sep3", "-"});
    forms::MenuItem* MainMenu_Exit = MainMenu_File->Add({"MainMenu_Exit", "Exit"});
    forms::MenuItem* MainMenu_Edit = MainMenu1.Add({"MainMenu_Edit", "Edit"});
    forms::MenuItem* MainMenu_Cut = MainMenu_Edit->Add({"MainMenu_Cut", "Cut"});
    forms::MenuItem* MainMenu_Copy = MainMenu_Edit->Add({"MainMenu_Copy", "Copy"});
    forms::MenuItem* MainMenu_SelectAll = MainMenu_Edit->Add({"MainMenu_SelectAll", "Select all"});
    forms::MenuItem* MainMenu_Paste = MainMenu_Edit->Add({"MainMenu_Paste", "Paste"});
    forms::MenuItem* MainMenu_Options = MainMenu1.Add({"MainMenu_Options", "Options"});
    forms::MenuItem* MainMenu_ShowThumbs = MainMenu_Options->Add({"MainMenu_ShowThumbs", "Show Thumbnails list  >"});
    forms::MenuItem* MainMenu_ShowMenu = MainMenu_Options->Add({"MainMenu_ShowMenu", "Show the main menu"});
    forms::MenuItem* MainMenu_Sep6 = MainMenu_Options->Add({"MainMenu_Sep6", "-"});
    forms::MenuItem* MainMenu_SizeToDownload =
        MainMenu_Options->Add({"MainMenu_SizeToDownload", "Set limits && options for downloads ..."});
    forms::MenuItem* MainMenu_Filters = MainMenu_Options->Add({"MainMenu_Filters", "&Filters..."});
    forms::MenuItem* MainMenu_Sep7 = MainMenu_Options->Add({"MainMenu_Sep7", "-"});
    forms::MenuItem* MainMenu_ClearAllPast =
        MainMenu_Options->Add({"MainMenu_ClearAllPast", "Clear all past search keys ..."});
    forms::MenuItem* MainMenu_Help = MainMenu1.Add({"MainMenu_Help", "Help"});
    forms::MenuItem* MainMenu_Help1 = MainMenu_Help->Add({"MainMenu_Help1", "Help ..."});
    forms::MenuItem* MainMenu_Sep4 = MainMenu_Help->Add({"MainMenu_Sep4", "-"});
    forms::MenuItem* MainMenu_SoftwareNews = MainMenu_Help->Add({"MainMenu_SoftwareNews", "Software news..."});
    forms::MenuItem* MainMenu_CheckNewVersion =
        MainMenu_Help->Add({"MainMenu_CheckNewVersion", "Check new versions *"});
    forms::MenuItem* MainMenu_Sep5 = MainMenu_Help->Add({"MainMenu_Sep5", "-"});
    forms::MenuItem* MainMenu_Donations = MainMenu_Help->Add({"MainMenu_Donations", "Donations..."});
    forms::MenuItem* MainMenu_About = MainMenu_Help->Add({"MainMenu_About", "About ..."});

    // ---- Controls as designed (left, top, width, height in pixels) ----
    forms::Panel Panel_Main{this, {.name = "Panel_Main", .left = 0, .top = 0, .width = 356, .height = 366}};
    forms::Bevel Bevel1{&Panel_Main, {.name = "Bevel1", .height = 59, .align = Align::Top}};
    forms::Label Label3{&Panel_Main,
                        {.name = "Label3", .left = 8, .top = 11, .caption = "Image keywords:", .bold = true}};
    forms::ComboBox ComboBox_search{&Panel_Main,
                                    {.name = "ComboBox_search",
                                     .left = 108,
                                     .top = 8,
                                     .width = 150,
                                     .height = 21,
                                     .caption = "Quenby",
                                     .tabOrder = 0}};
    forms::Button Button_search{&Panel_Main,
                                {.name = "Button_search",
                                 .left = 264,
                                 .top = 8,
                                 .width = 81,
                                 .height = 20,
                                 .caption = "Search",
                                 .hint = " go search ... ",
                                 .bold = true,
                                 .tabOrder = 2}};
    forms::Label Label4{&Panel_Main,
                        {.name = "Label4", .left = 8, .top = 35, .caption = "Save to folder:", .bold = true}};
    forms::Edit Edit_savepath{
        &Panel_Main, {.name = "Edit_savepath", .left = 97, .top = 32, .width = 224, .height = 20, .tabOrder = 1}, true};
    forms::Button Button_savepath{&Panel_Main,
                                  {.name = "Button_savepath",
                                   .left = 322,
                                   .top = 32,
                                   .width = 23,
                                   .height = 21,
                                   .caption = "...",
                                   .hint = " select folder for image saving ",
                                   .tabOrder = 3}};
    forms::Bevel Bevel2{&Panel_Main, {.name = "Bevel2", .height = 41, .align = Align::Top}};
    forms::Label Label1{&Panel_Main,
                        {.name = "Label1", .left = 8, .top = 66, .caption = "Downed: 0 images   ", .bold = true}};
    forms::Label Label2{&Panel_Main,
                        {.name = "Label2", .left = 8, .top = 82, .caption = "Trying: 0 of ...", .bold = true}};
    // The service's filters in force; shown, in a band grown for it, only while there are any.
    forms::StaticText Label_filters{&Panel_Main,
                                    {.name = "Label_filters", .left = 8, .top = 99, .width = 340, .height = 14}};
    forms::FlatButton Button_menu{
        &Panel_Main,
        {.name = "Button_menu", .left = 168, .top = 71, .width = 25, .height = 20, .hint = " show menu ... "}};
    forms::Button Button_stopsearch{&Panel_Main,
                                    {.name = "Button_stopsearch",
                                     .left = 197,
                                     .top = 71,
                                     .width = 83,
                                     .height = 20,
                                     .caption = "Stop search",
                                     .hint = " stops search  [esc] ",
                                     .tabOrder = 5}};
    forms::Button Button_exit{&Panel_Main,
                              {.name = "Button_exit",
                               .left = 284,
                               .top = 71,
                               .width = 61,
                               .height = 20,
                               .caption = "Exit  !",
                               .hint = " close program ",
                               .tabOrder = 4}};
    forms::Bevel Bevel3{&Panel_Main, {.name = "Bevel3", .height = 21, .align = Align::Bottom}};
    forms::ListBox ListBox1{&Panel_Main, {.name = "ListBox1", .tabOrder = 6, .align = Align::Client}};
    forms::Edit Edit1{&Panel_Main, {.name = "Edit1", .left = 0, .top = 345, .width = 355, .height = 21, .tabOrder = 7}};
    forms::ScrollBox ScrollBox1{this, {.name = "ScrollBox1", .left = 356, .top = 0, .width = 165, .height = 366}};
    forms::Bevel Bevel_f{&ScrollBox1,
                         {.name = "Bevel_f", .left = 3, .top = 112, .width = 142, .height = 112},
                         forms::Bevel::Shape::Box,
                         true,
                         forms::Bevel::Layer::OverSiblings};
    forms::ListBox ListBox_Bak{this, {.name = "ListBox_Bak", .left = 8, .top = 150, .width = 121, .height = 97}};

    // ---- Search command and job control ----
    void Button_searchClick(Component* Sender);
    void Button_stopsearchClick(Component* Sender);
    void Button_exitClick(Component* Sender);
    // The search: its job, its state, its one start and its one finish.
    SearchSession& Search() { return search_; }

    // ---- Result list and thumbnail strip ----
    void ListBox1Click(Component* Sender);
    void ThumbnailMouseDown(Component* Sender, forms::MouseButton Button, unsigned Shift, int X, int Y);
    void ListBox1DblClick(Component* Sender);
    void FormMouseWheel(Component* Sender, unsigned Shift, int WheelDelta, POINT MousePos, bool& Handled);
    void FormResize(Component* Sender);
    void WMGetMinMaxInfo(MINMAXINFO* info);

    // ---- Menus, keys, edit commands, system menu ----
    void PopupMenu1Popup(Component* Sender);
    void PopupMenu3Popup(Component* Sender);
    void MainMenu_FileClick(Component* Sender);
    void MainMenu_EditClick(Component* Sender);
    void Pop3Click(Component* Sender);
    void PopWebpage1Click(Component* Sender);
    void PopShowThumbs1Click(Component* Sender);
    void PopShowMenu1Click(Component* Sender);
    void PopAbout1Click(Component* Sender);
    void MainMenu_Help1Click(Component* Sender);
    void MainMenu_SoftwareNewsClick(Component* Sender);
    void MainMenu_DonationsClick(Component* Sender);
    void Button_menuClick(Component* Sender);
    void ComboBox_searchKeyPress(Component* Sender, wchar_t& Key);
    void FormKeyDown(Component* Sender, WORD& Key, unsigned Shift);
    void FormKeyUp(Component* Sender, WORD& Key, unsigned Shift);
    void ToggleThumbStrip();
    void AppMessage(MSG& Msg, bool& Handled);
    void AppendSystemMenuItems();
    void ToggleStayOnTop();
    // The on-top state: 0 or 1, 0 at every start, not stored.
    int OnTopState = 0;

    // ---- Settings, start-up and close ----
    void FormCreate(Component* Sender);
    void FormShow(Component* Sender);
    void FormClose(Component* Sender, forms::CloseAction& Action);
    void Button_savepathClick(Component* Sender);
    // Open from the window's creation to the end of a normal close.
    std::unique_ptr<settings::SettingsFile> SettingsFile;
    // The settings file, opened again when a command needs it after a close.
    settings::SettingsFile& Settings();

    // ---- Saved searches and the options dialog ----
    void PopSave1Click(Component* Sender);
    void PopLoad1Click(Component* Sender);
    // The save itself, also while a search is still stopping (the close's question).
    void SaveResults();
    // The rest of a load, once its files are read: the list and the strip replaced.
    void ShowLoadedSet(LoadedSet& set);
    void PopSizeToDownload1Click(Component* Sender);
    void PopFilters1Click(Component* Sender);
    // The filter line and its band as the filters in force (SearchFilters) say.
    void ShowFilterLine();

    // ---- Image file commands, About box, new-version check ----
    void PopOpenTarget1Click(Component* Sender);
    void PopOpenImage1Click(Component* Sender);
    void PopImageInfo1Click(Component* Sender);
    void MainMenu_CheckNewVersionClick(Component* Sender);

    // ---- The search job's UI steps, reached through the session's link (SearchLink) ----
    void ShowProgress(const std::string& label2, const std::string& label1);
    void SearchDone(bool downloadedNothing);
    void DownloadsFinished(const std::string& error);
    void SetListBusy(bool busy);
    bool IsFetched(const std::string& imageUrl);
    void AddResultEntry(const std::string& pageLine, const std::string& imageLine, const std::string& fileName,
                        std::unique_ptr<imaging::Picture> picture);
    // Runs a step on the UI thread as the job does (tests that play the job's page scan).
    void RunUiStep(const std::function<void()>& step) { search_.Sink().RunUiStep(step); }

    // "SearchService" of the settings file beside the executable, or the default service.
    static std::string ReadSearchService();
    // The search service's base address ("https://www.bing.com" unless the settings say).
    std::string SearchService;
    // The thumbnail of result i, or nullptr.
    forms::Image* Thumbnail(int i) const;
    // Tests: result i loses its thumbnail (as when one could not be made); its line stays.
    void DestroyThumbnail(int i);

private:
    void ClearResults();
    // Every thumbnail goes; the strip is then empty.
    void DestroyThumbnails();
    // Opens a result line in the browser when it is a web address; else says why not.
    void OpenWebAddress(const std::string& address);
    // False, after a box saying why, when the selected image's name could mean anything but a
    // file in the target folder (a name from a saved search made elsewhere).
    bool ImageNameUsable();
    void FrameThumbnail(const forms::Image& thumb);
    // Result i's thumbnail control at `top` in the strip's view, named, with its hint and its
    // clicks; without a picture, and without a tooltip unless the caller turns it on.
    forms::Image* NewThumbnail(int i, int top, const std::string& fileName);
    void SetSearchingState(bool searching);
    // The keywords (a search's or a loaded name) go to the top of the keyword history, once,
    // and are selected there.
    void KeywordsToTop(const std::string& text);

    // The search command once no old job is alive (the session says when).
    void ContinueSearch(bool wasRunning);
    engine::CollectionOptions Collection() const;

    SearchSession search_{*this};
    // The thumbnail of each result, by index (nullptr where none could be made): the strip
    // owns them, this finds one at once.
    std::vector<forms::Image*> thumbs_;
    // The name of the saved search on show, when the results came from a load. A search started
    // since then is not saved (SearchSession::Saved), and a save seeing that forgets the name.
    std::string loadedName_;
};

using forms::OsVersion;
using forms::RedrawButtonsOnKeyUp;

}  // namespace mainwindow
