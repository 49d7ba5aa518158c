// GifDecoder.cpp - GIF parsing and LZW decoding on plain memory.
#include "GifDecoder.h"

#include <string.h>

#include <new>

namespace gifcore {

namespace {

constexpr uint8_t kExtensionIntroducer = 0x21;
constexpr uint8_t kImageSeparator = 0x2C;
constexpr uint8_t kTrailer = 0x3B;
constexpr uint8_t kLabelPlainText = 0x01;
constexpr uint8_t kLabelGraphicControl = 0xF9;
constexpr uint8_t kLabelComment = 0xFE;
constexpr uint8_t kLabelApplication = 0xFF;

constexpr size_t kSignatureSize = 6;
constexpr size_t kScreenDescriptorSize = 7;
constexpr size_t kImageDescriptorSize = 9;  // after the separator
constexpr int kMaxCodeSize = 12;

// Colour table entries for a packed size field.
uint32_t TableCount(uint8_t packed) { return 2u << (packed & 7); }

uint16_t U16At(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

}  // namespace

// ---- RowPlacer --------------------------------------------------------------

RowPlacer::RowPlacer(int height, bool interlaced) : height_(height), interlaced_(interlaced) {}

int RowPlacer::Next()
{
    if (!interlaced_)
        return row_ < height_ ? row_++ : -1;
    static const int kStart[4] = {0, 4, 2, 1};
    static const int kStep[4] = {8, 8, 4, 2};
    while (pass_ < 4) {
        if (row_ < height_) {
            const int row = row_;
            row_ += kStep[pass_];
            return row;
        }
        if (++pass_ < 4)
            row_ = kStart[pass_];
    }
    return -1;
}

// ---- LzwDecoder -------------------------------------------------------------

bool LzwDecoder::LoadSubBlock()
{
    if (inputEnded_ || position_ >= size_) {
        inputEnded_ = true;
        return false;
    }
    const size_t length = data_[position_++];
    if (length == 0) {  // the data's terminator
        inputEnded_ = true;
        return false;
    }
    if (length > size_ - position_) {  // cut off: nothing more can be read
        position_ = size_;
        inputEnded_ = true;
        return false;
    }
    blockLeft_ = length;
    return true;
}

int LzwDecoder::ReadCode()
{
    while (bitsInBuffer_ < codeSize_) {
        if (blockLeft_ == 0 && !LoadSubBlock())
            return -1;
        bitBuffer_ |= static_cast<uint32_t>(data_[position_++]) << bitsInBuffer_;
        bitsInBuffer_ += 8;
        --blockLeft_;
    }
    const int code = static_cast<int>(bitBuffer_ & ((1u << codeSize_) - 1));
    bitBuffer_ >>= codeSize_;
    bitsInBuffer_ -= codeSize_;
    return code;
}

void LzwDecoder::FlushLine(bool partial)
{
    // Only whole lines are placed; a short last line is dropped.
    const size_t width = image_->width;
    if (!partial && lineFill_ == width) {
        const int row = rows_->Next();
        if (row < 0)
            rowsDone_ = true;
        else
            memcpy(&image_->pixels[static_cast<size_t>(row) * image_->stride], line_.data(), width);
    }
    lineFill_ = 0;
}

inline void LzwDecoder::PutByte(uint8_t value)
{
    if (rowsDone_)
        return;
    line_[lineFill_++] = value;
    if (lineFill_ == image_->width)
        FlushLine(false);
}

int LzwDecoder::Decode(const uint8_t* data, size_t size, size_t* position, Image& image)
{
    data_ = data;
    size_ = size;
    position_ = *position;
    blockLeft_ = 0;
    inputEnded_ = false;
    bitBuffer_ = 0;
    bitsInBuffer_ = 0;
    image_ = &image;
    lineFill_ = 0;
    rowsDone_ = false;

    if (position_ >= size_)
        return kLzwReadFailure;
    const int minimumSize = data_[position_++];
    *position = position_;
    if (minimumSize < 2 || minimumSize > 9)
        return kLzwBadCodeSize;
    if (image.width == 0 || image.height == 0 ||
        image.pixels.size() < static_cast<size_t>(image.stride) * image.height)
        return kLzwOutOfMemory;

    const int clearCode = 1 << minimumSize;
    const int endCode = clearCode + 1;
    const int firstFree = clearCode + 2;
    codeSize_ = minimumSize + 1;
    int nextSlot = firstFree;
    int topSlot = 1 << codeSize_;

    try {
        line_.assign(static_cast<size_t>(image.width) + 1, 0);
    } catch (const std::bad_alloc&) {
        return kLzwOutOfMemory;
    }
    RowPlacer rows(image.height, image.interlaced);
    rows_ = &rows;

    int result = 0;
    int oldCode = -1;  // none yet: the first code after a clear is a root
    uint8_t firstChar = 0;
    for (;;) {
        int code = ReadCode();
        if (code < 0 || code == endCode)
            break;
        if (code == clearCode) {
            codeSize_ = minimumSize + 1;
            nextSlot = firstFree;
            topSlot = 1 << codeSize_;
            oldCode = -1;
            continue;
        }
        if (oldCode < 0) {
            // The first code of a table: a root (anything else reads as 0).
            if (code >= nextSlot)
                code = 0;
            oldCode = code;
            firstChar = static_cast<uint8_t>(code);
            PutByte(firstChar);
            continue;
        }

        const int inCode = code;
        size_t depth = 0;
        if (code >= nextSlot) {
            if (code > nextSlot) {  // refers to an entry that cannot exist yet
                result = kLzwBadCode;
                break;
            }
            stack_[depth++] = firstChar;
            code = oldCode;
        }
        while (code >= firstFree) {
            if (depth >= sizeof stack_) {  // cannot happen with a sound table
                result = kLzwBadCode;
                break;
            }
            stack_[depth++] = suffix_[code];
            code = prefix_[code];
        }
        if (result < 0)
            break;
        firstChar = static_cast<uint8_t>(code);
        stack_[depth++] = firstChar;

        if (nextSlot < topSlot) {
            suffix_[nextSlot] = firstChar;
            prefix_[nextSlot] = static_cast<uint16_t>(oldCode);
            ++nextSlot;
        }
        if (nextSlot >= topSlot && codeSize_ < kMaxCodeSize) {
            topSlot <<= 1;
            ++codeSize_;
        }
        oldCode = inCode;

        while (depth > 0)
            PutByte(stack_[--depth]);
    }
    FlushLine(true);
    rows_ = nullptr;

    // Step over whatever is left of the image data up to its terminator.
    if (!inputEnded_) {
        position_ += blockLeft_;
        while (position_ < size_) {
            const size_t length = data_[position_++];
            if (length == 0)
                break;
            position_ = length > size_ - position_ ? size_ : position_ + length;
        }
    }
    *position = position_;
    return result;
}

// ---- Reader -----------------------------------------------------------------

Reader::Reader() = default;
Reader::~Reader() = default;

void Reader::Close()
{
    open_ = false;
    screen_ = ScreenInfo();
    std::vector<Rgb>().swap(globalTable_);
    std::vector<uint8_t>().swap(data_);
    position_ = 0;
}

bool Reader::Open(const uint8_t* data, size_t size, bool headerPresent)
{
    Close();
    const size_t fixed = headerPresent ? kSignatureSize + kScreenDescriptorSize : kScreenDescriptorSize;
    if (data == nullptr || size < fixed)
        return false;
    if (headerPresent &&
        memcmp(data, "GIF87a", kSignatureSize) != 0 && memcmp(data, "GIF89a", kSignatureSize) != 0)
        return false;

    const uint8_t* screen = data + (headerPresent ? kSignatureSize : 0);
    ScreenInfo info;
    info.width = U16At(screen);
    info.height = U16At(screen + 2);
    const uint8_t packed = screen[4];
    info.hasGlobalTable = (packed & 0x80) != 0;
    info.sorted = (packed & 0x08) != 0;
    size_t offset = fixed;
    try {
        if (info.hasGlobalTable) {
            info.colorResolution = static_cast<uint8_t>(((packed >> 4) & 7) + 1);
            info.globalColorCount = TableCount(packed);
            const size_t tableBytes = 3 * static_cast<size_t>(info.globalColorCount);
            if (size - offset < tableBytes)
                return false;
            globalTable_.resize(info.globalColorCount);
            memcpy(globalTable_.data(), data + offset, tableBytes);
            offset += tableBytes;
            info.backgroundIndex = screen[5];
            if (info.backgroundIndex < info.globalColorCount) {
                const Rgb& c = globalTable_[info.backgroundIndex];
                info.backgroundColor = 0x02000000u | static_cast<uint32_t>(c.blue) << 16 |
                                       static_cast<uint32_t>(c.green) << 8 | c.red;
            }
        } else {
            info.colorResolution = static_cast<uint8_t>(packed & 0x71);
        }
        data_.assign(data + offset, data + size);
    } catch (const std::bad_alloc&) {
        Close();
        return false;
    }
    static_assert(sizeof(Rgb) == 3, "colour tables are copied as bytes");
    screen_ = info;
    position_ = 0;
    open_ = true;
    return true;
}

bool Reader::ReadByte(uint8_t& value)
{
    if (position_ >= data_.size())
        return false;
    value = data_[position_++];
    return true;
}

bool Reader::ReadU16(uint16_t& value)
{
    if (position_ > data_.size() || data_.size() - position_ < 2)
        return false;
    value = U16At(&data_[position_]);
    position_ += 2;
    return true;
}

bool Reader::Skip(size_t count)
{
    if (count > data_.size() - position_)
        return false;
    position_ += count;
    return true;
}

bool Reader::SkipSubBlocks()
{
    for (;;) {
        uint8_t length = 0;
        if (!ReadByte(length))
            return false;
        if (length == 0)
            return true;
        if (!Skip(length))
            return false;
    }
}

bool Reader::ReadGraphicControl(Image& image)
{
    uint8_t blockSize = 0, packed = 0, transparentIndex = 0, terminator = 0;
    uint16_t delay = 0;
    if (!ReadByte(blockSize) || blockSize != 4)
        return false;
    if (!ReadByte(packed) || !ReadU16(delay) || !ReadByte(transparentIndex) || !ReadByte(terminator))
        return false;
    // A sub-block where the terminator belongs is stepped over like any other.
    if (terminator != 0 && (!Skip(terminator) || !SkipSubBlocks()))
        return false;
    image.transparent = (packed & 1) != 0;
    image.transparentIndex = transparentIndex;
    image.disposal = static_cast<uint8_t>((packed >> 2) & 7);
    image.delayMs = delay == 0 ? 50u : delay * 10u;
    return true;
}

bool Reader::ReadExtension(Image& image)
{
    uint8_t label = 0;
    if (!ReadByte(label))
        return false;
    switch (label) {
    case kLabelGraphicControl:
        return ReadGraphicControl(image);
    case kLabelPlainText:    // its 12-byte header is the first sub-block
    case kLabelApplication:  // so is the 11-byte identifier
    case kLabelComment:
        return SkipSubBlocks();
    default:
        return false;
    }
}

ReadResult Reader::ReadDescriptorAndPixels(Image& image)
{
    uint8_t packed = 0;
    if (!ReadU16(image.left) || !ReadU16(image.top) || !ReadU16(image.width) || !ReadU16(image.height) ||
        !ReadByte(packed))
        return ReadResult::Failed;
    static_assert(kImageDescriptorSize == 4 * 2 + 1, "descriptor layout");
    image.interlaced = (packed & 0x40) != 0;
    try {
        if (packed & 0x80) {
            const uint32_t count = TableCount(packed);
            const size_t tableBytes = 3 * static_cast<size_t>(count);
            if (data_.size() - position_ < tableBytes)
                return ReadResult::Failed;
            image.hasLocalTable = true;
            image.colors.resize(count);
            memcpy(image.colors.data(), &data_[position_], tableBytes);
            position_ += tableBytes;
        } else {
            image.colors = globalTable_;
        }
        // An empty image would have no line to decode into; a huge one is
        // refused before anything is allocated.
        if (image.width == 0 || image.height == 0)
            return ReadResult::Failed;
        image.stride = (static_cast<uint32_t>(image.width) + 3u) & ~3u;
        const uint64_t bytes = static_cast<uint64_t>(image.stride) * image.height;
        if (bytes > kMaxImageBytes)
            return ReadResult::Failed;
        image.pixels.assign(static_cast<size_t>(bytes), 0);
        if (!lzw_)
            lzw_.reset(new LzwDecoder);
    } catch (const std::bad_alloc&) {
        return ReadResult::Failed;
    }

    if (lzw_->Decode(data_.data(), data_.size(), &position_, image) < 0)
        return ReadResult::Failed;
    if (position_ < data_.size() && data_[position_] == kTrailer)
        ++position_;
    return ReadResult::Image;
}

ReadResult Reader::ReadImage(Image& out)
{
    out = Image();
    if (!open_ || position_ >= data_.size())
        return ReadResult::NoMoreImages;
    uint8_t block = 0;
    ReadByte(block);
    while (block == kExtensionIntroducer) {
        if (!ReadExtension(out)) {
            out = Image();
            return ReadResult::Failed;
        }
        if (!ReadByte(block)) {  // the data ends after a complete extension
            out = Image();
            return ReadResult::NoMoreImages;
        }
    }
    if (block != kImageSeparator) {  // the trailer, or anything unknown
        out = Image();
        return ReadResult::NoMoreImages;
    }
    const ReadResult result = ReadDescriptorAndPixels(out);
    if (result != ReadResult::Image)
        out = Image();
    return result;
}

}  // namespace gifcore
