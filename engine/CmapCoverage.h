#pragma once

#include "sfnt/ByteView.h"

#include <QVector>

// Whether any value of the keep list lies in a segment of the cmap's first
// format 4 subtable among the records for platform 3 or encoding 1. Only the
// segment ranges count, and a segment ending at 0xFFFF never does.
bool cmapCoversAny(ByteView cmap, const QVector<quint16> &keepList);

// The same test on the font file at path, reading only its directory and
// cmap, with the keep list sorted and de-duplicated as the engine keeps it.
// False when the file cannot be read.
bool fontFileCoversAny(const QString &path, const QVector<quint16> &keepList);
