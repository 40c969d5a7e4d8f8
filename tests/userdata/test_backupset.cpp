#include "userdata/backupset.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using backupset::Conversion;

struct ConversionCase {
    const char* name;
    Conversion conversion;
    dao::Variant source;
    dao::Variant expected;
};

class ConversionTest : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(ConversionTest, GivesTheStoredValue)
{
    const dao::Variant v = backupset::converted(GetParam().conversion, GetParam().source);
    EXPECT_EQ(v.isNull(), GetParam().expected.isNull());
    EXPECT_EQ(v.toString(), GetParam().expected.toString());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConversionTest,
    ::testing::Values(ConversionCase{"AmountZero", Conversion::Amount, 0.0, QStringLiteral("0.00")},
                      ConversionCase{"AmountHalf", Conversion::Amount, 12.5, QStringLiteral("12.50")},
                      ConversionCase{"AmountNegative", Conversion::Amount, -3.456, QStringLiteral("-3.46")},
                      ConversionCase{"RvuHalf", Conversion::RvuText, 0.5, QStringLiteral(".50")},
                      ConversionCase{"RvuZero", Conversion::RvuText, 0.0, QStringLiteral(".00")},
                      ConversionCase{"RvuTwelve", Conversion::RvuText, 12.0, QStringLiteral("12.00")},
                      ConversionCase{"NullStaysEmpty", Conversion::Amount, dao::Variant(), dao::Variant()},
                      ConversionCase{"DoubleOfText", Conversion::Double, QStringLiteral("2.5"), 2.5},
                      ConversionCase{"UserFieldXs", Conversion::UserField, QStringLiteral("XXXXXXX"), dao::Variant()},
                      ConversionCase{"UserFieldSmallXs", Conversion::UserField, QStringLiteral("xxxxxxx"),
                                     QStringLiteral("xxxxxxx")},
                      ConversionCase{"EmptyNote", Conversion::Note, QString(""), dao::Variant()},
                      ConversionCase{"NoteLineBreaks", Conversion::Note, QStringLiteral("a\r\nb\nc\rd"),
                                     QStringLiteral("a  b c d")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BackupNote, NeverLongerThan150)
{
    EXPECT_EQ(backupset::backupNote(QString(149, 'a') + "\r\nzzz"), QString(149, 'a') + " ");
}

TEST(BackupSetFiles, SetIsTheListFileTheListedAndSessionNamedFiles)
{
    QTemporaryDir dir;
    for (const char* name : {"backupAllSess.mdb", "DATA0001.mdb", "data00031.MDB", "taglist.mdb", "DATA.mdb",
                             "DATA12.mdb.bak", "notes.txt"}) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QStringList files = backupset::setFiles(dir.path());
    files.sort();
    // The list file cannot be read here: only the names tell the set apart.
    EXPECT_EQ(files, QStringList({"DATA0001.mdb", "backupAllSess.mdb", "data00031.MDB"}));
}

}  // namespace
