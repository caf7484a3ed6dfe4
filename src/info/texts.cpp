#include "info/texts.h"

namespace info {

std::string DownloadWarning(std::string_view fileName) {
    return "Error downloading file \"" + std::string(fileName) +
           "\" for version check.\rPlease check your internet connection and/or firewall..";
}

std::string ImageInfoText(std::string_view name, uint64_t sizeBytes, std::string_view dateText) {
    return "File name: " + std::string(name) + "\r" + "File size:     " + std::to_string(sizeBytes) + " bytes\r" +
           "File date:   " + std::string(dateText) + "\r";
}

std::string DateTimeText(std::string_view date, std::string_view time, bool midnight) {
    if (midnight) return std::string(date);
    return std::string(date) + " " + std::string(time);
}

std::string TrimBlanks(std::string_view text) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    size_t a = 0, b = text.size();
    while (a < b && blank(text[a])) a++;
    while (b > a && blank(text[b - 1])) b--;
    return std::string(text.substr(a, b - a));
}

}  // namespace info
