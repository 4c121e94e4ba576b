#include "exam/ExamClock.h"

#include <gtest/gtest.h>
#include <map>
#include <memory>

namespace {

TEST(ExamClock, TheFirstCaptionIsHoursMinutesLessOneAndZeroSeconds)
{
    EXPECT_EQ(firstClockCaption(0, 60), QStringLiteral("0:59:00"));
    EXPECT_EQ(firstClockCaption(0, 1), QStringLiteral("0:0:00")) << "practice and pretest";
    EXPECT_EQ(firstClockCaption(0, 0), QStringLiteral("0:-1:00"));
}

TEST(ExamClock, TheCountDownShowsEachMinuteFrom59To00AndLastsTheLimitInSeconds)
{
    struct Case {
        int limit;
        std::map<int, QString> captions;
        int overAtTick;
    };
    const Case cases[] = {
        {45,
         {{1, "44:59"}, {59, "44:01"}, {60, "44:00"}, {61, "43:59"}, {2640, "01:00"}, {2699, "00:01"}, {2700, "00:00"}},
         2700},
        {1, {{1, "00:59"}, {59, "00:01"}, {60, "00:00"}}, 60},
        {2, {{60, "01:00"}, {61, "00:59"}, {120, "00:00"}}, 120},
        {120, {{1, "119:59"}, {3600, "60:00"}}, 7200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.limit << " minutes");
        double seconds = 60.0; // the load's start value for the count-down
        int minutes = c.limit;
        int overAt = 0;
        for (int tick = 1; tick <= c.limit * 60 + 5 && overAt == 0; ++tick) {
            const ClockTick t = countDownTick(seconds, minutes);
            if (t.timeOver)
                overAt = tick;
            const auto wanted = c.captions.find(tick);
            if (wanted != c.captions.end()) {
                EXPECT_EQ(t.caption, wanted->second) << "tick " << tick;
            }
        }
        EXPECT_EQ(overAt, c.overAtTick) << "exactly the limit in ticks";
        EXPECT_EQ(minutes, 0);
    }
}

TEST(ExamClock, ALimitOfZeroOrBelowEndsOnTheFirstTickReadingZero)
{
    for (const int limit : {0, -1, -30}) {
        SCOPED_TRACE(limit);
        double seconds = 60.0;
        int minutes = limit;
        const ClockTick t = countDownTick(seconds, minutes);
        EXPECT_TRUE(t.timeOver);
        EXPECT_EQ(t.caption, QStringLiteral("00:00"));
        EXPECT_EQ(minutes, 0);
        EXPECT_EQ(seconds, 0.0);
    }
}

TEST(ExamClock, TheElapsedTimeCountsUpAndShowsMinutesPast99InThreeDigits)
{
    struct Case {
        int ticks;
        const char* caption;
    };
    const Case cases[] = {
        {1, "00:01"}, {59, "00:59"}, {60, "01:00"}, {61, "01:01"}, {5999, "99:59"}, {6000, "100:00"}, {6061, "101:01"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ticks);
        double seconds = 0.0;
        int minutes = 0;
        ClockTick t;
        for (int i = 0; i < c.ticks; ++i)
            t = countUpTick(seconds, minutes);
        EXPECT_EQ(t.caption, QString::fromLatin1(c.caption));
        EXPECT_FALSE(t.timeOver) << "the elapsed time never ends the exam";
    }
}

TEST(ExamClock, TwoDigitsPadsBelowTenAndKeepsLongerNumbers)
{
    EXPECT_EQ(twoDigits(0), QStringLiteral("00"));
    EXPECT_EQ(twoDigits(7), QStringLiteral("07"));
    EXPECT_EQ(twoDigits(59), QStringLiteral("59"));
    EXPECT_EQ(twoDigits(100), QStringLiteral("100"));
    EXPECT_EQ(twoDigits(-1), QStringLiteral("-01"));
}

TEST(ExamClock, AManualSourceTicksOnlyWhileEnabledAndTheFactoryReplacesTheTimer)
{
    ManualTickSource source;
    int ticks = 0;
    QObject::connect(&source, &TickSource::tick, [&ticks] { ++ticks; });
    EXPECT_FALSE(source.fire()) << "a stopped clock never ticks";
    source.setEnabled(true);
    EXPECT_TRUE(source.fire());
    EXPECT_TRUE(source.fire());
    source.setEnabled(false);
    EXPECT_FALSE(source.fire());
    EXPECT_EQ(ticks, 2);

    EXPECT_NE(dynamic_cast<TimerTickSource*>(makeTickSource().get()), nullptr) << "a timer by default";
    setTickSourceFactory([] { return std::make_unique<ManualTickSource>(); });
    EXPECT_NE(dynamic_cast<ManualTickSource*>(makeTickSource().get()), nullptr);
    setTickSourceFactory(nullptr);
    const std::unique_ptr<TickSource> timer = makeTickSource();
    ASSERT_NE(dynamic_cast<TimerTickSource*>(timer.get()), nullptr);
    EXPECT_FALSE(timer->isEnabled());
    timer->setEnabled(true);
    EXPECT_TRUE(timer->isEnabled());
}

} // namespace
