#pragma once

#include "FontSubsetter.h"
#include "KeepList.h"

#include <QString>
#include <QStringList>

// The two jobs, with their input checks, shared by the window's "Accept" and
// the command-line program. Each returns what to tell the user, translated
// in the "Tessaglyph" context (the window's own), with every value filled in.
struct JobOutcome
{
    enum class Box { Information, Warning };

    bool succeeded = false;
    Box box = Box::Warning;
    QString title;
    QString text;
    // Lines under the text: what the job did in place of what was asked (a
    // fallback to the default face, members kept or skipped), and why.
    QStringList notices;
    // Lines under those: what was made, file by file.
    QStringList summary;
    QStringList writtenFiles; // every file the job wrote
    bool defaultFaceUsed = false; // a subset made from the default face in place of the one asked for
};

// Which collections the program takes, and how it tells a file that is not
// a font: the window keeps to TrueType's .ttc and its own one message; the
// command line also takes OpenType's .otc and says what is wrong with the
// file. Both take .ttf, .otf and .woff2 fonts.
enum class AcceptedSuffixes { TrueType, TrueTypeAndOpenType };

// Subsets the font file at fontPath into outputFolder/<its base name>.ttf
// (or .otf for CFF outlines, .woff2 compressed).
JobOutcome runFileSubsetJob(FontSubsetter &engine, const QString &fontPath, const QString &outputFolder,
                            const KeepList &keepList, AcceptedSuffixes suffixes = AcceptedSuffixes::TrueType,
                            OutputFormat format = OutputFormat::Sfnt);

// Subsets an installed family into outputFolder/<face>.ttf (or .otf).
JobOutcome runSystemSubsetJob(FontSubsetter &engine, const QString &family, const QString &outputFolder,
                              const KeepList &keepList, OutputFormat format = OutputFormat::Sfnt);

// Splits the collection at collectionPath into outputFolder.
JobOutcome runSplitJob(const QString &collectionPath, const QString &outputFolder,
                       AcceptedSuffixes suffixes = AcceptedSuffixes::TrueType);

// A refusal for an output folder that cannot take a job's files ("The
// output folder %1 does not exist."); empty when it can.
QString outputFolderProblem(const QString &folder);

// What is wrong with a font file: which table of a damaged font, that the
// file is a collection, or that its WOFF2 would decode too large.
QString fontProblemText(const FontProblem &problem, const QString &path);

// "The file %1 does not exist.", for an input file that is missing.
QString missingFileText(const QString &path);

// A count as the user's locale writes it ("2,876,464"), in every line a job
// or the window shows.
QString localeNumber(quint64 value);

// "The font lacks 2 of the characters: U+4F60 你, U+20000 𠀀": the characters
// of the list a font is expected to draw (control characters left out), each
// by its code point and itself, so that one the reader's font cannot draw
// is still known; after the first twenty, how many more. Empty when none.
QString lackingCharactersLine(const KeepList &codePoints);
