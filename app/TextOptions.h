#pragma once

#include <QString>
#include <QStringList>

class QCommandLineParser;
class QTextStream;

// The characters of every --text, --text-file and --text-dir given. False,
// with the reason printed on `err`, when a file or folder cannot be read.
// A text file is decoded by decodeTextFile, and one read as GB2312 is named
// on `err`; under a --text-dir folder every file is read, recursively, and a
// binary one (a NUL byte outside UTF-16) is skipped and counted on `err`.
// With `files`, also the text file by file: --text and --text-file as one
// (a page's text typed or saved whole), each file under --text-dir apart;
// with `fileNames` too, the name of each of them: a --text-dir file's path
// relative to its folder, empty for the text of --text and --text-file.
bool readTextOptions(const QCommandLineParser &parser, QString *text, QTextStream &err, QStringList *files = nullptr,
                     QStringList *fileNames = nullptr);
