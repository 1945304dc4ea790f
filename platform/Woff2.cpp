#include "Woff2.h"

#include <woff2/decode.h>
#include <woff2/encode.h>

#include <fcntl.h>
#include <unistd.h>

#include <mutex>
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
    if (announced > kMaxDecodedWoff2Bytes) {
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
