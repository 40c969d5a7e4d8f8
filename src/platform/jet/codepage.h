#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Code pages of the outside file formats: worksheets and dBASE tables carry Windows-1252, WK1 sheets code
// page 437, some dBASE tables 850; workbooks may also hold UTF-16LE.
namespace jet {

// Bytes in the given code page: 1252 (also the fallback for an unknown one), 437, 850, 28591 (Latin-1),
// 20127 (ASCII), 65001 (UTF-8), 1200 (UTF-16LE). Other Windows code pages are decoded where Qt knows them.
QString decode(QByteArrayView bytes, int codepage);
// Text in the given code page (as decode), "?" for each character the code page lacks.
QByteArray encode(const QString& text, int codepage);
// UTF-8 when the bytes are valid UTF-8 (a byte-order mark is dropped), otherwise Windows-1252.
QString decodeUtf8Or1252(QByteArrayView bytes);

}  // namespace jet
