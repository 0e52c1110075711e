#include "app/globals.h"
#include "canvas.h"
#include "gdi_counter_state.h"
#include "measure/sampler.h"
#include "readout/paint.h"
#include "readout/readout.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace {

const uint32_t kBackdrop = 0x123456;  // a colour neither image uses

class PaintReadoutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_hInstance = GetModuleHandleA(NULL);
        ResetAcquired();
    }
    void Show(int valid, uint32_t rate)
    {
        g_bValid.store(valid);
        g_dwRate.store(rate);
    }
};

bool InsideACell(int x, int y)
{
    for (int i = 0; i < kReadoutChars; ++i) {
        CellRect r = ReadoutCellRect(i);
        if (x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h)
            return true;
    }
    return false;
}

// With ZARVO_ARTIFACTS set, keeps the painted readout there as a 16-colour
// bitmap file, for looking at.
void KeepPicture(const Canvas &canvas, const char *name)
{
    const char *dir = std::getenv("ZARVO_ARTIFACTS");
    if (dir == nullptr)
        return;
    IndexedImage picture(canvas.width(), canvas.height(), kBlack);
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            for (uint8_t i = 0; i < 16; ++i)
                if (RgbOf(i) == canvas.at(x, y))
                    picture.set(x, y, i);
    std::vector<uint8_t> bytes = EncodeBmp4(picture);
    std::ofstream(std::string(dir) + "\\" + name, std::ios::binary)
        .write(reinterpret_cast<const char *>(bytes.data()), bytes.size());
}

TEST_F(PaintReadoutTest, FullPaintWhileWarmingUpShowsPanelAndSixMiddleBars)
{
    Canvas canvas(114, 32);
    canvas.Fill(kBackdrop);
    Show(0, 45012);
    PaintReadout(1, canvas.dc());
    EXPECT_EQ("", FirstDifference(canvas, ExpectedReadout("******"), 0, 0, 114, 32));
}

struct FigureCase {
    uint32_t rate;
    const char *text;
};

TEST_F(PaintReadoutTest, FullPaintShowsTheFigureOnThePanel)
{
    const FigureCase cases[] = {
        {0, "   000"}, {45012, " 45012"}, {999999, "999999"}, {244541, "244541"}, {100, "   100"},
    };
    for (const FigureCase &c : cases) {
        Canvas canvas(114, 32);
        canvas.Fill(kBackdrop);
        Show(1, c.rate);
        PaintReadout(1, canvas.dc());
        EXPECT_EQ("", FirstDifference(canvas, ExpectedReadout(c.text), 0, 0, 114, 32))
            << "figure " << c.rate;
        if (c.rate == 244541)
            KeepPicture(canvas, "readout-2445.41.bmp");
    }
}

TEST_F(PaintReadoutTest, GlyphsOnlyPaintChangesNothingOutsideTheSixCells)
{
    const FigureCase cases[] = {{0, "   000"}, {45012, " 45012"}, {999999, "999999"}};
    for (const FigureCase &c : cases) {
        Canvas canvas(120, 40);
        canvas.Fill(kBackdrop);
        Show(1, c.rate);
        PaintReadout(0, canvas.dc());
        IndexedImage expected = ExpectedReadout(c.text);
        GdiFlush();
        for (int y = 0; y < canvas.height(); ++y)
            for (int x = 0; x < canvas.width(); ++x) {
                if (InsideACell(x, y)) {
                    ASSERT_TRUE(x >= 6 && x <= 82 && y >= 6 && y <= 24);
                    ASSERT_EQ(RgbOf(expected.at(x, y)), canvas.at(x, y))
                        << "figure " << c.rate << " at (" << x << "," << y << ")";
                } else {
                    ASSERT_EQ(kBackdrop, canvas.at(x, y))
                        << "figure " << c.rate << " touched (" << x << "," << y << ")";
                }
            }
    }
}

TEST_F(PaintReadoutTest, EveryPaintGivesBackWhatItLoadedAndCreated)
{
    Canvas canvas(114, 32);
    Show(1, 45012);

    PaintReadout(1, canvas.dc());
    std::vector<Acquired> one = AllAcquired();
    EXPECT_EQ(4u, one.size()) << "two images, two memory contexts for a full paint";
    EXPECT_TRUE(LiveAcquired().empty());

    for (int i = 0; i < 10000; ++i) {
        Show(i % 3 != 0, 45012 + i);
        PaintReadout(i % 2, canvas.dc());
    }
    EXPECT_TRUE(LiveAcquired().empty()) << LiveAcquired().size() << " objects left";
    for (const Acquired &a : AllAcquired())
        ASSERT_FALSE(StillExists(a)) << "object " << a.handle << " of kind " << a.kind;
    EXPECT_EQ("", FirstDifference(canvas, ExpectedReadout("******"), 0, 0, 114, 32))
        << "last paint was of the placeholder";
}

TEST_F(PaintReadoutTest, MissingImagesDrawNothingAndDoNotCrash)
{
    g_hInstance = GetModuleHandleA("kernel32.dll");  // a module without the images
    Canvas canvas(114, 32);
    canvas.Fill(kBackdrop);
    Show(1, 45012);
    PaintReadout(1, canvas.dc());
    PaintReadout(0, canvas.dc());
    GdiFlush();
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 114; ++x)
            ASSERT_EQ(kBackdrop, canvas.at(x, y));
    EXPECT_TRUE(LiveAcquired().empty());
}

}  // namespace
