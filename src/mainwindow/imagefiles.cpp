#include "mainwindow/imagefiles.h"

#include "forms/msgbox.h"
#include "forms/shell.h"
#include "info/texts.h"
#include "platform/owned.h"

namespace mainwindow {

// The commands' texts are the program's own, kept with the other texts (info/texts.h).
using info::DateTimeText;
using info::ImageInfoText;
using info::kInfoImageMissing;
using info::kOpenImageMissing;
using info::kSelectImageFirst;
using info::TrimBlanks;

namespace {

bool FileExists(const std::string& path) {
    DWORD attr = GetFileAttributesA(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

std::string Formatted(int (*format)(LCID, DWORD, const SYSTEMTIME*, LPCSTR, LPSTR, int), DWORD flags,
                      const SYSTEMTIME& st) {
    char buf[128];
    int n = format(LOCALE_USER_DEFAULT, flags, &st, nullptr, buf, sizeof buf);
    return n > 0 ? std::string(buf, n - 1) : std::string();
}

}  // namespace

void OpenTargetFolder(const std::string& folder) {
    forms::ShellOpen(nullptr, "", "\"" + folder + "\"", "/select,C:\\WINDOWS\\explorer.exe", "", SW_SHOWNORMAL);
}

void OpenDownloadedImage(HWND owner, const std::string& folder, const std::string& selected) {
    const std::string name = TrimBlanks(selected);
    if (name.empty()) {
        forms::ShowBox(forms::BoxKind::Plain, kSelectImageFirst);
        return;
    }
    const std::string path = folder + selected;
    if (!FileExists(path)) {
        forms::ShowBox(forms::BoxKind::Plain, kOpenImageMissing);
        return;
    }
    if (name == "none") return;
    forms::ShellOpen(owner, "open", "\"" + path + "\"", "", "", SW_SHOWNORMAL);
}

std::string FileDateText(const FILETIME& lastWrite) {
    FILETIME local{};
    FileTimeToLocalFileTime(&lastWrite, &local);
    // Through the packed date and time, as the directory entry's date is read elsewhere;
    // outside its years (1980 to 2107) the local time is taken as it stands.
    WORD dosDate = 0, dosTime = 0;
    FILETIME packed = local;
    if (FileTimeToDosDateTime(&local, &dosDate, &dosTime)) DosDateTimeToFileTime(dosDate, dosTime, &packed);
    SYSTEMTIME st{};
    FileTimeToSystemTime(&packed, &st);
    st.wMilliseconds = 0;
    bool midnight = st.wHour == 0 && st.wMinute == 0 && st.wSecond == 0;
    return DateTimeText(Formatted(GetDateFormatA, DATE_SHORTDATE, st), Formatted(GetTimeFormatA, 0, st), midnight);
}

void ShowImageFileInfo(const std::string& folder, const std::string& selected) {
    WIN32_FIND_DATAA entry{};
    if (!platform::FindHandle(FindFirstFileA((folder + selected).c_str(), &entry))) {  // only the entry is wanted
        forms::ShowBox(forms::BoxKind::Information, kInfoImageMissing);
        return;
    }
    uint64_t size = (static_cast<uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
    forms::ShowBox(forms::BoxKind::Information, ImageInfoText(selected, size, FileDateText(entry.ftLastWriteTime)));
}

}  // namespace mainwindow
