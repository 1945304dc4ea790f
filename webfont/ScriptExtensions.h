#pragma once

#include <QChar>
#include <QVector>

// The scripts Unicode's Script_Extensions property lists for a character
// that several scripts use (dandas, Vedic signs, Arabic punctuation), from
// ScriptExtensionsData.inc; empty when the character's Script property is
// its only one.
QVector<QChar::Script> scriptExtensions(quint32 codePoint);
