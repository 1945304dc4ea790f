#include "ScriptRules.h"

#include "UnicodeBlocks.h"

#include <algorithm>
#include <iterator>

namespace {

struct ScriptRule
{
    QChar::Script script;
    ScriptSlicing slicing;
    bool joinsFirstSlice = false;
};

// Every script not listed goes whole. Why each listed one does not:
const ScriptRule kScriptRules[] = {
    // Shared by every script, or marks on any: where they go is what the
    // font's layout and the scripts around them say.
    {QChar::Script_Common, ScriptSlicing::Apart, true},
    // Characters newer than the Unicode data Qt has (emoji of recent
    // versions): no script is known to shape them.
    {QChar::Script_Unknown, ScriptSlicing::Apart, true},
    {QChar::Script_Inherited, ScriptSlicing::Apart, true},
    // Its letters are in the first slice already (ASCII, Latin-1, Extended-A
    // and -B); the rest, mostly precomposed letters, join their base letter.
    {QChar::Script_Latin, ScriptSlicing::Apart, true},
    // Tens of thousands of characters, drawn apart: by frequency.
    {QChar::Script_Han, ScriptSlicing::ByFrequency},
    {QChar::Script_Hangul, ScriptSlicing::ByFrequency},
    // Kana are in the first slice, with the CJK punctuation they kern with.
    {QChar::Script_Hiragana, ScriptSlicing::Apart, true},
    {QChar::Script_Katakana, ScriptSlicing::Apart, true},
    // Drawn apart, as ideographs are: Bopomofo annotates Han; Yi is a
    // syllabary of a thousand unshaped glyphs.
    {QChar::Script_Bopomofo, ScriptSlicing::Apart},
    {QChar::Script_Yi, ScriptSlicing::Apart},
    // Patterns of dots, one glyph each.
    {QChar::Script_Braille, ScriptSlicing::Apart},
};

// Blocks of signs that a script's text uses only in liturgy, scholarship or
// other languages than the script's own, beside its letters: the Brahmic
// scripts that use them shape syllable by syllable, so a syllable that
// holds one is drawn whole from the script's whole slice, and the syllables
// beside it from its core slice, as the whole font draws them. (Arabic's
// supplements are left whole: its letters join across syllables, which two
// fonts would draw apart.)
const quint32 kSeldomUsedBlocks[] = {
    0x1CD0,  // Vedic Extensions: Vedic accents, with Devanagari, Bengali, Grantha, Kannada, Telugu…
    0xA830,  // Common Indic Number Forms: fractions and quantity marks of North Indian trade
    0xA8E0,  // Devanagari Extended: cantillation digits and signs of Vedic and Jain texts
    0x11B00, // Devanagari Extended-A: head marks of Sanskrit manuscripts
};

const ScriptRule *ruleOf(QChar::Script script)
{
    const auto rule = std::find_if(std::begin(kScriptRules), std::end(kScriptRules),
                                   [script](const ScriptRule &r) { return r.script == script; });
    return rule != std::end(kScriptRules) ? rule : nullptr;
}

} // namespace

ScriptSlicing scriptSlicing(QChar::Script script)
{
    const ScriptRule *rule = ruleOf(script);
    return rule ? rule->slicing : ScriptSlicing::Whole;
}

bool joinsFirstSlice(QChar::Script script)
{
    const ScriptRule *rule = ruleOf(script);
    return rule && rule->joinsFirstSlice;
}

bool inSeldomUsedBlock(quint32 codePoint)
{
    const quint32 block = unicodeBlockStart(codePoint);
    return std::find(std::begin(kSeldomUsedBlocks), std::end(kSeldomUsedBlocks), block) != std::end(kSeldomUsedBlocks);
}
