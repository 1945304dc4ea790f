#include "FileRangeCopy.h"

#include <cerrno>
#include <unistd.h>

namespace {

bool copyThroughBuffer(int in, off_t offset, quint64 length, int out)
{
    char buffer[1 << 16];
    while (length > 0) {
        const ssize_t got = ::pread(in, buffer, size_t(qMin<quint64>(length, sizeof buffer)), offset);
        if (got <= 0)
            return false;
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(out, buffer + done, size_t(got - done));
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0)
                return false;
            done += put;
        }
        offset += got;
        length -= quint64(got);
    }
    return true;
}

} // namespace

bool appendFileRange(QFile &from, quint64 offset, quint64 length, QFile &to)
{
    const int in = from.handle(), out = to.handle();
    if (in < 0 || out < 0)
        return false;
    loff_t position = loff_t(offset);
    while (length > 0) {
        const ssize_t copied = ::copy_file_range(in, &position, out, nullptr, size_t(length), 0);
        if (copied > 0) {
            length -= quint64(copied);
            continue;
        }
        if (copied < 0 && errno == EINTR)
            continue;
        if (copied == 0)
            return false; // the source ended early
        // Kernels or file systems that cannot copy between these files.
        if (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)
            return copyThroughBuffer(in, off_t(position), length, out);
        return false;
    }
    return true;
}
