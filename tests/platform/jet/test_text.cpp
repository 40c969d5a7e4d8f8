#include "platform/dao/Error.h"
#include "platform/jet/codepage.h"
#include "platform/jet/delimited.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(CodePage, EachPageDecodesAndEncodesItsCharacters)
{
    struct Case {
        int codepage;
        QByteArray bytes;
        QString text;
    };
    const Case cases[] = {
        {1252, "Caf\xE9 \x80 \x93x\x94", QStringLiteral("Café € “x”")},
        {437, "Caf\x82 \x9C \xE1", QStringLiteral("Café £ ß")},
        {850, "Caf\x82 \x9D \xB5", QStringLiteral("Café Ø Á")},
        {28591, "Caf\xE9 \x80", QStringLiteral("Café \u0080")},
        {65001, "Caf\xC3\xA9", QStringLiteral("Café")},
        {1200, QByteArray("C\0a\0f\0\xE9\0", 8), QStringLiteral("Café")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.codepage);
        EXPECT_EQ(jet::decode(c.bytes, c.codepage), c.text);
        EXPECT_EQ(jet::encode(c.text, c.codepage), c.bytes);
    }
}

TEST(CodePage, WhatAPageLacksBecomesAQuestionMark)
{
    EXPECT_EQ(jet::encode(QStringLiteral("a€b"), 437), QByteArray("a?b"));
    EXPECT_EQ(jet::encode(QStringLiteral("Ωx"), 1252), QByteArray("?x"));
    EXPECT_EQ(jet::encode(QStringLiteral("a\U0001F600b"), 1252), QByteArray("a?b"));  // one "?" per character
    EXPECT_EQ(jet::encode(QStringLiteral("é"), 20127), QByteArray("?"));
    // An unknown code page is taken as 1252.
    EXPECT_EQ(jet::decode("\xE9", 4711), QStringLiteral("é"));
    EXPECT_EQ(jet::encode(QStringLiteral("é"), 4711), QByteArray("\xE9"));
}

TEST(CodePage, EveryByteOfTheSingleBytePagesRoundTrips)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    for (int cp : {1252, 437, 850, 28591})
        EXPECT_EQ(jet::encode(jet::decode(all, cp), cp), all) << cp;
}

TEST(CodePage, Utf8WhenValidElse1252)
{
    EXPECT_EQ(jet::decodeUtf8Or1252("Caf\xC3\xA9"), QStringLiteral("Café"));
    EXPECT_EQ(jet::decodeUtf8Or1252("\xEF\xBB\xBF" "abc"), QStringLiteral("abc"));
    EXPECT_EQ(jet::decodeUtf8Or1252("Caf\xE9, na\xEFve"), QStringLiteral("Café, naïve"));
    EXPECT_EQ(jet::decodeUtf8Or1252("plain"), QStringLiteral("plain"));
}

TEST(Delimited, LinesQuoteWhatNeedsIt)
{
    using F = jet::TextField;
    const std::pair<std::vector<F>, QByteArray> cases[] = {
        {{{"00100", false}, {"0.50", true}, {"", false}, {"", true}}, "00100,\"0.50\",,\"\"\r\n"},
        {{{"a,b", false}, {"say \"hi\"", false}, {"two\r\nlines", false}}, "\"a,b\",\"say \"\"hi\"\"\",\"two\r\nlines\"\r\n"},
        {{{"q\"", true}, {QStringLiteral("Café €"), false}, {QStringLiteral("Ω"), false}}, "\"q\"\"\",Caf\xE9 \x80,?\r\n"},
        {{}, "\r\n"},
    };
    for (const auto& [fields, bytes] : cases)
        EXPECT_EQ(jet::delimitedLine(fields), bytes);
}

TEST(Delimited, ParsingReadsQuotesAndEveryLineEnd)
{
    const QString text = QStringLiteral("A,B,C\r\n\"x, y\",\"say \"\"hi\"\"\",3\n\"two\r\nlines\",,\"\"\r4,5,6");
    const auto rows = jet::parseDelimited(text);
    ASSERT_EQ(rows.size(), 4u);
    const std::vector<std::vector<QString>> expected = {
        {"A", "B", "C"}, {"x, y", "say \"hi\"", "3"}, {"two\r\nlines", "", ""}, {"4", "5", "6"}};
    for (size_t r = 0; r < rows.size(); ++r) {
        ASSERT_EQ(rows[r].size(), expected[r].size()) << r;
        for (size_t c = 0; c < rows[r].size(); ++c)
            EXPECT_EQ(rows[r][c].text, expected[r][c]) << r << "," << c;
    }
    EXPECT_TRUE(rows[1][0].quoted);
    EXPECT_FALSE(rows[1][2].quoted);
    EXPECT_FALSE(rows[2][1].quoted);
    EXPECT_TRUE(rows[2][2].quoted);
    EXPECT_EQ(jet::parseDelimited(QStringLiteral("a\r\n")).size(), 1u);
    EXPECT_TRUE(jet::parseDelimited(QString()).empty());
}

TEST(Delimited, WriteWholeReplacesTheFileOrSaysWhyNot)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("out.csv");
    jet::writeFileWhole(path, "old\r\n");
    jet::writeFileWhole(path, "a,b\r\n");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("a,b\r\n"));
    try {
        jet::writeFileWhole(dir.filePath("missing/out.csv"), "x");
        FAIL() << "a missing folder was written";
    } catch (const dao::Error& e) {
        EXPECT_EQ(e.number, 3044);
        EXPECT_TRUE(e.description.contains("missing")) << e.description.toStdString();
    }
}

}  // namespace
