#include "Woff2.h"

#include <woff2/encode.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Debian's libwoff2 reports every encoding on standard error ("Compressed
// 440282 to 230506."), which is ours to say what happened on: the report is
// sent to /dev/null while the encoder runs.
class StandardErrorSilenced
{
public:
    StandardErrorSilenced() : m_saved(::dup(STDERR_FILENO))
    {
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (m_saved >= 0 && null >= 0)
            ::dup2(null, STDERR_FILENO);
        if (null >= 0)
            ::close(null);
    }
    ~StandardErrorSilenced()
    {
        if (m_saved >= 0) {
            ::dup2(m_saved, STDERR_FILENO);
            ::close(m_saved);
        }
    }
    StandardErrorSilenced(const StandardErrorSilenced &) = delete;
    StandardErrorSilenced &operator=(const StandardErrorSilenced &) = delete;

private:
    int m_saved;
};

} // namespace

QByteArray encodeWoff2(ByteView font)
{
    if (font.isNull())
        return {};
    const size_t bound = woff2::MaxWOFF2CompressedSize(font.data(), font.size());
    QByteArray encoded(qsizetype(bound), Qt::Uninitialized);
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
