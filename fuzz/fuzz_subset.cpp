// Fuzz target: the subsetting service on the bytes, with a keep list taken
// from the input; every byte of the output is read, and its contents taken.

#include "platform/FontPackage.h"
#include "platform/UnicodeCmap.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::vector<quint32> keepList;
    const size_t count = size ? data[0] % 64 : 0;
    for (size_t i = 0; i < count && 3 * i + 3 < size; ++i) {
        const uint8_t *at = data + size - 3 * i - 3;
        keepList.push_back(quint32(at[0] & 0x1F) << 16 | quint32(at[1]) << 8 | at[2]);
    }
    keepList.push_back('A');

    uchar *buffer = nullptr;
    quint32 bufferSize = 0, bytesWritten = 0;
    const quint32 status = createFontPackage(
            data, quint32(size), &buffer, &bufferSize, &bytesWritten, FontPackage::FlagSubset, 0,
            FontPackage::StandaloneSubset, FontPackage::AllLanguages, FontPackage::PlatformMicrosoft,
            FontPackage::EncodingUcs4, keepList.data(), quint32(keepList.size()), std::malloc, std::realloc,
            std::free, nullptr);
    if (status == FontPackage::Ok) {
        if (!buffer || bytesWritten > bufferSize)
            std::abort();
        volatile uchar sum = 0;
        for (quint32 i = 0; i < bytesWritten; ++i)
            sum = uchar(sum + buffer[i]);
        fontContents(ByteView(buffer, bytesWritten), QVector<quint32>(keepList.begin(), keepList.end()));
    }
    std::free(buffer);
    return 0;
}
