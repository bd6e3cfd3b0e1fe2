#pragma once
#include <QByteArray>
#include <QDate>
#include <QString>
#include <cstdint>

// Text forms of values in configuration documents and messages.

// The text with every "," read as "." and taken as its leading decimal number (0 if none).
double StrToDouble(const QString& text);
// The leading decimal number of the text, "." as the only decimal separator (0 if none).
double leadingNumber(const QString& text);
// Two hexadecimal digits per byte; a character that is no digit counts as 0.
int32_t HexToBytes(const QString& text, QByteArray& bytes);
QString BytesToHex(const QByteArray& bytes, int32_t count);

// Nearest integer, ties to even, clamped to the range of T.
template <typename T>
T roundTo(double value);

QString boolToText(bool value);     // "true" / "false"
bool textToBool(const QString& text);
QString floatToText(float value);   // shortest text that reads back to the same single
QString dateToText(const QDate& date);
QDate textToDate(const QString& text);  // the date origin when the text is no date

// Dates count days from the platform's date origin, 1899-12-30.
QDate dateOrigin();
int64_t dayNumber(const QDate& date);

// A single in its shortest form with the user's decimal separator, for messages.
QString floatForMessage(float value);
// The text without the blanks at both ends (other white space stays).
QString trimBlanks(const QString& text);
// 8-bit characters up to the first NUL, blanks trimmed at both ends: a device string.
QString textOfBytes(const QByteArray& bytes);

// An XPath string literal for any text (quotes included).
QString xpathLiteral(const QString& text);
