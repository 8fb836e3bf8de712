#include "platform/Picture.h"

#include "platform/Files.h"
#include "platform/QtFont.h"
#include "platform/QtPicture.h"
#include "platform/QtText.h"

#include <QApplication>
#include <QBuffer>
#include <QFontMetrics>
#include <QImageReader>
#include <QPainter>
#include <QPalette>

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <unordered_map>
#include <vector>

namespace platform {

namespace {

// The backing store's own format: painting a picture is a copy, not a conversion (a conversion
// of a card's picture costs ten times the copy, and Qt spreads it over threads it then waits for).
constexpr QImage::Format kFormat = QImage::Format_RGB32;

int ClampSide(int side) {
    return std::clamp(side, 0, Picture::kMaxSide);
}

QImage NewImage(int width, int height, Colour fill) {
    width = ClampSide(width);
    height = ClampSide(height);
    // Sides within the limit can still ask for 256 MB: such a picture stays empty instead.
    if (width == 0 || height == 0 || std::int64_t{width} * height > Picture::kMaxPixels) return QImage();
    QImage image(width, height, kFormat);
    image.fill(QColor(RedOf(fill), GreenOf(fill), BlueOf(fill)));
    return image;
}

bool FitsTheLimits(QSize size) {
    if (!size.isValid()) return true; // the decoder could not tell: the decoded size is checked
    return size.width() <= Picture::kMaxSide && size.height() <= Picture::kMaxSide &&
           static_cast<qint64>(size.width()) * size.height() <= Picture::kMaxPixels;
}

std::uint32_t LittleEndian(const std::string& bytes, std::size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

// An uncompressed BMP stores every row whole, so a file shorter than its rows declares a
// picture it does not hold; the decoder would still hand out the declared size, blank.
bool BmpRowsFit(const std::string& bytes) {
    if (bytes.size() < 26 || bytes[0] != 'B' || bytes[1] != 'M') return true;
    const std::uint32_t offset = LittleEndian(bytes, 10, 4);
    const std::uint32_t headerSize = LittleEndian(bytes, 14, 4);
    std::int64_t width = 0, height = 0;
    std::uint32_t bits = 0, compression = 0;
    if (headerSize == 12) {
        width = static_cast<std::int16_t>(LittleEndian(bytes, 18, 2));
        height = static_cast<std::int16_t>(LittleEndian(bytes, 20, 2));
        bits = LittleEndian(bytes, 24, 2);
    } else {
        if (bytes.size() < 34) return false;
        width = static_cast<std::int32_t>(LittleEndian(bytes, 18, 4));
        height = static_cast<std::int32_t>(LittleEndian(bytes, 22, 4));
        bits = LittleEndian(bytes, 28, 2);
        compression = LittleEndian(bytes, 30, 4);
    }
    if (width < 0) width = -width;
    if (height < 0) height = -height;
    if (width > Picture::kMaxSide || height > Picture::kMaxSide) return false;
    constexpr std::uint32_t kPlain = 0, kBitFields = 3, kAlphaBitFields = 6;
    if (compression != kPlain && compression != kBitFields && compression != kAlphaBitFields) return true;
    if (offset > bytes.size()) return false;
    const std::int64_t rowBytes = (width * bits + 31) / 32 * 4;
    return rowBytes * height <= static_cast<std::int64_t>(bytes.size() - offset);
}

// Whether LZW codes in `dataBytes` bytes can give `pixels` pixels at all. The k-th code after a
// clear stands for at most k + 1 pixels (4096 at most) and takes at least as many bits as the
// table's size needs; the bound is generous, so only a frame its data could never fill fails.
bool LzwCanFill(int minCodeSize, std::uint64_t dataBytes, std::uint64_t pixels) {
    if (minCodeSize < 1 || minCodeSize > 11) return true; // the decoder refuses these itself
    constexpr std::uint64_t kLongest = 4096;
    std::uint64_t bits = dataBytes * 8, produced = 0, k = 0;
    std::uint64_t next = (std::uint64_t{1} << minCodeSize) + 2;
    int width = minCodeSize + 1;
    while (produced < pixels) {
        if (bits < static_cast<std::uint64_t>(width)) return false;
        bits -= static_cast<std::uint64_t>(width);
        produced += std::min(++k, kLongest);
        if (next < kLongest && ++next > (std::uint64_t{1} << width) && width < 12) ++width;
    }
    return true;
}

// The first frame of a GIF (the one shown) must have image data enough for its size: a frame of
// a thousand rows in a few bytes would be handed out whole, filled with the background.
bool GifFrameFits(const std::string& bytes) {
    if (bytes.size() < 13 || bytes.compare(0, 3, "GIF") != 0) return true;
    auto byte = [&](std::size_t at) { return static_cast<unsigned char>(bytes[at]); };
    std::size_t p = 13;
    if (byte(10) & 0x80) p += 3 * (std::size_t{1} << ((byte(10) & 7) + 1));
    auto skipSubBlocks = [&](std::size_t& at, std::uint64_t& total) {
        while (at < bytes.size() && byte(at) != 0) {
            total += byte(at);
            at += std::size_t{byte(at)} + 1;
        }
        ++at;
    };
    while (p < bytes.size()) {
        if (byte(p) == 0x21 && p + 1 < bytes.size()) { // an extension
            std::uint64_t ignored = 0;
            p += 2;
            skipSubBlocks(p, ignored);
        } else if (byte(p) == 0x2C && p + 10 < bytes.size()) { // the first image
            const std::uint64_t pixels =
                std::uint64_t{LittleEndian(bytes, p + 5, 2)} * LittleEndian(bytes, p + 7, 2);
            const unsigned char packed = byte(p + 9);
            p += 10;
            if (packed & 0x80) p += 3 * (std::size_t{1} << ((packed & 7) + 1));
            if (p >= bytes.size()) return pixels == 0;
            const int minCodeSize = byte(p++);
            std::uint64_t data = 0;
            skipSubBlocks(p, data);
            // Sub-block lengths may promise more than the file holds.
            data = std::min<std::uint64_t>(data, bytes.size());
            return LzwCanFill(minCodeSize, data, pixels);
        } else {
            return true; // the trailer or a broken file: the decoder says what it makes of it
        }
    }
    return true;
}

// Info headers of 52 and 56 bytes (the 40-byte header followed by its colour masks, and by an
// alpha mask in the longer one) come from common image editors, and the decoder knows neither:
// such a file is read as the 40-byte header, followed by its colour masks where its bit fields
// use them, as a 40-byte header with bit fields keeps them. The alpha mask is not read.
void ReadShortMaskHeaderAsPlain(std::string& bytes) {
    if (bytes.size() < 34 || bytes[0] != 'B' || bytes[1] != 'M') return;
    const std::uint32_t headerSize = LittleEndian(bytes, 14, 4);
    if ((headerSize != 52 && headerSize != 56) || bytes.size() < 14 + headerSize) return;
    constexpr std::uint32_t kBitFields = 3;
    const std::uint32_t kept = LittleEndian(bytes, 30, 4) == kBitFields ? 52 : 40;
    const std::uint32_t dropped = headerSize - kept;
    bytes.erase(14 + kept, dropped);
    auto put = [&](std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    put(14, 40);
    // The pixels move up with the header; an offset pointing into the header is left for the
    // decoder to refuse.
    const std::uint32_t offset = LittleEndian(bytes, 10, 4);
    if (offset >= 14 + headerSize) put(10, offset - dropped);
}

// A grey PNG's transparent grey comes out of the decoder as see-through black: it keeps the grey
// the file stores, as the see-through pixels of every other kind keep their colour.
void KeepTransparentGrey(QImage& image, const std::string& bytes) {
    constexpr unsigned char kGreyPng = 0;
    if (image.format() != QImage::Format_Indexed8 || bytes.size() < 26 ||
        static_cast<unsigned char>(bytes[0]) != 0x89 || bytes.compare(1, 3, "PNG") != 0 ||
        static_cast<unsigned char>(bytes[25]) != kGreyPng)
        return;
    // The decoder gives a grey of d bits the table of 2^d evenly spaced greys.
    QList<QRgb> table = image.colorTable();
    const auto count = table.size();
    if (count < 2) return;
    for (qsizetype i = 0; i < count; ++i)
        if (table[i] == 0) {
            const int grey = static_cast<int>(i * 255 / (count - 1));
            table[i] = qRgba(grey, grey, grey, 0);
        }
    image.setColorTable(table);
}

QColor ToQColor(Colour c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

} // namespace

bool ClipBlock(int& dx, int& dy, int& width, int& height, int& sx, int& sy, int sw, int sh, int dw, int dh) {
    auto clipAxis = [](int& d, int& s, int& len, int sLimit, int dLimit) {
        if (s < 0) {
            d -= s;
            len += s;
            s = 0;
        }
        if (d < 0) {
            s -= d;
            len += d;
            d = 0;
        }
        len = std::min({len, sLimit - s, dLimit - d});
        return len > 0;
    };
    return clipAxis(dx, sx, width, sw, dw) && clipAxis(dy, sy, height, sh, dh);
}

struct Picture::Impl {
    QImage image;
};

Picture::Picture() : impl_(std::make_unique<Impl>()) {}
Picture::Picture(int width, int height, Colour fill) : impl_(std::make_unique<Impl>()) {
    impl_->image = NewImage(width, height, fill);
}
Picture::Picture(const Picture& other) : impl_(std::make_unique<Impl>(*other.impl_)) {}
Picture& Picture::operator=(const Picture& other) {
    if (this != &other) impl_->image = other.impl_->image;
    return *this;
}
Picture::Picture(Picture&& other) noexcept : impl_(std::make_unique<Impl>()) {
    impl_->image.swap(other.impl_->image);
}
Picture& Picture::operator=(Picture&& other) noexcept {
    impl_->image.swap(other.impl_->image);
    return *this;
}
Picture::~Picture() = default;

int Picture::Width() const {
    return impl_->image.width();
}
int Picture::Height() const {
    return impl_->image.height();
}
bool Picture::IsEmpty() const {
    return impl_->image.isNull();
}

const QImage& PictureAccess::Image(const Picture& picture) {
    return picture.impl_->image;
}
QImage& PictureAccess::MutableImage(Picture& picture) {
    return picture.impl_->image;
}

Picture PictureAccess::FromImage(const QImage& image) {
    Picture picture;
    if (image.isNull()) return picture;
    QImage converted = image.convertToFormat(kFormat);
    if (converted.width() > Picture::kMaxSide || converted.height() > Picture::kMaxSide)
        converted = converted.copy(0, 0, ClampSide(converted.width()), ClampSide(converted.height()));
    picture.impl_->image = converted;
    return picture;
}

namespace {

// A file's picture with every pixel opaque in the colour the file gives it, and which pixels the
// file marks see-through (alpha below half), row by row; none when it marks none.
struct Decoded {
    Picture picture;
    std::vector<bool> seeThrough;
};

// Decodes an image file; with maxSide above 0, a picture the header says is larger than maxSide a
// side is decoded at a size that fits it, its proportions kept.
std::optional<Decoded> Decode(const std::string& path, int maxSide) {
    if (path.empty()) return std::nullopt;
    std::optional<std::string> bytes = ReadFileBytes(path);
    if (bytes) ReadShortMaskHeaderAsPlain(*bytes);
    if (!bytes || !BmpRowsFit(*bytes) || !GifFrameFits(*bytes)) return std::nullopt;
    QByteArray data = QByteArray::fromRawData(bytes->data(), static_cast<qsizetype>(bytes->size()));
    QBuffer buffer(&data);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    // Files show as stored, at the size their header gives: an orientation tag is not applied.
    reader.setAutoTransform(false);
    // The decoders' own backstop, for sizes a header does not show (a GIF's frames, say).
    // Eight bytes a pixel leaves room for the decoders that work in 16 bits a channel.
    QImageReader::setAllocationLimit(static_cast<int>(std::int64_t{Picture::kMaxPixels} * 8 / (1024 * 1024)));
    const QSize declared = reader.size();
    if (!FitsTheLimits(declared)) return std::nullopt;
    const auto fitted = [maxSide](QSize size) {
        return size.scaled(QSize(maxSide, maxSide), Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    };
    const bool shrink =
        maxSide > 0 && declared.isValid() && std::max(declared.width(), declared.height()) > maxSide;
    // The decoders that can shrink while they decode (JPEG) never hold the whole picture.
    if (shrink) reader.setScaledSize(fitted(declared));
    QImage image;
    if (!reader.read(&image) || image.isNull()) return std::nullopt;
    if (!FitsTheLimits(image.size())) return std::nullopt;
    KeepTransparentGrey(image, *bytes);
    if (maxSide > 0 && std::max(image.width(), image.height()) > maxSide)
        image = image.scaled(fitted(image.size()), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    Decoded decoded;
    if (image.hasAlphaChannel()) {
        // A see-through pixel keeps the colour the file gives it (a GIF's transparent colour is
        // the control's mask colour); Qt would otherwise hand out premultiplied black.
        QImage plain = image.convertToFormat(QImage::Format_ARGB32);
        std::vector<bool> seeThrough(static_cast<std::size_t>(plain.width()) * plain.height());
        bool any = false;
        for (int y = 0; y < plain.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(plain.scanLine(y));
            for (int x = 0; x < plain.width(); ++x) {
                if (qAlpha(line[x]) < 128) {
                    seeThrough[static_cast<std::size_t>(y) * plain.width() + x] = true;
                    any = true;
                }
                line[x] |= 0xFF000000u;
            }
        }
        if (any) decoded.seeThrough = std::move(seeThrough);
        image = plain;
    }
    decoded.picture = PictureAccess::FromImage(image);
    return decoded;
}

// The picture with the pixels a file marks see-through painted in the key colour.
Picture PaintedSeeThrough(const Picture& picture, const std::vector<bool>& seeThrough, Colour key) {
    Picture painted = picture;
    const std::uint32_t pixel = Picture::PixelOf(key);
    for (int y = 0; y < painted.Height(); ++y) {
        std::uint32_t* row = painted.Row(y);
        const std::size_t first = static_cast<std::size_t>(y) * painted.Width();
        for (int x = 0; x < painted.Width(); ++x)
            if (seeThrough[first + static_cast<std::size_t>(x)]) row[x] = pixel;
    }
    return painted;
}

// Whether every pixel a file marks see-through shows the key colour already (as a GIF's
// transparent pixels show its transparent colour): the picture then serves that key as it is.
bool SeeThroughShows(const Picture& picture, const std::vector<bool>& seeThrough, Colour key) {
    const std::uint32_t pixel = Picture::PixelOf(key);
    for (int y = 0; y < picture.Height(); ++y) {
        const std::uint32_t* row = picture.Row(y);
        const std::size_t first = static_cast<std::size_t>(y) * picture.Width();
        for (int x = 0; x < picture.Width(); ++x)
            if (seeThrough[first + static_cast<std::size_t>(x)] && row[x] != pixel) return false;
    }
    return true;
}

} // namespace

std::optional<Picture> Picture::Load(const std::string& path) {
    std::optional<Decoded> decoded = Decode(path, 0);
    if (!decoded) return std::nullopt;
    return std::move(decoded->picture);
}

namespace {

// A decoded file, with what tells whether the file is still the one that was decoded. Where the
// file marks pixels see-through, the picture with them painted in each key asked for; no
// picture where the decoded one shows that key there already.
struct SharedFile {
    Picture picture;
    std::vector<bool> seeThrough;
    std::map<Colour, std::optional<Picture>> keyed;
    std::int64_t seconds = 0;
    std::int64_t nanoseconds = 0;
    std::int64_t size = 0;

    bool Shown() const {
        return picture.PixelsShared() || std::any_of(keyed.begin(), keyed.end(), [](const auto& k) {
                   return k.second && k.second->PixelsShared();
               });
    }
};

// What the looks of a LookScope found: where each path leads and each file's stamp (nothing
// where it could not be looked at).
struct FileStamp {
    std::int64_t seconds = 0;
    std::int64_t nanoseconds = 0;
    std::int64_t size = 0;
};
struct Looks {
    int depth = 0;
    std::unordered_map<std::string, std::optional<std::string>> paths;
    std::unordered_map<std::string, std::optional<FileStamp>> stamps;
};
Looks& LooksInScope() {
    static Looks looks;
    return looks;
}

// Where a path of the model leads, as ResolvePath says; within a LookScope, as it said first.
std::optional<std::string> RealPathOf(const std::string& path) {
    if (path.empty()) return std::nullopt;
    Looks& looks = LooksInScope();
    if (looks.depth == 0) return ResolvePath(path);
    if (auto known = looks.paths.find(path); known != looks.paths.end()) return known->second;
    return looks.paths.emplace(path, ResolvePath(path)).first->second;
}

// The modification time and size of a file, in one look at it (a table of hundreds of cards asks
// for each card's file; within a LookScope the first look answers); false when it cannot be
// looked at.
bool Stamp(const std::string& real, SharedFile& file) {
    Looks& looks = LooksInScope();
    const auto look = [&real]() -> std::optional<FileStamp> {
        struct stat status {};
        if (::stat(real.c_str(), &status) != 0) return std::nullopt;
        return FileStamp{status.st_mtim.tv_sec, status.st_mtim.tv_nsec, status.st_size};
    };
    std::optional<FileStamp> stamp;
    if (looks.depth == 0) {
        stamp = look();
    } else if (auto known = looks.stamps.find(real); known != looks.stamps.end()) {
        stamp = known->second;
    } else {
        stamp = looks.stamps.emplace(real, look()).first->second;
    }
    if (!stamp) return false;
    file.seconds = stamp->seconds;
    file.nanoseconds = stamp->nanoseconds;
    file.size = stamp->size;
    return true;
}

std::unordered_map<std::string, SharedFile>& SharedFiles() {
    static std::unordered_map<std::string, SharedFile> files;
    return files;
}

// The shared entry of a file, decoded anew when the file changed; nullptr when it cannot be
// decoded. A file whose time or size cannot be read is decoded into `unshared`.
SharedFile* SharedFileOf(const std::string& path, SharedFile& unshared) {
    const std::optional<std::string> real = RealPathOf(path);
    if (!real) return nullptr;
    SharedFile stamp;
    auto& files = SharedFiles();
    if (!Stamp(*real, stamp)) {
        files.erase(*real);
        std::optional<Decoded> decoded = Decode(path, 0);
        if (!decoded) return nullptr;
        unshared.picture = std::move(decoded->picture);
        unshared.seeThrough = std::move(decoded->seeThrough);
        return &unshared;
    }
    if (auto known = files.find(*real); known != files.end()) {
        if (known->second.seconds == stamp.seconds && known->second.nanoseconds == stamp.nanoseconds &&
            known->second.size == stamp.size)
            return &known->second;
        files.erase(known);
    }
    std::optional<Decoded> decoded = Decode(path, 0);
    if (!decoded) return nullptr;
    // Pictures nobody shows any more go, so that the files a long game passed through do not
    // pile up; the sweep costs one look at each file still in use.
    std::erase_if(files, [](const auto& entry) { return !entry.second.Shown(); });
    stamp.picture = std::move(decoded->picture);
    stamp.seeThrough = std::move(decoded->seeThrough);
    return &files.emplace(*real, std::move(stamp)).first->second;
}

// Whether a file's picture fits maxSide a side: a file shared and unchanged since is known by its
// picture, any other by its header; false when the header says nothing.
bool FitsWithin(const std::string& real, int maxSide) {
    const auto fits = [maxSide](int width, int height) { return width <= maxSide && height <= maxSide; };
    SharedFile stamp;
    auto& files = SharedFiles();
    if (auto known = files.find(real);
        known != files.end() && Stamp(real, stamp) && known->second.seconds == stamp.seconds &&
        known->second.nanoseconds == stamp.nanoseconds && known->second.size == stamp.size)
        return fits(known->second.picture.Width(), known->second.picture.Height());
    QImageReader header(QString::fromStdString(real));
    header.setDecideFormatFromContent(true);
    const QSize size = header.size();
    return size.isValid() && fits(size.width(), size.height());
}

} // namespace

std::optional<Picture> Picture::LoadShared(const std::string& path) {
    SharedFile unshared;
    const SharedFile* file = SharedFileOf(path, unshared);
    if (!file) return std::nullopt;
    return file->picture;
}

std::optional<Picture> Picture::LoadShared(const std::string& path, Colour key, bool& seeThrough) {
    seeThrough = false;
    SharedFile unshared;
    SharedFile* file = SharedFileOf(path, unshared);
    if (!file) return std::nullopt;
    if (file->seeThrough.empty()) return file->picture;
    seeThrough = true;
    key = ResolveColour(key);
    auto known = file->keyed.find(key);
    if (known == file->keyed.end()) {
        std::erase_if(file->keyed, [](const auto& k) { return k.second && !k.second->PixelsShared(); });
        std::optional<Picture> painted;
        if (!SeeThroughShows(file->picture, file->seeThrough, key))
            painted = PaintedSeeThrough(file->picture, file->seeThrough, key);
        known = file->keyed.emplace(key, std::move(painted)).first;
    }
    return known->second ? *known->second : file->picture;
}

std::optional<Picture> Picture::LoadWithin(const std::string& path, int maxSide) {
    const std::optional<std::string> real = RealPathOf(path);
    if (!real) return std::nullopt;
    // Most files are small enough: they are decoded once for everyone who shows them.
    if (FitsWithin(*real, maxSide)) return LoadShared(path);
    std::optional<Decoded> decoded = Decode(path, maxSide);
    if (!decoded) return std::nullopt;
    return std::move(decoded->picture);
}

std::optional<Picture> Picture::LoadWithin(const std::string& path, int maxSide, Colour key,
                                           bool& seeThrough) {
    seeThrough = false;
    const std::optional<std::string> real = RealPathOf(path);
    if (!real) return std::nullopt;
    if (FitsWithin(*real, maxSide)) return LoadShared(path, key, seeThrough);
    std::optional<Decoded> decoded = Decode(path, maxSide);
    if (!decoded) return std::nullopt;
    if (decoded->seeThrough.empty()) return std::move(decoded->picture);
    seeThrough = true;
    key = ResolveColour(key);
    if (SeeThroughShows(decoded->picture, decoded->seeThrough, key)) return std::move(decoded->picture);
    return PaintedSeeThrough(decoded->picture, decoded->seeThrough, key);
}

void Picture::ForgetShared() {
    SharedFiles().clear();
}

Picture::LookScope::LookScope() {
    ++LooksInScope().depth;
}

Picture::LookScope::~LookScope() {
    Looks& looks = LooksInScope();
    if (--looks.depth > 0) return;
    looks.paths.clear();
    looks.stamps.clear();
}

bool Picture::PixelsShared() const {
    return !impl_->image.isNull() && !impl_->image.isDetached();
}

std::int64_t Picture::Identity() const {
    return impl_->image.cacheKey();
}

bool Picture::SaveAsPng(const std::string& fileName) const {
    if (IsEmpty()) return false;
    return impl_->image.save(QString::fromUtf8(fileName.c_str()), "PNG");
}

Colour Picture::GetPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) return kNoPixel;
    return ColourOf(Row(y)[x]);
}

void Picture::SetPixel(int x, int y, Colour c) {
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) return;
    Row(y)[x] = PixelOf(c);
}

bool Picture::SamePixels(const Picture& other) const {
    if (Width() != other.Width() || Height() != other.Height()) return false;
    for (int y = 0; y < Height(); ++y)
        if (std::memcmp(Row(y), other.Row(y), static_cast<std::size_t>(Width()) * 4) != 0) return false;
    return true;
}

const std::uint32_t* Picture::Row(int y) const {
    return reinterpret_cast<const std::uint32_t*>(impl_->image.constScanLine(y));
}
std::uint32_t* Picture::Row(int y) {
    return reinterpret_cast<std::uint32_t*>(impl_->image.scanLine(y));
}

const std::uint32_t* Picture::Bits() const {
    return reinterpret_cast<const std::uint32_t*>(impl_->image.constBits());
}
std::uint32_t* Picture::Bits() {
    return reinterpret_cast<std::uint32_t*>(impl_->image.bits());
}
int Picture::Stride() const {
    return static_cast<int>(impl_->image.bytesPerLine() / 4);
}

void Picture::Resize(int width, int height, Colour fill) {
    width = ClampSide(width);
    height = ClampSide(height);
    if (width == Width() && height == Height()) return;
    Picture resized(width, height, fill);
    resized.Copy(0, 0, Width(), Height(), *this, 0, 0);
    *this = std::move(resized);
}

void Picture::Fill(Colour c) {
    if (!IsEmpty()) impl_->image.fill(ToQColor(c));
}

void Picture::FillRect(int x, int y, int width, int height, Colour c) {
    int x1 = std::max(x, 0), y1 = std::max(y, 0);
    int x2 = std::min(x + width, Width()), y2 = std::min(y + height, Height());
    if (x1 >= x2 || y1 >= y2) return;
    const std::uint32_t p = PixelOf(c);
    // The bits are fetched once: each row's own fetch checks whether the picture must be copied
    // first, which costs more than filling a short row.
    std::uint32_t* bits = Bits();
    const int stride = Stride();
    for (int row = y1; row < y2; ++row) {
        std::uint32_t* line = bits + static_cast<std::ptrdiff_t>(row) * stride;
        std::fill(line + x1, line + x2, p);
    }
}

void Picture::DrawLine(int x1, int y1, int x2, int y2, Colour c) {
    if (IsEmpty()) return;
    QPainter painter(&impl_->image);
    painter.setPen(QPen(ToQColor(c), 1));
    painter.drawLine(x1, y1, x2, y2);
}

void Picture::Copy(int dx, int dy, int width, int height, const Picture& src, int sx, int sy, RasterOp op) {
    if (!ClipBlock(dx, dy, width, height, sx, sy, src.Width(), src.Height(), Width(), Height())) return;
    if (&src == this) {
        // A block moved within one picture may overlap itself: move it through a copy.
        Picture copy(width, height);
        copy.Copy(0, 0, width, height, src, sx, sy);
        Copy(dx, dy, width, height, copy, 0, 0, op);
        return;
    }
    const std::uint32_t* srcBits = src.Bits();
    std::uint32_t* destBits = Bits();
    const int srcStride = src.Stride(), destStride = Stride();
    for (int row = 0; row < height; ++row) {
        const std::uint32_t* s = srcBits + static_cast<std::ptrdiff_t>(sy + row) * srcStride + sx;
        std::uint32_t* d = destBits + static_cast<std::ptrdiff_t>(dy + row) * destStride + dx;
        switch (op) {
        case RasterOp::Copy:
            std::memcpy(d, s, static_cast<std::size_t>(width) * 4);
            break;
        case RasterOp::And:
            for (int i = 0; i < width; ++i)
                d[i] &= s[i];
            break;
        case RasterOp::Or:
            for (int i = 0; i < width; ++i)
                d[i] |= s[i];
            break;
        }
    }
}

void Picture::CopyColourKey(int dx, int dy, int width, int height, const Picture& src, int sx, int sy,
                            Colour key) {
    if (!ClipBlock(dx, dy, width, height, sx, sy, src.Width(), src.Height(), Width(), Height())) return;
    if (&src == this) {
        Picture copy(width, height);
        copy.Copy(0, 0, width, height, src, sx, sy);
        CopyColourKey(dx, dy, width, height, copy, 0, 0, key);
        return;
    }
    std::uint32_t k = PixelOf(key);
    for (int row = 0; row < height; ++row) {
        const std::uint32_t* s = src.Row(sy + row) + sx;
        std::uint32_t* d = Row(dy + row) + dx;
        for (int i = 0; i < width; ++i)
            if (s[i] != k) d[i] = s[i];
    }
}

void Picture::Stretch(int dx, int dy, int dw, int dh, const Picture& src, int sx, int sy, int sw, int sh,
                      StretchMode mode) {
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0 || src.IsEmpty() || IsEmpty()) return;
    dw = ClampSide(dw);
    dh = ClampSide(dh);
    if (mode == StretchMode::Halftone) {
        QImage block = src.impl_->image.copy(sx, sy, sw, sh);
        QImage scaled = block.scaled(dw, dh, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        Copy(dx, dy, dw, dh, PictureAccess::FromImage(scaled), 0, 0);
        return;
    }
    const Picture source = src; // keeps the source's pixels if the destination is the same picture
    // Columns map onto the source in order, so the ones that land inside both pictures are one run.
    std::vector<int> columns;
    columns.reserve(static_cast<std::size_t>(dw));
    int first = -1;
    for (int i = 0; i < dw; ++i) {
        const int x = dx + i;
        const int srcX = sx + static_cast<int>(static_cast<long long>(i) * sw / dw);
        if (x < 0 || x >= Width() || srcX < 0 || srcX >= source.Width()) {
            if (first >= 0) break;
            continue;
        }
        if (first < 0) first = i;
        columns.push_back(srcX);
    }
    if (columns.empty()) return;
    const std::uint32_t* srcBits = source.Bits();
    std::uint32_t* destBits = Bits();
    const int srcStride = source.Stride(), destStride = Stride();
    for (int j = 0; j < dh; ++j) {
        const int y = dy + j;
        const int srcY = sy + static_cast<int>(static_cast<long long>(j) * sh / dh);
        if (y < 0 || y >= Height() || srcY < 0 || srcY >= source.Height()) continue;
        const std::uint32_t* s = srcBits + static_cast<std::ptrdiff_t>(srcY) * srcStride;
        std::uint32_t* d = destBits + static_cast<std::ptrdiff_t>(y) * destStride + dx + first;
        for (std::size_t i = 0; i < columns.size(); ++i)
            d[i] = s[columns[i]];
    }
}

void Picture::DrawText(int x, int y, const std::string& text, const FontSpec& font, Colour c, bool rotated) {
    if (IsEmpty() || text.empty()) return;
    QPainter painter(&impl_->image);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    QFont qfont = ToQFont(font);
    painter.setFont(qfont);
    painter.setPen(ToQColor(c));
    int ascent = QFontMetrics(qfont).ascent();
    painter.translate(x, y);
    if (rotated) painter.rotate(-90);
    painter.drawText(QPointF(0, ascent), ToQString(text));
}

Colour ResolveColour(Colour c) {
    if ((c & kSystemColourFlag) == 0) return c & 0xFFFFFFu;
    QPalette palette = QApplication::palette();
    QPalette::ColorRole role = QPalette::Window;
    switch (c & 0xFF) {
    case 5:
        role = QPalette::Base;
        break; // window background
    case 8:
        role = QPalette::Text;
        break; // window text
    case 13:
        role = QPalette::Highlight;
        break; // selected items
    case 14:
        role = QPalette::HighlightedText;
        break;
    case 15:
        role = QPalette::Button;
        break; // button face
    case 16:
        role = QPalette::Dark;
        break; // button shadow
    case 18:
        role = QPalette::ButtonText;
        break; // button text
    case 20:
        role = QPalette::Light;
        break; // button highlight
    case 21:
        role = QPalette::Shadow;
        break; // 3-D dark shadow
    case 22:
        role = QPalette::Midlight;
        break; // 3-D light
    case 23:
        role = QPalette::ToolTipText;
        break;
    case 24:
        role = QPalette::ToolTipBase;
        break;
    default:
        break;
    }
    QColor colour = palette.color(role);
    return MakeColour(colour.red(), colour.green(), colour.blue());
}

} // namespace platform
