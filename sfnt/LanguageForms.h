#pragma once

#include "base/ByteView.h"

#include <QByteArray>
#include <QVector>

// The localized forms of a GSUB table: its 'locl' features, each reached
// through the language systems that list it (Japanese, Korean and
// Traditional Chinese forms of a Simplified Chinese face, say).

// A copy of the GSUB table in which every 'locl' feature that none of the
// given language systems lists (nor a script's default one) is renamed to
// `renamedTag`, so that a subset keeping every feature but that tag leaves
// those forms out, with the glyphs only they reach. Empty when the table
// cannot be read, or no 'locl' feature is left out.
QByteArray withOtherLanguagesFormsRenamed(ByteView gsub, const QVector<quint32> &languageSystems, quint32 renamedTag);
