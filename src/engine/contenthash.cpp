#include "engine/contenthash.h"

#include <windows.h>
#include <bcrypt.h>

#include <vector>

#include "platform/owned.h"

namespace engine {

namespace {

struct AlgorithmCloser {
    BCRYPT_ALG_HANDLE h;
    ~AlgorithmCloser() { BCryptCloseAlgorithmProvider(h, 0); }
};
struct HashCloser {
    BCRYPT_HASH_HANDLE h;
    ~HashCloser() { BCryptDestroyHash(h); }
};

}  // namespace

std::optional<std::string> FileSha256(const std::string& path) {
    platform::Handle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return std::nullopt;
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0)))
        return std::nullopt;
    AlgorithmCloser closeAlgorithm{algorithm};
    BCRYPT_HASH_HANDLE hash = nullptr;
    if (!BCRYPT_SUCCESS(BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0))) return std::nullopt;
    HashCloser closeHash{hash};
    std::vector<unsigned char> block(1 << 16);
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), block.data(), static_cast<DWORD>(block.size()), &got, nullptr)) return std::nullopt;
        if (got == 0) break;
        if (!BCRYPT_SUCCESS(BCryptHashData(hash, block.data(), got, 0))) return std::nullopt;
    }
    unsigned char digest[32];
    if (!BCRYPT_SUCCESS(BCryptFinishHash(hash, digest, sizeof digest, 0))) return std::nullopt;
    static const char* hex = "0123456789abcdef";
    std::string text;
    for (unsigned char b : digest) text += {hex[b >> 4], hex[b & 15]};
    return text;
}

size_t AddFolderFiles(IdenticalIndex& index, const std::string& folder) {
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
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

}  // namespace engine
