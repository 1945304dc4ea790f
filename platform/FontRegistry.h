#pragma once

#include <QString>
#include <QVector>

// A style value of a face: one value, or the span of a variable face's axis.
struct StyleSpan
{
    double low = 0;
    double high = 0;
};

// An installed face that answers to a name, as fontconfig's cache describes it.
struct RegisteredFace
{
    QString file;
    int index = 0;   // of the face in its collection; 0 in a font file
    QString foundry; // as fontconfig reports it (the OS/2 vendor, say "UKWN"); empty when it gives none
    // Whether the name is one of the face's family names (name IDs 1, 16
    // and 21), and one of its full names (ID 4), in any language.
    bool familyAnswers = false;
    bool fullNameAnswers = false;
    StyleSpan width{100, 100};  // fontconfig's scale: 100 normal, 87.5 semi-condensed, 75 condensed
    StyleSpan weight{400, 400}; // the OS/2 scale: 400 regular, 700 bold
    StyleSpan slant{0, 0};      // fontconfig's scale: 0 upright, 100 italic, 110 oblique
};

// How a name is compared with a face's names: both case folded
// (foldedName), and also with their blanks left out.
enum class NameComparison { Folded, FoldedIgnoringBlanks };

// Our stand-in for the system's font registration list: every installed
// face with the name (given folded) among its family or full names, read
// from fontconfig's cache, so that no font file is opened. Named instances
// of variable fonts are left out: the variable face stands for them.
// Ordered by the names of each file's faces ("DejaVu Sans Bold"), then by
// file and index, so the order never depends on fontconfig's. Follows
// FONTCONFIG_FILE, and picks up fonts changed since fontconfig last looked.
QVector<RegisteredFace> registeredFacesNamed(const QString &foldedName,
                                             NameComparison comparison = NameComparison::Folded);
