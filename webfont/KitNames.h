#pragma once

#include <QByteArray>
#include <QString>

// How a kit's files are named, and how a kit tells its own files from the
// site's files around them. Every caller names and recognises them here.

// A kit's preview page and report, named after its CSS, so that several
// kits share a folder (a site's body and heading families): "Body.css" has
// "Body.html" and "Body.report.json".
QString kitPreviewFileName(const QString &cssFile);
QString kitReportFileName(const QString &cssFile);

// The one preview page and report of every kit that earlier versions wrote:
// a run whose CSS that report names takes them for its earlier kit's, and
// removes them once its own are in place.
extern const QLatin1String kSharedPreviewFile; // index.html
extern const QLatin1String kSharedReportFile;  // report.json

// A name that is safe as a file name on every system and in a URL: ASCII
// letters, digits, "-" and "_" kept, everything else left out.
QString asciiFileName(const QString &name);

// The part of a kit file's name taken from a font or CSS family name:
// asciiFileName of the first of the names that gives one, cut to a length
// that leaves room for the rest of the name on every file system; `fallback`
// when none does.
QString kitBaseName(const QStringList &names, const QString &fallback);

// "<base>.<number>.<hash>.woff2", the number in three digits at least and
// the hash the first eight hexadecimal digits of the bytes' SHA-256: a
// browser's cache survives a rebuild in which a slice did not change.
QString sliceFileName(const QString &baseName, int number, const QByteArray &bytes);

// Whether the bytes are the ones the slice's name was made from: a file of
// a slice's name whose bytes do not match is damaged or was not made so.
bool sliceNameMatches(const QString &fileName, const QByteArray &bytes);

// What the kit's texts carry, so that a later run can tell an earlier kit's
// CSS, preview and report from a site's own files of the same name.
extern const QLatin1String kKitMarker;

// Whether the start of a file (its first kKitMarkerSpan bytes at least) is
// that of a CSS, preview page or report a kit wrote.
bool isKitText(const QByteArray &head);
constexpr qsizetype kKitMarkerSpan = 512;
