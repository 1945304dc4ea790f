#pragma once

#include "engine/Jobs.h"
#include "engine/KeepList.h"

#include <QString>

#include <atomic>
#include <functional>

// A web-font kit: a font cut into unicode-range WOFF2 slices, with the CSS
// that declares them, a preview page and a report.
struct WebFontRequest
{
    QString fontPath;     // a .ttf or .otf file; or
    QString family;       // an installed family: a kit of every installed face
    QString outputFolder; // must exist
    KeepList characters;  // empty: every character the font maps (controls left out)
    // The characters file by file, when the text came from several files
    // (a folder of a site's pages): its slices then follow which files use
    // which characters. Empty: the characters are one file's.
    QVector<KeepList> textFiles;
    QString cssFamily;    // empty: the font's typographic family (name ID 16, else 1)
    QString fontDisplay = QStringLiteral("swap");
    QString language;     // zh-Hans, zh-Hant, zh-HK, ja, ko; empty: from the font
    bool localSources = false; // local() before each url() in the CSS
    bool prune = false;   // remove the earlier kit's slices that the new CSS no longer names
    int jobs = 0;         // threads; 0: every core
    // The slice cache's folder (SliceCache.h), made when absent: slices made
    // before with the same bytes in are copied from it. Empty: no cache.
    QString cacheFolder;
};

struct WebFontProgress
{
    int done = 0;
    int total = 0;
};

// Called on the thread that runs the job, between slices; may be empty.
using WebFontProgressCallback = std::function<void(const WebFontProgress &)>;

// Makes the kit. It replaces only files an earlier kit wrote (a site's own
// file in the way is a refusal that names it), and writes while holding the
// folder's lock, so that the CSS, preview and report of a folder always come
// from one run. A job that fails, or is cancelled through `cancel`, removes
// only the slices it created, and a cancelled one says so as information,
// not as a warning. The outcome is the shared JobOutcome (succeeded, title,
// text, notices, summary, writtenFiles), with texts translated in the
// "Tessaglyph" context, plus the kit's figures.
struct WebFontOutcome
{
    JobOutcome job;
    QString cssPath;
    QString previewPath; // index.html
    QStringList kitFiles; // the CSS, preview, report and every slice the CSS names
    int sliceCount = 0;
    int cachedSlices = 0; // of sliceCount, copied from the slice cache
    quint64 totalBytes = 0;
    bool cancelled = false;
};

WebFontOutcome runWebFontJob(const WebFontRequest &request, const WebFontProgressCallback &progress = {},
                             const std::atomic<bool> *cancel = nullptr);
