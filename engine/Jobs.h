#pragma once

#include "FontSubsetter.h"

#include <QString>
#include <QStringList>

// The two jobs, with their input checks, shared by the window's "Accept" and
// the command-line program. Each returns what to tell the user; titles and
// texts are source texts of the "Tessaglyph" translation context.
struct JobOutcome
{
    enum class Box { Information, Warning };

    bool succeeded = false;
    Box box = Box::Warning;
    const char *title = nullptr;
    const char *text = nullptr;
    QString argument;         // fills the %1 of text, when it has one
    QStringList writtenFiles; // every file the job wrote
};

// Subsets the .ttf file at fontPath into outputFolder/<its base name>.ttf.
JobOutcome runFileSubsetJob(FontSubsetter &engine, const QString &fontPath, const QString &outputFolder,
                            const KeepList &keepList);

// Subsets an installed family into outputFolder/<face>.ttf.
JobOutcome runSystemSubsetJob(FontSubsetter &engine, const QString &family, const QString &outputFolder,
                              const KeepList &keepList);

// Splits the collection at ttcPath into outputFolder.
JobOutcome runSplitJob(const QString &ttcPath, const QString &outputFolder);
