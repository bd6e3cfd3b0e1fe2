#include "core/AppCore.h"
#include "support/QStringPrint.h"
#include "support/TestFolder.h"

#include <QDate>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

class LogTest : public testing::Test {
protected:
    QString logPath() const { return world.file(QStringLiteral("appdata/ZEM/Quelbrin Assistant/Quelbrin Assistant.log")); }
    QByteArray logBytes() const
    {
        QFile file(logPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    TestFolder world;
    AppCore& app = world.state.core;
};

TEST_F(LogTest, OneLinePerWriteWithDateTimeAndCrLf)
{
    EXPECT_FALSE(Log_IsOpen(app));
    Log_Open(app, true);
    EXPECT_TRUE(Log_IsOpen(app));
    Log_Write(app, QStringLiteral("Début du balayage"));
    Log_Write(app, QStringLiteral("Interface_Connect(): -3"));
    const QString text = QString::fromUtf8(logBytes());
    const QRegularExpression lines(
        QStringLiteral("^[^\r\n]+: Début du balayage\r\n[^\r\n]+: Interface_Connect\\(\\): -3\r\n$"));
    EXPECT_TRUE(lines.match(text).hasMatch()) << text.toStdString();
    EXPECT_TRUE(text.startsWith(QLocale().toString(QDate::currentDate(), QLocale::ShortFormat) + ' '))
        << "the line starts with the date";
}

TEST_F(LogTest, EveryOpenStartsTheFileAnewAndCloseStopsWriting)
{
    world.write(QStringLiteral("appdata/ZEM/Quelbrin Assistant/Quelbrin Assistant.log"), "from an earlier run\r\n");
    Log_Open(app, true);
    EXPECT_EQ(logBytes(), QByteArray());
    Log_Write(app, QStringLiteral("one"));
    Log_Open(app, false);
    EXPECT_FALSE(Log_IsOpen(app));
    Log_Write(app, QStringLiteral("after close"));
    EXPECT_FALSE(logBytes().contains("after close"));
    EXPECT_TRUE(logBytes().endsWith(": one\r\n"));

    Log_Open(app, true);
    EXPECT_EQ(logBytes(), QByteArray());
}

}  // namespace
