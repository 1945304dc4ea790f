#include "FileWrites.h"

#include <cerrno>
#include <unistd.h>

namespace {

// Writes all the bytes through put(data, length, done), a write(2) or
// pwrite(2) of the rest, until they are written or it fails.
template <typename Put>
int writeAll(const char *data, quint64 size, Put put)
{
    for (quint64 done = 0; done < size;) {
        const ssize_t written = put(data + done, size_t(size - done), done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return errno;
        done += quint64(written);
    }
    return 0;
}

int writeAll(int out, const char *data, quint64 size)
{
    return writeAll(data, size, [out](const char *rest, size_t length, quint64) { return ::write(out, rest, length); });
}

int copyThroughBuffer(int in, off_t offset, quint64 length, int out)
{
    char buffer[1 << 16];
    while (length > 0) {
        const ssize_t got = ::pread(in, buffer, size_t(qMin<quint64>(length, sizeof buffer)), offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return errno;
        if (got == 0)
            return ENODATA;
        if (int error = writeAll(out, buffer, quint64(got)))
            return error;
        offset += got;
        length -= quint64(got);
    }
    return 0;
}

} // namespace

int appendBytes(int to, const char *data, quint64 size)
{
    return to < 0 ? EBADF : writeAll(to, data, size);
}

int writeBytesAt(int to, quint64 offset, const char *data, quint64 size)
{
    if (to < 0)
        return EBADF;
    return writeAll(data, size, [to, offset](const char *rest, size_t length, quint64 done) {
        return ::pwrite(to, rest, length, off_t(offset + done));
    });
}

int appendFileRange(int in, quint64 offset, quint64 length, int out)
{
    if (in < 0 || out < 0)
        return EBADF;
    loff_t position = loff_t(offset);
    while (length > 0) {
        const ssize_t copied = ::copy_file_range(in, &position, out, nullptr, size_t(length), 0);
        if (copied > 0) {
            length -= quint64(copied);
            continue;
        }
        if (copied == 0)
            return ENODATA;
        if (errno == EINTR)
            continue;
        // Kernels or file systems that cannot copy between these files.
        if (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)
            return copyThroughBuffer(in, off_t(position), length, out);
        return errno;
    }
    return 0;
}
