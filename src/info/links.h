#pragma once
// The maker's addresses and credit, in one place.
namespace info {

inline constexpr const char* kAuthorName = "Arlen Voss";
inline constexpr const char* kMakerWebText = "www.quenby-freeware.example";
inline constexpr const char* kFreewarePage = "https://www.quenby-freeware.example/freeware/";
inline constexpr const char* kSoftwareNewsPage = "https://www.quenby-freeware.example/news.html";
inline constexpr const char* kDonationPage = "https://www.quenby-freeware.example/donate.html";
inline constexpr const char* kMakerMail = "quenby@quenby-freeware.example";
inline constexpr const char* kMailSubject = "?subject=from 'Quenby' freeware...";

}  // namespace info
