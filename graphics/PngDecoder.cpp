#include "PngDecoder.h"

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

namespace korvane {

namespace {

constexpr std::size_t kSignatureBytes = 8;
constexpr int kChannels = 4; // red, green, blue, alpha
constexpr png_uint_32 kOpaque16 = 0xFFFF;

// What the read and error callbacks share with the decoder. Plain data only: libpng leaves a
// failing call by longjmp, past any destructor.
struct ReadState {
    const std::uint8_t* file;
    std::size_t size;
    std::size_t consumed; // the bytes libpng has taken so far
    bool cutShort;        // libpng asked for more bytes than the file has
    char message[200];    // libpng's words for the error that stopped it
};

[[noreturn]] void OnError(png_structp png, png_const_charp text) {
    auto* state = static_cast<ReadState*>(png_get_error_ptr(png));
    std::snprintf(state->message, sizeof state->message, "%s", text);
    png_longjmp(png, 1);
}

// A warning leaves the picture whole (an ancillary chunk libpng does not like, say): ignored.
void OnWarning(png_structp, png_const_charp) {}

void ReadBytes(png_structp png, png_bytep out, png_size_t length) {
    auto* state = static_cast<ReadState*>(png_get_io_ptr(png));
    if (length > state->size - state->consumed) {
        state->cutShort = true;
        png_error(png, "the file is cut short");
    }
    std::memcpy(out, state->file + state->consumed, length);
    state->consumed += length;
}

struct Header {
    png_uint_32 width;
    png_uint_32 height;
    int bitDepth;
    int colourType;
    int paletteEntries;
};

// Destroys libpng's structures however the decoder is left.
class PngReadGuard {
public:
    PngReadGuard() = default;
    PngReadGuard(const PngReadGuard&) = delete;
    PngReadGuard& operator=(const PngReadGuard&) = delete;
    ~PngReadGuard() { png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr); }

    png_structp png = nullptr;
    png_infop info = nullptr;
};

// The chunks up to the picture data, and the header's fields. False when libpng stops.
bool ReadHeader(png_structp png, png_infop info, Header* header) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_read_info(png, info);
    png_get_IHDR(png, info, &header->width, &header->height, &header->bitDepth, &header->colourType,
                 nullptr, nullptr, nullptr);
    png_colorp palette = nullptr;
    header->paletteEntries = 0;
    if (png_get_PLTE(png, info, &palette, &header->paletteEntries) == 0) {
        header->paletteEntries = 0;
    }
    return true;
}

// The rows of the picture, after the transformations that give one byte per palette index or
// four samples of the file's depth per pixel, and the chunks up to IEND. False when libpng
// stops.
bool ReadRows(png_structp png, png_infop info, const Header* header, png_bytep* rows,
              png_size_t rowBytes) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    if (header->colourType == PNG_COLOR_TYPE_PALETTE) {
        png_set_packing(png); // 1, 2 and 4-bit indices to a byte each
    } else {
        png_set_expand(png); // low-depth grey to 8 bits, the tRNS colour to alpha
        if ((header->colourType & PNG_COLOR_MASK_COLOR) == 0) {
            png_set_gray_to_rgb(png);
        }
        if ((header->colourType & PNG_COLOR_MASK_ALPHA) == 0 &&
            png_get_valid(png, info, PNG_INFO_tRNS) == 0) {
            png_set_add_alpha(png, kOpaque16, PNG_FILLER_AFTER);
        }
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != rowBytes) {
        png_error(png, "unexpected row layout");
    }
    png_read_image(png, rows);
    png_read_end(png, info);
    return true;
}

std::uint32_t BigEndian(std::span<const std::uint8_t> bytes, std::size_t at) {
    return std::uint32_t{bytes[at]} << 24U | std::uint32_t{bytes[at + 1]} << 16U |
           std::uint32_t{bytes[at + 2]} << 8U | bytes[at + 3];
}

std::string CountText(std::size_t count, const char* thing) {
    return std::to_string(count) + " " + thing + (count == 1 ? "" : "s");
}

// The file's chunks walked from the signature to IEND before libpng decodes anything, so that
// a damaged chunk is named by its CRC (libpng would stumble over the damaged data first), and
// so that a file cut short or with bytes after IEND is refused whatever else it holds. Why the
// file is refused, or nothing; a chunk length libpng refuses itself ends the walk.
std::optional<std::string> ChunkProblem(std::span<const std::uint8_t> file) {
    constexpr std::uint32_t kLargestLength = 0x7FFFFFFFU;
    constexpr std::size_t kFraming = 12; // length, type, CRC
    std::size_t at = kSignatureBytes;
    while (true) {
        if (file.size() - at < kFraming) {
            return "it is cut short (its PNG data ends before the IEND chunk)";
        }
        const std::uint32_t length = BigEndian(file, at);
        if (length > kLargestLength) {
            return std::nullopt;
        }
        if (file.size() - at - kFraming < length) {
            return "it is cut short (its PNG data ends before the IEND chunk)";
        }
        const std::span<const std::uint8_t> typeAndData = file.subspan(at + 4, 4 + length);
        const uLong crc = crc32(0, typeAndData.data(), static_cast<uInt>(typeAndData.size()));
        if (crc != BigEndian(file, at + 8 + length)) {
            std::string type;
            for (std::size_t i = 0; i < 4; ++i) {
                const auto letter = static_cast<char>(typeAndData[i]);
                type += std::isalpha(static_cast<unsigned char>(letter)) != 0 ? letter : '?';
            }
            return "its PNG data is damaged or malformed (" + type + ": CRC error)";
        }
        at += kFraming + length;
        if (std::equal(typeAndData.begin(), typeAndData.begin() + 4, "IEND")) {
            break;
        }
    }
    if (at != file.size()) {
        return "it has " + CountText(file.size() - at, "byte") +
               " after the end of its PNG data (the IEND chunk)";
    }
    return std::nullopt;
}

PngDecoding Refusal(std::string why) {
    PngDecoding decoding;
    decoding.message = std::move(why);
    return decoding;
}

} // namespace

PngDecoding DecodePng(std::span<const std::uint8_t> file, int width, int height) {
    if (file.empty()) {
        return Refusal("it is empty");
    }
    const std::size_t signatureBytes = std::min(file.size(), kSignatureBytes);
    if (png_sig_cmp(file.data(), 0, signatureBytes) != 0) {
        return Refusal("it is not a PNG file");
    }
    if (file.size() < kSignatureBytes) {
        return Refusal("it is cut short (it ends inside the PNG signature)");
    }
    if (const std::optional<std::string> problem = ChunkProblem(file)) {
        return Refusal(*problem);
    }
    ReadState state{file.data(), file.size(), kSignatureBytes, false, {}};
    PngReadGuard guard;
    guard.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &state, OnError, OnWarning);
    if (guard.png == nullptr || (guard.info = png_create_info_struct(guard.png)) == nullptr) {
        return Refusal("there is not enough memory to read it");
    }
    png_set_read_fn(guard.png, &state, ReadBytes);
    png_set_sig_bytes(guard.png, static_cast<int>(kSignatureBytes));
    // Any size the format allows is read from the header, so that a picture of the wrong size
    // is refused as such; no pixels are read unless it is the sheet's.
    png_set_user_limits(guard.png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
    // A CRC error in any chunk, critical or ancillary, stops the reading.
    png_set_crc_action(guard.png, PNG_CRC_ERROR_QUIT, PNG_CRC_ERROR_QUIT);

    const auto failure = [&state]() {
        if (state.cutShort) {
            return Refusal("it is cut short (its PNG data ends before the IEND chunk)");
        }
        return Refusal(std::string("its PNG data is damaged or malformed (") + state.message + ")");
    };
    Header header{};
    if (!ReadHeader(guard.png, guard.info, &header)) {
        return failure();
    }
    PngDecoding decoding;
    PlainPicture& picture = decoding.picture;
    picture.width = static_cast<int>(std::min<png_uint_32>(header.width, INT_MAX));
    picture.height = static_cast<int>(std::min<png_uint_32>(header.height, INT_MAX));
    if (header.width != static_cast<png_uint_32>(width) ||
        header.height != static_cast<png_uint_32>(height)) {
        decoding.outcome = PngOutcome::OtherSize;
        return decoding;
    }
    picture.byIndex = header.colourType == PNG_COLOR_TYPE_PALETTE;
    picture.paletteEntries = picture.byIndex ? header.paletteEntries : 0;
    picture.sampleDepth = !picture.byIndex && header.bitDepth == 16 ? 16 : 8;
    const std::size_t sampleBytes = picture.sampleDepth == 16 ? 2 : 1;
    const std::size_t rowSamples =
        static_cast<std::size_t>(width) * (picture.byIndex ? 1 : std::size_t{kChannels});
    const std::size_t rowBytes = rowSamples * sampleBytes;
    std::vector<png_byte> bytes(rowBytes * static_cast<std::size_t>(height));
    std::vector<png_bytep> rows(static_cast<std::size_t>(height));
    for (std::size_t y = 0; y < rows.size(); ++y) {
        rows[y] = bytes.data() + y * rowBytes;
    }
    if (!ReadRows(guard.png, guard.info, &header, rows.data(), rowBytes)) {
        return failure();
    }
    if (state.consumed != file.size()) {
        return Refusal("it has " + CountText(file.size() - state.consumed, "byte") +
                       " after the end of its PNG data (the IEND chunk)");
    }
    picture.samples.resize(rowSamples * static_cast<std::size_t>(height));
    for (std::size_t i = 0; i < picture.samples.size(); ++i) {
        picture.samples[i] =
            sampleBytes == 2
                ? static_cast<std::uint16_t>(unsigned{bytes[2 * i]} << 8U | bytes[2 * i + 1])
                : bytes[i];
    }
    decoding.outcome = PngOutcome::Read;
    return decoding;
}

} // namespace korvane
