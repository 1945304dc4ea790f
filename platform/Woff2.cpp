#include "Woff2.h"

#include <woff2/decode.h>
#include <woff2/encode.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <mutex>
#include <optional>
#include <string>

namespace {

// Debian's libwoff2 reports every encoding on standard error ("Compressed
// 440282 to 230506."), which is ours to say what happened on: the report is
// sent to /dev/null while the encoder runs. Encoders run on several threads
// at once: the first to start silences standard error and the last to
// finish gives it back, so that none restores another's /dev/null.
class StandardErrorSilenced
{
public:
    StandardErrorSilenced()
    {
        const std::lock_guard<std::mutex> lock(s_mutex);
        if (s_silencers++ > 0)
            return;
        s_saved = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (s_saved >= 0 && null >= 0)
            ::dup2(null, STDERR_FILENO);
        if (null >= 0)
            ::close(null);
    }
    ~StandardErrorSilenced()
    {
        const std::lock_guard<std::mutex> lock(s_mutex);
        if (--s_silencers > 0 || s_saved < 0)
            return;
        ::dup2(s_saved, STDERR_FILENO);
        ::close(s_saved);
        s_saved = -1;
    }
    StandardErrorSilenced(const StandardErrorSilenced &) = delete;
    StandardErrorSilenced &operator=(const StandardErrorSilenced &) = delete;

private:
    static inline std::mutex s_mutex;
    static inline int s_silencers = 0;
    static inline int s_saved = -1;
};

// A WOFF2 UIntBase128: at most five bytes, no leading zeros, no more than 32
// bits; false otherwise.
bool readBase128(ByteView bytes, quint64 *offset, quint32 *value)
{
    quint32 accumulated = 0;
    for (int i = 0; i < 5; ++i) {
        if (!bytes.contains(*offset, 1))
            return false;
        const uchar byte = bytes.data()[*offset];
        ++*offset;
        if ((i == 0 && byte == 0x80) || (accumulated & 0xFE000000))
            return false;
        accumulated = (accumulated << 7) | (byte & 0x7F);
        if ((byte & 0x80) == 0) {
            *value = accumulated;
            return true;
        }
    }
    return false;
}

// What the table directory says decoding takes: the larger of the tables'
// lengths in the font and in the compressed stream, added up (the decoder
// sets aside the whole stream before it writes anything). Nothing when the
// directory cannot be read; the decoder refuses such a file itself.
std::optional<quint64> directoryDecodedBytes(ByteView woff2)
{
    constexpr quint64 kHeaderSize = 48;
    constexpr quint8 kTagGiven = 0x3F;
    constexpr quint8 kGlyfIndex = 10, kLocaIndex = 11;
    quint16 numTables = 0;
    if (!woff2.readU16(12, &numTables))
        return std::nullopt;
    quint64 offset = kHeaderSize, fontBytes = 0, streamBytes = 0;
    for (quint16 t = 0; t < numTables; ++t) {
        if (!woff2.contains(offset, 1))
            return std::nullopt;
        const quint8 flags = woff2.data()[offset++];
        const quint8 tagIndex = flags & 0x3F, version = flags >> 6;
        if (tagIndex == kTagGiven)
            offset += 4;
        quint32 origLength = 0, transformLength = 0;
        if (!readBase128(woff2, &offset, &origLength))
            return std::nullopt;
        // glyf and loca are transformed unless their version is 3; other
        // tables only when it is not 0.
        const bool glyfOrLoca = tagIndex == kGlyfIndex || tagIndex == kLocaIndex;
        const bool transformed = glyfOrLoca ? version != 3 : version != 0;
        if (transformed && !readBase128(woff2, &offset, &transformLength))
            return std::nullopt;
        fontBytes += origLength;
        streamBytes += transformed ? transformLength : origLength;
    }
    return std::max(fontBytes, streamBytes);
}

} // namespace

QByteArray encodeWoff2(ByteView font, int brotliQuality)
{
    if (font.isNull())
        return {};
    const size_t bound = woff2::MaxWOFF2CompressedSize(font.data(), font.size());
    // Zeroed: the encoder pads its output to four bytes without writing the
    // padding, which would otherwise carry whatever the memory held.
    QByteArray encoded(qsizetype(bound), '\0');
    size_t length = bound;
    bool encodedWhole = false;
    {
        const StandardErrorSilenced silenced;
        woff2::WOFF2Params params;
        params.brotli_quality = brotliQuality;
        encodedWhole = woff2::ConvertTTFToWOFF2(font.data(), font.size(),
                                                reinterpret_cast<uint8_t *>(encoded.data()), &length, params);
    }
    if (!encodedWhole || length > bound)
        return {};
    encoded.resize(qsizetype(length));
    return encoded;
}

QByteArray decodeWoff2(ByteView woff2, Woff2Refusal *refusal)
{
    Woff2Refusal ownRefusal;
    Woff2Refusal &why = refusal ? *refusal : ownRefusal;
    why = Woff2Refusal::None;
    // The header's totalSfntSize: what the encoder says the font takes, 0
    // when the header is cut short. It only sizes the buffer; the writes
    // themselves are capped too.
    const size_t announced = woff2.isNull() ? 0 : woff2::ComputeWOFF2FinalSize(woff2.data(), woff2.size());
    const std::optional<quint64> tables = directoryDecodedBytes(woff2);
    if (announced > kMaxDecodedWoff2Bytes || (tables && *tables > kMaxDecodedWoff2Bytes)) {
        why = Woff2Refusal::TooLarge;
        return {};
    }
    std::string decoded;
    decoded.reserve(announced);
    woff2::WOFF2StringOut out(&decoded);
    out.SetMaxSize(kMaxDecodedWoff2Bytes);
    if (woff2.isNull() || !woff2::ConvertWOFF2ToTTF(woff2.data(), woff2.size(), &out) || out.Size() == 0
        || out.Size() > decoded.size()) {
        why = Woff2Refusal::Damaged;
        return {};
    }
    return QByteArray(decoded.data(), qsizetype(out.Size()));
}
