#include "engine/thumbnail.h"
#include "forms/systemtext.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "engine/jpegcodec.h"
#include "engine/thumbgeom.h"

namespace engine {

namespace {

// Above this many pixels a picture is not decoded whole (4 bytes each, about 200 MB): a JPEG
// is then scaled row by row from its encoded data, anything else counts as not decodable.
constexpr int64_t kMaxDecodedPixels = 50'000'000;
// Even row by row a picture has to end somewhere: a few bytes may announce 65500 x 65500.
constexpr int64_t kMaxScaledPixels = 1'000'000'000;
// Image files larger than this are not read into memory at all.
constexpr LONGLONG kMaxFileBytes = 256LL << 20;
constexpr int kQuality = 70;

std::string SystemText(DWORD err) {
    std::string text = forms::SystemText(err);
    return text.empty() ? "Error " + std::to_string(err) : text;
}

struct FileHandle {
    HANDLE h;
    ~FileHandle() {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
};

// The whole file in movable global memory, as a stream on it wants; null if it cannot be read.
HGLOBAL ReadAll(HANDLE file, size_t& size) {
    LARGE_INTEGER len{};
    if (!GetFileSizeEx(file, &len) || len.QuadPart > kMaxFileBytes) return nullptr;
    size = static_cast<size_t>(len.QuadPart);
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, size ? size : 1);
    if (!mem) return nullptr;
    auto* p = static_cast<uint8_t*>(GlobalLock(mem));
    size_t got = 0;
    while (got < size) {
        DWORD n = 0;
        DWORD want = static_cast<DWORD>(std::min<size_t>(size - got, 1 << 20));
        if (!ReadFile(file, p + got, want, &n, nullptr) || n == 0) break;
        got += n;
    }
    GlobalUnlock(mem);
    size = got;
    return mem;
}

// Decodes the file's bytes into the picture; false when they do not decode. JPEG goes to
// libjpeg-turbo (several times faster than the OLE loader, and the same pixels on every
// platform); what it cannot read (CMYK, say) and every other format go to the OLE loader.
bool Decode(HGLOBAL mem, size_t size, Picture& picture) {
    const auto* bytes = static_cast<const uint8_t*>(GlobalLock(mem));
    ImageKind kind = SniffImage(bytes, size);
    int64_t w = 0, h = 0;
    bool refuse = kind == ImageKind::Png || kind == ImageKind::WebP;
    bool done = false;
    if (!refuse && HeaderSize(bytes, size, w, h)) refuse = w * h > kMaxDecodedPixels;
    JpegInfo info;
    if (!refuse && kind == ImageKind::Jpeg && ReadJpegInfo(bytes, size, info)) {
        if (int64_t{info.width} * info.height > kMaxDecodedPixels) {
            // Only a sequential JPEG can be read one row at a time.
            refuse = info.progressive || int64_t{info.width} * info.height > kMaxScaledPixels;
            done = !refuse;
            if (done) picture.SetLargeJpeg(std::vector<uint8_t>(bytes, bytes + size), info.width, info.height);
        } else {
            std::vector<uint8_t> pixels;
            int pw = 0, ph = 0;
            done = DecodeJpeg(bytes, size, kMaxDecodedPixels, pixels, pw, ph);
            if (done) picture.SetPixels(std::move(pixels), pw, ph);
        }
    }
    GlobalUnlock(mem);
    if (refuse) return false;
    if (done) return true;

    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(mem, FALSE, &stream))) return false;
    IPicture* decoded = nullptr;
    HRESULT hr = OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture, reinterpret_cast<void**>(&decoded));
    stream->Release();
    if (FAILED(hr) || !decoded) return false;
    picture.SetOle(decoded);
    decoded->Release();
    return true;
}

// A 32-bit top-down DIB section selected into a memory DC; released on every path.
class WorkingBitmap {
public:
    WorkingBitmap(int width, int height) {
        BITMAPINFO bi = TopDownDib(width, height);
        dc_ = CreateCompatibleDC(nullptr);
        void* bits = nullptr;
        bmp_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!dc_ || !bmp_) throw std::runtime_error("Out of system resources");
        bits_ = static_cast<uint8_t*>(bits);
        old_ = SelectObject(dc_, bmp_);
        std::memset(bits_, 0xFF, 4 * static_cast<size_t>(width) * static_cast<size_t>(height));  // white
    }
    ~WorkingBitmap() {
        if (dc_ && old_) SelectObject(dc_, old_);
        if (bmp_) DeleteObject(bmp_);
        if (dc_) DeleteDC(dc_);
    }
    WorkingBitmap(const WorkingBitmap&) = delete;
    WorkingBitmap& operator=(const WorkingBitmap&) = delete;
    HDC dc() const { return dc_; }
    uint8_t* bits() const { return bits_; }

private:
    HDC dc_ = nullptr;
    HBITMAP bmp_ = nullptr;
    HGDIOBJ old_ = nullptr;
    uint8_t* bits_ = nullptr;
};

}  // namespace

HICON ApplicationIcon() {
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), "MAINICON");
    return icon ? icon : LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
}

bool LoadPictureFile(const std::string& path, Picture& picture) {
    FileHandle file{CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (file.h == INVALID_HANDLE_VALUE)
        throw std::runtime_error("Cannot open file \"" + path + "\". " + SystemText(GetLastError()));
    size_t size = 0;
    HGLOBAL mem = ReadAll(file.h, size);
    bool ok = mem && Decode(mem, size, picture);
    if (mem) GlobalFree(mem);
    if (!ok) picture.SetIcon(ApplicationIcon());
    return ok;
}

void MakeThumbnail(Picture& picture, int boxWidth, int boxHeight) {
    Size size = ThumbnailSize(picture.Width(), picture.Height(), boxWidth, boxHeight);
    if (size.width <= 0 || size.height <= 0) {
        picture.SetEmptyJpeg();
        return;
    }
    // The picture is drawn straight at the thumbnail's size: nearest-pixel scaling gives the
    // same pixels as drawing it whole first, without a working bitmap of the full size.
    WorkingBitmap work(size.width, size.height);
    if (!picture.RenderScaled(work.dc(), work.bits(), size.width, size.height))
        throw std::runtime_error("JPEG error: the image data does not decode");
    std::vector<uint8_t> jpeg = EncodeJpeg(work.bits(), size.width, size.height, 4 * static_cast<size_t>(size.width), kQuality);
    if (jpeg.empty()) throw std::runtime_error("JPEG error: the thumbnail could not be encoded");
    picture.SetJpegBytes(std::move(jpeg));
}

}  // namespace engine
