#include "engine/thumbnail.h"
#include "platform/systemtext.h"
#include "platform/owned.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <stdexcept>

#include "engine/phasetimes.h"
#include "imaging/jpegcodec.h"
#include "imaging/thumbgeom.h"

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
    std::string text = platform::SystemText(err);
    return text.empty() ? "Error " + std::to_string(err) : text;
}

// The whole file in movable global memory, as a stream on it wants; none if it cannot be read.
platform::GlobalMemory ReadAll(HANDLE file, size_t& size) {
    LARGE_INTEGER len{};
    if (!GetFileSizeEx(file, &len) || len.QuadPart > kMaxFileBytes) return {};
    size = static_cast<size_t>(len.QuadPart);
    platform::GlobalMemory mem(GlobalAlloc(GMEM_MOVEABLE, size ? size : 1));
    if (!mem) return {};
    platform::LockedGlobal lock(mem.get());
    auto* p = static_cast<uint8_t*>(lock.get());
    size_t got = 0;
    while (p && got < size) {
        DWORD n = 0;
        DWORD want = static_cast<DWORD>(std::min<size_t>(size - got, 1 << 20));
        if (!ReadFile(file, p + got, want, &n, nullptr) || n == 0) break;
        got += n;
    }
    size = got;
    return mem;
}

// Decodes the file's bytes into the picture; false when they do not decode. JPEG goes to
// libjpeg-turbo (several times faster than the OLE loader, and the same pixels on every
// platform); what it cannot read (CMYK, say) and every other format go to the OLE loader.
bool Decode(HGLOBAL mem, size_t size, Picture& picture, int boxWidth, int boxHeight) {
    {
        platform::LockedGlobal lock(mem);
        const auto* bytes = static_cast<const uint8_t*>(lock.get());
        if (!bytes) return false;
        imaging::ImageKind kind = imaging::SniffImage(bytes, size);
        int64_t w = 0, h = 0;
        bool refuse = kind == imaging::ImageKind::Png || kind == imaging::ImageKind::WebP;
        if (!refuse && imaging::HeaderSize(bytes, size, w, h)) refuse = w * h > kMaxDecodedPixels;
        if (refuse) return false;
        imaging::JpegInfo info;
        if (kind == imaging::ImageKind::Jpeg && imaging::ReadJpegInfo(bytes, size, info)) {
            if (int64_t{info.width} * info.height > kMaxDecodedPixels) {
                // Only a sequential JPEG can be read one row at a time.
                if (info.progressive || int64_t{info.width} * info.height > kMaxScaledPixels) return false;
                picture.SetLargeJpeg(std::vector<uint8_t>(bytes, bytes + size), info.width, info.height);
                return true;
            }
            // A 24-megapixel photograph is 96 MB of pixels whole, 1.5 MB at an eighth of its size.
            std::vector<uint8_t> pixels;
            int pw = 0, ph = 0;
            imaging::Size cover = info.width > 0 && info.height > 0
                                      ? imaging::ThumbnailSize(info.width, info.height, boxWidth, boxHeight)
                                      : imaging::Size{};
            if (imaging::DecodeJpeg(bytes, size, kMaxDecodedPixels, pixels, pw, ph, cover.width, cover.height)) {
                picture.SetScaledPixels(std::move(pixels), pw, ph, info.width, info.height);
                return true;
            }
        }
    }
    platform::Com<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(mem, FALSE, stream.Put()))) return false;
    platform::Com<IPicture> decoded;
    HRESULT hr = OleLoadPicture(stream.get(), static_cast<LONG>(size), FALSE, IID_IPicture, decoded.PutVoid());
    if (FAILED(hr) || !decoded) return false;
    picture.SetOle(decoded.get());
    return true;
}

// A 32-bit top-down DIB section selected into a memory DC; released on every path, a
// constructor that throws half-way included.
class WorkingBitmap {
public:
    WorkingBitmap(int width, int height) {
        BITMAPINFO bi = imaging::TopDownDib(width, height);
        dc_.Reset(CreateCompatibleDC(nullptr));
        void* bits = nullptr;
        if (dc_) bmp_.Reset(CreateDIBSection(dc_.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (!bmp_ || !bits) throw std::runtime_error("Out of system resources");
        bits_ = static_cast<uint8_t*>(bits);
        selection_.emplace(dc_.get(), bmp_.get());
        std::memset(bits_, 0xFF, 4 * static_cast<size_t>(width) * static_cast<size_t>(height));  // white
    }
    HDC dc() const { return dc_.get(); }
    uint8_t* bits() const { return bits_; }

private:
    // Declared in the order they are made, so they go in the reverse order.
    platform::MemoryDc dc_;
    platform::Gdi<HBITMAP> bmp_;
    std::optional<platform::Selection> selection_;
    uint8_t* bits_ = nullptr;
};

}  // namespace

std::unique_ptr<Picture> ThumbnailOfFile(const std::string& path, bool* decoded) {
    PhaseTimer timer(Phase::Thumbnail);
    auto picture = std::make_unique<Picture>();
    if (decoded) *decoded = false;
    try {
        const bool ok = LoadPictureFile(path, *picture);
        if (decoded) *decoded = ok;
        if (ok)
            MakeThumbnail(*picture, 138, 108);
        else
            MakeThumbnail(*picture, 32, 32);
    } catch (...) {
        picture.reset();
    }
    return picture;
}

HICON ApplicationIcon() {
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), "MAINICON");
    return icon ? icon : LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
}

bool LoadPictureFile(const std::string& path, Picture& picture, int boxWidth, int boxHeight) {
    platform::Handle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw std::runtime_error("Cannot open file \"" + path + "\". " + SystemText(GetLastError()));
    size_t size = 0;
    platform::GlobalMemory mem = ReadAll(file.get(), size);
    bool ok = mem && Decode(mem.get(), size, picture, boxWidth, boxHeight);
    if (!ok) picture.SetIcon(ApplicationIcon());
    return ok;
}

void MakeThumbnail(Picture& picture, int boxWidth, int boxHeight) {
    imaging::Size size = imaging::ThumbnailSize(picture.Width(), picture.Height(), boxWidth, boxHeight);
    if (size.width <= 0 || size.height <= 0) {
        picture.SetEmptyJpeg();
        return;
    }
    // The picture is drawn straight at the thumbnail's size: nearest-pixel scaling gives the
    // same pixels as drawing it whole first, without a working bitmap of the full size. Decoded
    // pixels are scaled in plain memory; only a graphic that must be drawn needs a bitmap and a
    // device context (each a call into the system).
    const size_t stride = 4 * static_cast<size_t>(size.width);
    std::vector<uint8_t> jpeg;
    if (int64_t{size.width} * size.height > kMaxDecodedPixels) throw std::runtime_error("Out of system resources");
    if (picture.GetKind() == Picture::Kind::Bitmap || picture.GetKind() == Picture::Kind::Jpeg) {
        std::vector<uint8_t> pixels(stride * static_cast<size_t>(size.height), 0xFF);
        if (!picture.RenderScaled(nullptr, pixels.data(), size.width, size.height))
            throw std::runtime_error("JPEG error: the image data does not decode");
        jpeg = imaging::EncodeJpeg(pixels.data(), size.width, size.height, stride, kQuality);
    } else {
        WorkingBitmap work(size.width, size.height);
        picture.RenderScaled(work.dc(), work.bits(), size.width, size.height);
        jpeg = imaging::EncodeJpeg(work.bits(), size.width, size.height, stride, kQuality);
    }
    if (jpeg.empty()) throw std::runtime_error("JPEG error: the thumbnail could not be encoded");
    picture.SetJpegBytes(std::move(jpeg));
}

}  // namespace engine
