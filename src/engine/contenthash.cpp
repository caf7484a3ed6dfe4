#include "engine/contenthash.h"

#include <windows.h>
#include <bcrypt.h>

#include <algorithm>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/owned.h"
#include "platform/text.h"

namespace engine {

Sha256::Sha256() {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0))) return;
    algorithm_ = algorithm;
    ok_ = BCRYPT_SUCCESS(BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0));
    hash_ = hash;
}

Sha256::~Sha256() {
    if (hash_) BCryptDestroyHash(hash_);
    if (algorithm_) BCryptCloseAlgorithmProvider(algorithm_, 0);
}

void Sha256::Add(std::string_view data) {
    while (ok_ && !data.empty()) {
        const auto n = static_cast<ULONG>(std::min<size_t>(data.size(), 1u << 30));
        ok_ = BCRYPT_SUCCESS(BCryptHashData(hash_, reinterpret_cast<PUCHAR>(const_cast<char*>(data.data())), n, 0));
        data.remove_prefix(n);
    }
}

std::string Sha256::Hex() {
    unsigned char digest[32];
    if (!ok_ || !BCRYPT_SUCCESS(BCryptFinishHash(hash_, digest, sizeof digest, 0))) return {};
    ok_ = false;  // a finished hash takes no more data
    static const char* hex = "0123456789abcdef";
    std::string text;
    for (unsigned char b : digest) text += {hex[b >> 4], hex[b & 15]};
    return text;
}

std::optional<std::string> FileSha256(const std::string& path) {
    platform::Handle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return std::nullopt;
    Sha256 hash;
    std::vector<char> block(1 << 16);
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), block.data(), static_cast<DWORD>(block.size()), &got, nullptr)) return std::nullopt;
        if (got == 0) break;
        hash.Add(std::string_view(block.data(), got));
    }
    std::string text = hash.Hex();
    if (text.empty()) return std::nullopt;
    return text;
}

size_t AddFolderFiles(IdenticalIndex& index, const std::string& folder, const std::atomic<bool>* stop) {
    std::string base = folder;
    if (!base.empty() && base.back() != '\\') base += '\\';
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileExA((base + "*").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr,
                                     FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) return 0;
    size_t count = 0;
    do {
        if (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) continue;
        const uint64_t size = (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        index.AddExisting(base + found.cFileName, size);
        count++;
    } while (!(stop && *stop) && FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

std::shared_ptr<IdenticalIndex> IndexOfFolder(const std::string& folder) {
    static std::mutex lock;
    static std::unordered_map<std::string, std::shared_ptr<IdenticalIndex>> indexes;
    std::string key = platform::AsciiLowerCase(folder);
    if (!key.empty() && key.back() != '\\') key += '\\';
    std::lock_guard<std::mutex> hold(lock);
    auto& index = indexes[key];
    if (!index) index = std::make_shared<IdenticalIndex>(FileSha256);
    return index;
}

}  // namespace engine
