#pragma once

#include <QByteArray>
#include <QString>

// A file's bytes, or "<unreadable>", so that a file that cannot be read never
// passes for an empty one.
QByteArray fileBytes(const QString &path);
// Writes the file whole, or fails the test.
void putFileBytes(const QString &path, const QByteArray &bytes);
