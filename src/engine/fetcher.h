#pragma once
// Downloads one image file through WinInet, on the search job's worker thread.
#include <cstdint>
#include <string>

namespace engine {

// Writes the body at `url` to `path` when the server announces a length within
// [minSize, maxSize] (no Content-Length counts as 0, one too long to read as larger than any
// limit) and the final status, after redirects, is exactly "200". Returns false, leaving no
// file, when the download is refused or does not start. Every network phase is bounded by
// 4000 ms time-outs. A transfer cut short keeps what arrived and returns true; a body that runs
// past maxSize is abandoned, its file deleted, and false returned. Throws std::runtime_error
// when the file cannot be created or written (the file and every handle are closed first).
// Pumps the calling thread's messages after each block of 1024 bytes. `agent` is the user agent
// the request names (the program's title, handed in by whoever runs the job).
bool DownloadToFile(const std::string& url, const std::string& path, int32_t minSize, int32_t maxSize,
                    const std::string& agent);

}  // namespace engine
