#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Windows-1251, the code page of .crs files and of Russian word lists, kept in
// the program: Qt has it only through ICU, and Qt for Windows is built without
// ICU. Byte 0x98, which the code page leaves undefined, stands for U+0098 both
// ways, as Qt's ICU codec has it, so any bytes read back unchanged.
namespace Windows1251 {

QString decode(QByteArrayView bytes);
// The bytes of text, or false with the position (in UTF-16 units) of the
// first character the code page cannot hold; bytes is then left unchanged.
bool encode(QStringView text, QByteArray *bytes, qsizetype *badPosition = nullptr);

} // namespace Windows1251
