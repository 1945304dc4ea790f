#include "BuildIdentity.h"

#include <QString>

#include <cstring>
#include <elf.h>
#include <link.h>

namespace {

// The libraries named by what their file names hold.
const char *const kSliceLibraries[] = {"libharfbuzz", "libwoff2", "libbrotli"};

bool decidesBytes(const char *path, bool isProgram)
{
    if (isProgram)
        return true;
    const char *name = std::strrchr(path, '/');
    name = name ? name + 1 : path;
    for (const char *library : kSliceLibraries) {
        if (std::strncmp(name, library, std::strlen(library)) == 0)
            return true;
    }
    return false;
}

// The build ID note in the object's PT_NOTE segments, else empty. The
// segments are the loader's mapping of the object, so every read is inside it.
QByteArray noteBuildId(const dl_phdr_info *info)
{
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr) &segment = info->dlpi_phdr[i];
        if (segment.p_type != PT_NOTE)
            continue;
        const char *at = reinterpret_cast<const char *>(info->dlpi_addr + segment.p_vaddr);
        const char *end = at + segment.p_memsz;
        const auto aligned = [](size_t size) { return (size + 3) & ~size_t(3); };
        while (size_t(end - at) >= sizeof(ElfW(Nhdr))) {
            ElfW(Nhdr) note;
            std::memcpy(&note, at, sizeof note);
            const size_t nameSpan = aligned(note.n_namesz), descriptorSpan = aligned(note.n_descsz);
            const size_t left = size_t(end - at) - sizeof note;
            if (nameSpan > left || descriptorSpan > left - nameSpan)
                break;
            const char *name = at + sizeof note;
            if (note.n_type == NT_GNU_BUILD_ID && note.n_namesz == 4 && std::memcmp(name, "GNU", 4) == 0)
                return QByteArray(name + nameSpan, int(note.n_descsz));
            at = name + nameSpan + descriptorSpan;
        }
    }
    return {};
}

int addObject(dl_phdr_info *info, size_t, void *data)
{
    auto *identity = static_cast<QByteArray *>(data);
    // The first object the loader lists is the program itself.
    const bool isProgram = identity->isEmpty();
    const char *path = info->dlpi_name ? info->dlpi_name : "";
    if (decidesBytes(path, isProgram)) {
        identity->append(isProgram ? "program" : std::strrchr(path, '/') ? std::strrchr(path, '/') + 1 : path);
        identity->append('\0');
        identity->append(noteBuildId(info).toHex());
        identity->append('\n');
    }
    return 0;
}

} // namespace

QByteArray buildIdentity()
{
    static const QByteArray identity = [] {
        QByteArray ids;
        dl_iterate_phdr(addObject, &ids);
        return ids;
    }();
    return identity;
}
