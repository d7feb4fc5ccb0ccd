// What the resolution changer asks xrandr for, read from the text of its query (no test runs
// xrandr itself).
#include "platform/sys/ChangeRes.h"

#include <gtest/gtest.h>

namespace {

const QString kLaptop = QStringLiteral(
    "Screen 0: minimum 320 x 200, current 1920 x 1080, maximum 16384 x 16384\n"
    "HDMI-1 connected 1280x1024+1920+0 (normal left inverted right x axis y axis) 376mm x 301mm\n"
    "   1280x1024     60.02*+  75.02\n"
    "   1024x768      75.03    60.00\n"
    "   800x600       75.00    60.32\n"
    "eDP-1 connected primary 1920x1080+0+0 (normal left inverted right x axis y axis) 344mm x 193mm\n"
    "   1920x1080     60.02*+  59.97\n"
    "   1024x768i     60.04\n"
    "   1024x768      60.04    60.00\n"
    "DP-1 disconnected (normal left inverted right x axis y axis)\n"
    "   800x600       60.32\n");

QStringList args(const QString& query, int w, int h, QString* problem = nullptr)
{
    return sys::xrandrModeArguments(query, w, h, problem);
}

} // namespace

TEST(ChangeRes, SetsTheModeOnlyOnTheScreenAndOnlyWhenItOffersThatExactMode)
{
    QString noPrimary = kLaptop;
    noPrimary.replace(" connected primary ", " connected ");
    const QString onlyDisconnected = QStringLiteral("Screen 0: minimum 8 x 8\nVGA-1 disconnected\n   800x600  60.0\n");
    const struct {
        QString query;
        int w, h;
        QStringList args;
        const char* problem;
    } cases[] = {
        {kLaptop, 1024, 768, {"--output", "eDP-1", "--mode", "1024x768"}, ""},
        // the primary lacks it: another output offering it is not changed instead
        {kLaptop, 800, 600, {}, "the screen does not offer 800 x 600"},
        {noPrimary, 800, 600, {"--output", "HDMI-1", "--mode", "800x600"}, ""},
        {onlyDisconnected, 800, 600, {}, "the X server reports no connected screen"},
    };
    for (const auto& c : cases) {
        QString problem;
        EXPECT_EQ(args(c.query, c.w, c.h, &problem), c.args) << c.problem;
        EXPECT_EQ(problem, c.problem);
    }
    QString problem;
    EXPECT_TRUE(args(QString(), 800, 600, &problem).isEmpty());
    EXPECT_FALSE(problem.isEmpty());
}
