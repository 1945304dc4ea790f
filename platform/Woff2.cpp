#include "Woff2.h"

#include <woff2/encode.h>

#include <fcntl.h>
#include <unistd.h>

#include <mutex>

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

QByteArray encodeWoff2(ByteView font)
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
        encodedWhole = woff2::ConvertTTFToWOFF2(font.data(), font.size(),
                                                reinterpret_cast<uint8_t *>(encoded.data()), &length);
    }
    if (!encodedWhole || length > bound)
        return {};
    encoded.resize(qsizetype(length));
    return encoded;
}
