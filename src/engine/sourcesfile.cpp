#include "engine/sourcesfile.h"

#include "platform/systemtext.h"

namespace engine {

SourcesFile::SourcesFile(std::string path) : path_(std::move(path)), format_(SourceFormatFor(path_)) {}

std::string SourcesFile::Append(const SourceRecord& record) {
    if (failed_) return {};
    std::string text = SourceLine(record, format_);
    DWORD error = 0;
    if (!file_) {
        // Append access alone: every write lands at the end, whoever else writes.
        file_.Reset(CreateFileA(path_.c_str(), FILE_APPEND_DATA | SYNCHRONIZE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        LARGE_INTEGER size{};
        if (!file_)
            error = GetLastError();
        else if (!GetFileSizeEx(file_.get(), &size))
            error = GetLastError();
        else if (size.QuadPart == 0)
            text = SourceFileStart(format_) + text;
    }
    DWORD written = 0;
    if (!error && (!WriteFile(file_.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
                   written != text.size())) {
        error = GetLastError();
        if (!error) error = ERROR_WRITE_FAULT;
    }
    if (!error) return {};
    failed_ = true;
    file_.Close();
    return "Unable to write to \"" + path_ + "\" (" + platform::SystemReason(error) + ")" +
           "; the search goes on without recording its sources";
}

}  // namespace engine
