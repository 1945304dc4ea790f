#include "ScriptExtensions.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr int kMostScripts = 21; // of one character (the dandas)

struct ScriptExtensionRange
{
    quint32 first;
    quint32 last;
    QChar::Script scripts[kMostScripts]; // Script_Unknown past the last
};

const ScriptExtensionRange kRanges[] = {
#include "ScriptExtensionsData.inc"
};

} // namespace

QVector<QChar::Script> scriptExtensions(quint32 codePoint)
{
    const auto after = std::upper_bound(std::begin(kRanges), std::end(kRanges), codePoint,
                                        [](quint32 c, const ScriptExtensionRange &range) { return c < range.first; });
    if (after == std::begin(kRanges) || std::prev(after)->last < codePoint)
        return {};
    QVector<QChar::Script> scripts;
    for (QChar::Script script : std::prev(after)->scripts) {
        if (script != QChar::Script_Unknown)
            scripts.append(script);
    }
    return scripts;
}
