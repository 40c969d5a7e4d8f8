#include "support/SeamTest.h"

#include "platform/forms/guarded.h"

#include <stdexcept>

using namespace platform;

namespace {

using SkipStepTest = SeamTest;

// A failing step of the data layer is skipped and the next one runs; any other fault is not a step to skip:
// it reaches the run-time error text.
TEST_F(SkipStepTest, ADataFailureIsSkippedAndAProgrammingFaultStillReachesTheRuntimeError)
{
    QStringList ran;
    guarded([&] {
        EXPECT_TRUE(resumeNext([&] { ran << "first"; }));
        EXPECT_FALSE(resumeNext([&] {
            throw dao::Error(3021, QStringLiteral("No current record."));
            ran << "not reached";
        }));
        ran << "after";
    });
    EXPECT_EQ(ran, QStringList({"first", "after"}));
    EXPECT_TRUE(seam.messages().isEmpty());

    seam.expectMsgBox(QStringLiteral("Run-time error '5':\r\n\r\nvector::at"), vbOKOnly);
    guarded([&] {
        resumeNext([] { throw std::out_of_range("vector::at"); });
        ran << "not reached";
    });
    EXPECT_EQ(ran.size(), 2);
}

TEST(StepGuard, NamesTheStepInForceWhenAFailureArrives)
{
    StepGuard step;
    EXPECT_TRUE(step.text().isEmpty());
    QString said;
    try {
        step(QStringLiteral("Reading the update file"));
        step(QStringLiteral("Merging the physician codes"));
        throw dao::Error(3026, QStringLiteral("Not enough space on disk."));
    } catch (const dao::Error& e) {
        said = step.text() + QStringLiteral(": ") + e.description;
    }
    EXPECT_EQ(said, QStringLiteral("Merging the physician codes: Not enough space on disk."));
}

}  // namespace
