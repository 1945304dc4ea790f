#pragma once

#include "engine/Jobs.h"

class QCommandLineParser;

// tessaglyph-cli webfont: a font or installed family cut into a web-font kit.
// usageError and report are the program's own (they print and give the exit
// status).
int runWebFontCommand(const QCommandLineParser &parser, int (*usageError)(const QString &),
                      int (*report)(const JobOutcome &, bool quiet));
