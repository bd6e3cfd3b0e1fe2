#include "support/QStringPrint.h"
#include "model/ValueText.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> values(const QByteArray& bytes)
{
    std::vector<int> result;
    for (char byte : bytes)
        result.push_back(uint8_t(byte));
    return result;
}

TEST(HexToBytes, ReadsPairsOfDigitsInAnyCase)
{
    struct Case {
        const char* text;
        std::vector<int> bytes;
    };
    const Case cases[] = {
        {"0aFf", {10, 255}},
        {"0AFF", {10, 255}},
        {"0G", {0}},
        {"G1", {1}},
        {"zz7f", {0, 127}},
        {"", {}},
        {"00102030", {0, 16, 32, 48}},
    };
    for (const Case& c : cases) {
        QByteArray bytes("stale");
        EXPECT_EQ(HexToBytes(QString::fromLatin1(c.text), bytes), int32_t(c.bytes.size())) << c.text;
        EXPECT_EQ(values(bytes), c.bytes) << c.text;
    }
}

TEST(BytesToHex, TwoUpperCaseDigitsPerByteHighNibbleFirst)
{
    EXPECT_EQ(BytesToHex(QByteArray("\x0a\xff", 2), 2), QStringLiteral("0AFF"));
    EXPECT_EQ(BytesToHex(QByteArray("\x00\x01\xab", 3), 3), QStringLiteral("0001AB"));
    EXPECT_EQ(BytesToHex(QByteArray("\x01\x02\x03", 3), 2), QStringLiteral("0102"));
    EXPECT_EQ(BytesToHex(QByteArray(), 0), QString());

    QByteArray back;
    HexToBytes(BytesToHex(QByteArray("\xde\xad\xbe\xef", 4), 4), back);
    EXPECT_EQ(back, QByteArray("\xde\xad\xbe\xef", 4));
}

TEST(StrToDouble, LeadingDecimalNumberWithCommaOrPoint)
{
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"1,5", 1.5}, {"1.5", 1.5}, {"abc", 0},   {"12abc", 12}, {"", 0},       {"-3,25", -3.25},
        {"  7", 7},   {".5", 0.5},  {"1,5,7", 1.5}, {"+4", 4},   {"-", 0},      {"2147483648", 2147483648.0},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(StrToDouble(QString::fromLatin1(c.text)), c.value) << c.text;
}

}  // namespace
