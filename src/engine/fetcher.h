#pragma once
// Downloads one image file through WinInet, on the search job's worker thread.
#include <atomic>
#include <cstdint>
#include <string>

namespace engine {

// What bounds one download besides the size limits. A slow transfer goes on as long as it
// moves: several at once share the line, and each is slower than one alone would be.
struct DownloadBounds {
    const std::atomic<bool>* stop = nullptr;  // tested between blocks; a stop abandons the file
    uint32_t deadlineMs = 600000;             // from the first request to the last block
    uint32_t stallMs = 30000;                 // abandoned when less than stallBytes arrive in this long
    uint32_t stallBytes = 1024;
};

inline constexpr int kMaxRedirects = 10;

// Writes the body at `url` to `path` when the server announces a length within
// [minSize, maxSize] (no Content-Length counts as 0, one too long to read as larger than any
// limit) and the final status, after at most kMaxRedirects redirects followed here, is exactly
// "200". Returns false, leaving no file, when the download is refused or does not start, and
// when a stop request, the deadline, a stall or a body running past maxSize ends it (the file
// is deleted). Every network phase is bounded by 4000 ms time-outs. A transfer cut short keeps
// every byte that arrived and returns true. Throws std::runtime_error when the file cannot be
// created or written (the file and every handle are closed first). Reads blocks of at most 1024
// bytes, each written at once, and pumps the calling thread's messages after the first block,
// every 10 ms, and at the end. `agent` is the user agent the request names (the program's
// title, handed in by whoever runs the job). Nothing is read from or written to the internet
// cache, and no cookie is sent or kept beyond the download's own redirects. `whole`, when given,
// tells whether the body ended as announced (every announced byte, and no read that failed).
bool DownloadToFile(const std::string& url, const std::string& path, int32_t minSize, int32_t maxSize,
                    const std::string& agent, const DownloadBounds& bounds = {}, bool* whole = nullptr);

// Why a secure connection to `url` (https only) is refused, as the end of a sentence ("its
// certificate has expired or is not yet valid"), found by asking for it once within `withinMs`
// or until a stop; empty when no such fault shows. Wine's page request never ends on a refused
// certificate, so this names the cause of a page that did not arrive.
std::string SecureConnectionFault(const std::string& url, const std::string& agent, uint32_t withinMs,
                                  const std::atomic<bool>* stop = nullptr);

// Whether files in the folder can carry named streams. Wine calls its Unix folders NTFS but
// without named streams, and there "name:stream" would be a file of its own beside the image.
bool FolderKeepsStreams(const std::string& folder);

// Gives the downloaded file the Zone.Identifier stream a browser writes (ZoneIdentifierText).
// Only where FolderKeepsStreams; a failure leaves the file as it is.
void MarkFromInternet(const std::string& path, const std::string& imageUrl, const std::string& pageUrl);

}  // namespace engine
