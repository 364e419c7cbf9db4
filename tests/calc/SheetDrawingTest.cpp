#include "calc/SheetDrawing.h"

#include "foundation/Ini.h"
#include "foundation/Program.h"
#include "model/ApplicationLinks.h"
#include "model/CuttingSheet.h"
#include "model/Dimension.h"
#include "model/Material.h"
#include "model/Order.h"
#include "model/Setup.h"
#include "model/Sheets.h"
#include "platform/Locale.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <random>

namespace lintaro::test {

namespace {

// Fonts need a GUI application; the test main does not make one. It is made on first use and
// destroyed after the last test, which also releases the font database.
class GuiApplicationEnvironment : public ::testing::Environment {
public:
    static void Ensure() {
        if (QCoreApplication::instance())
            return;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = new QGuiApplication(argc_, argv_);
    }
    void TearDown() override {
        delete app_;
        app_ = nullptr;
    }

private:
    static inline int argc_ = 1;
    static inline char name_[] = "calc_tests";
    static inline char* argv_[] = {name_, nullptr};
    static inline QGuiApplication* app_ = nullptr;
};

[[maybe_unused]] ::testing::Environment* const guiEnvironment =
    ::testing::AddGlobalTestEnvironment(new GuiApplicationEnvironment);

void ensureGuiApplication() {
    GuiApplicationEnvironment::Ensure();
}

Currency mm(double v) {
    return Currency::fromValue(v);
}

void setDimension(TCuttingSheet& sheet, double x, double y, int count = 1) {
    sheet.Dimension()->SetX(mm(x));
    sheet.Dimension()->SetY(mm(y));
    sheet.Dimension()->SetCount(count);
}

TCSPartOut* addPart(TCuttingSheet& sheet, int id, const QString& caption, double ox, double oy, double x,
                    double y) {
    auto* p = new TCSPartOut(nullptr);
    p->SetPartID(id);
    p->SetCaption(caption);
    p->SetPlace(mm(ox), mm(oy), mm(x), mm(y));
    p->SetOriginal(mm(x), mm(y));
    sheet.Parts()->ItemInsert(p);
    return p;
}

TCSDimOut* addRest(TCuttingSheet& sheet, double ox, double oy, double x, double y,
                   const QString& caption = {}) {
    auto* r = new TCSDimOut(nullptr);
    r->SetPlace(mm(ox), mm(oy), mm(x), mm(y));
    r->SetIsRecyable(true);
    r->SetCaption(caption);
    sheet.Rests()->ItemInsert(r);
    return r;
}

QStringList textsOf(const TCaptionBox& box) {
    QStringList out;
    for (const TSheetText& t : box.Texts)
        out << t.Text;
    return out;
}

// The area a text covers on the picture.
QRect textArea(const TSheetText& t) {
    if (t.Vertical())
        return QRect(t.Origin.x(), t.Origin.y() - t.Extent.width(), t.Extent.height(), t.Extent.width());
    return QRect(t.Origin, t.Extent);
}

bool isVertical(TCaptionLayout layout) {
    return layout == clThreeVertical || layout == clTwoVertical || layout == clOneVertical;
}

// One line per drawn rectangle: kind, list position, rectangle, layout and texts.
QString layoutDump(const TSchemeLayout& layout) {
    QStringList lines;
    lines << QStringLiteral("frame %1x%2 shortened=%3")
                 .arg(layout.Frame.width())
                 .arg(layout.Frame.height())
                 .arg(layout.Shortened ? 1 : 0);
    for (const TSchemeBox& b : layout.Boxes)
        lines << QStringLiteral("%1 %2 (%3,%4 %5x%6) %7: %8")
                     .arg(b.IsRest ? QStringLiteral("rest") : QStringLiteral("part"))
                     .arg(b.Index)
                     .arg(b.Rect.left())
                     .arg(b.Rect.top())
                     .arg(b.Rect.width())
                     .arg(b.Rect.height())
                     .arg(CaptionLayoutName(b.Layout), textsOf(b).join(QStringLiteral(" | ")));
    return lines.join(u'\n') + u'\n';
}

class SheetDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        ensureGuiApplication();
        initProgramForTests();
        TApplicationLinks::SetSetup(&setup);
    }

    // A sheet in a sheets container owned by an order, the container's material with grain.
    TCuttingSheet* ownedSheet(double x, double y) {
        order = std::make_unique<TOrder>();
        order->SetCaption(QStringLiteral("Kitchen 12"));
        sheets = order->Sheets();
        sheets->Material()->SetCaption(QStringLiteral("Birch 18"));
        auto* s = new TCuttingSheet(nullptr);
        sheets->CuttingSheets()->ItemInsert(s);
        setDimension(*s, x, y);
        return s;
    }

    ScopedLocale locale{Locale::czech()};
    TScopedApplicationLinks links;
    TSetup setup;
    TCuttingSheet loose; // a sheet without order or container
    std::unique_ptr<TOrder> order;
    TSheets* sheets = nullptr; // owned by the order
};

// ---- Scheme size ----

struct SchemeSizeCase {
    int zoom;
    double reach; // how far the parts reach along X; 0: no parts
    QSize picture;
    bool shortened;
};

void PrintTo(const SchemeSizeCase& c, std::ostream* os) {
    *os << "zoom " << c.zoom << ", parts reach " << c.reach;
}

class SchemeSize : public SheetDrawing, public ::testing::WithParamInterface<SchemeSizeCase> {};

TEST_P(SchemeSize, FollowsZoomAndShortensLongSheets) {
    const SchemeSizeCase& c = GetParam();
    setup.SetSheetsZoom(c.zoom);
    setDimension(loose, 3000, 1250);
    if (c.reach > 0)
        addPart(loose, 1, QStringLiteral("A"), 0, 0, c.reach, 600);
    const TSchemeLayout layout = LayoutImageScheme(loose);
    EXPECT_EQ(layout.Shortened, c.shortened);
    EXPECT_EQ(GetImageScheme(loose).boundingRect(), QRect(QPoint(0, 0), c.picture));
    EXPECT_EQ(layout.Frame + QSize(10, 10), c.picture);
}

INSTANTIATE_TEST_SUITE_P(Cases, SchemeSize,
                         ::testing::Values(SchemeSizeCase{200, 1750, {490, 210}, false},
                                           SchemeSizeCase{200, 3000, {490, 210}, false},
                                           SchemeSizeCase{200, 500, {290, 210}, true},
                                           SchemeSizeCase{200, 1749, {490, 210}, true}, // 2999 × 0,16
                                           SchemeSizeCase{200, 1700, {482, 210}, true},
                                           SchemeSizeCase{100, 500, {150, 110}, true},
                                           SchemeSizeCase{200, 0, {210, 210}, true}));

TEST_F(SheetDrawing, WholePictureHoldsThumbnailParametersAndScheme) {
    setDimension(loose, 3000, 1250);
    addPart(loose, 1, QStringLiteral("A"), 0, 0, 500, 600);
    EXPECT_EQ(GetImageDim(loose).boundingRect(), QRect(0, 0, 110, 110));
    EXPECT_EQ(GetImageParams(loose).boundingRect(), QRect(0, 0, 200, 200));
    // Scheme 290 × 210 beside the 200 wide column: (290 + 200 + 40) × max(230, 110 + 200 + 40).
    EXPECT_EQ(GetImage(loose).boundingRect(), QRect(0, 0, 530, 350));
    setup.SetSheetsZoom(400);
    // Scheme 570 × 410: 770 × 430.
    EXPECT_EQ(GetImage(loose).boundingRect(), QRect(0, 0, 810, 430));
}

TEST_F(SheetDrawing, PartRectanglesAreScaledSeparately) {
    setDimension(loose, 3000, 1250);
    addPart(loose, 7, QStringLiteral("A"), 504, 3.1, 500, 596.9);
    const TSchemeLayout layout = LayoutImageScheme(loose);
    ASSERT_EQ(layout.Boxes.size(), 1);
    EXPECT_EQ(layout.Scale, Currency::fromValue(0.16));
    // 80,64 → 81; 0,496 → 0; 80; 95,504 → 96.
    EXPECT_EQ(layout.Boxes[0].Rect, QRect(81, 0, 80, 96));
    EXPECT_EQ(layout.Boxes[0].T1, QStringLiteral("7"));
    EXPECT_EQ(layout.Boxes[0].T2, QStringLiteral("500x596,9"));
}

TEST_F(SheetDrawing, HalfPixelsRoundToEven) {
    // Zoom 100 on Y 1000: 0,1 px per mm; 25 mm = 2,5 px → 2, 35 mm = 3,5 px → 4.
    setup.SetSheetsZoom(100);
    setDimension(loose, 1000, 1000);
    addPart(loose, 1, QStringLiteral("A"), 25, 35, 25, 35);
    const TSchemeLayout layout = LayoutImageScheme(loose);
    ASSERT_EQ(layout.Boxes.size(), 1);
    EXPECT_EQ(layout.Boxes[0].Rect, QRect(2, 4, 2, 4));
}

TEST_F(SheetDrawing, ImperialUnitsScaleTheSameAndLabelInInches) {
    setDimension(loose, 3000, 1250); // set in mm, drawn in inches
    addPart(loose, 1, QStringLiteral("A"), 0, 0, 100, 800);
    ScopedLocale us(Locale::unitedStates());
    const TSchemeLayout layout = LayoutImageScheme(loose);
    // 200 ÷ 49.2126 in; drawn (3.937 + 49.2126) in × 4.064 = 215.99.
    EXPECT_EQ(layout.Scale, Currency::fromValue(4.064));
    EXPECT_TRUE(layout.Shortened);
    EXPECT_EQ(layout.Frame, QSize(216, 200));
    ASSERT_EQ(layout.Boxes.size(), 1);
    EXPECT_EQ(layout.Boxes[0].Rect, QRect(0, 0, 16, 128));
    EXPECT_EQ(layout.Boxes[0].T2, QStringLiteral("3.937x31.4961"));
}

// ---- Thumbnail ----

struct ThumbnailCase {
    double x, y;
    QRect frame;
};

void PrintTo(const ThumbnailCase& c, std::ostream* os) {
    *os << c.x << " x " << c.y;
}

class Thumbnail : public SheetDrawing, public ::testing::WithParamInterface<ThumbnailCase> {};

TEST_P(Thumbnail, KeepsFifteenPixelsAndStaysCentred) {
    const ThumbnailCase& c = GetParam();
    setDimension(loose, c.x, c.y);
    const TImageDimLayout layout = LayoutImageDim(loose);
    EXPECT_EQ(layout.Frame, c.frame);
    EXPECT_EQ(layout.PatternArea, c.frame.adjusted(1, 2, -1, -2));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Thumbnail,
    ::testing::Values(ThumbnailCase{3000, 1250, {0, 32, 110, 45}}, // scale 0,0367
                      ThumbnailCase{3000, 50, {0, 47, 110, 15}}, ThumbnailCase{50, 3000, {47, 0, 15, 110}},
                      ThumbnailCase{3000, 1, {0, 47, 110, 15}}, ThumbnailCase{1000, 1000, {0, 0, 110, 110}},
                      ThumbnailCase{10, 10, {0, 0, 110, 110}}, ThumbnailCase{0, 0, {47, 47, 15, 15}}));

struct PatternCase {
    bool inContainer;
    bool hasOrientation;
    TDimensionOrientation grain;
    const char* pattern;
};

void PrintTo(const PatternCase& c, std::ostream* os) {
    *os << (c.inContainer ? "in container" : "loose") << ", grain " << c.hasOrientation << ", " << c.pattern;
}

class ThumbnailPattern : public SheetDrawing, public ::testing::WithParamInterface<PatternCase> {};

TEST_P(ThumbnailPattern, FollowsTheGrainOfTheContainersMaterial) {
    const PatternCase& c = GetParam();
    TCuttingSheet* sheet = &loose;
    if (c.inContainer) {
        sheet = ownedSheet(2800, 2070);
        sheets->Material()->SetHasOrientation(c.hasOrientation);
    }
    setDimension(*sheet, 2800, 2070);
    sheet->Dimension()->SetOrientation(c.grain);
    const TImageDimLayout layout = LayoutImageDim(*sheet);
    EXPECT_EQ(layout.PatternName, QLatin1String(c.pattern));

    // The inner area shows the same pixels as the pattern picture.
    const QImage pattern = FindPicture(layout.PatternName);
    ASSERT_FALSE(pattern.isNull());
    const QImage drawn = RenderSheetPicture(GetImageDim(*sheet));
    for (QPoint at :
         {layout.PatternArea.topLeft(), layout.PatternArea.center(), layout.PatternArea.bottomRight()})
        EXPECT_EQ(drawn.pixel(at), pattern.pixel(at)) << at.x() << "," << at.y();
    // The outline is black, the picture around it white.
    EXPECT_EQ(drawn.pixel(layout.Frame.topLeft()), qRgb(0, 0, 0));
    EXPECT_EQ(drawn.pixel(QPoint(layout.Frame.left() + 5, layout.Frame.bottom())), qRgb(0, 0, 0));
    EXPECT_EQ(drawn.pixel(QPoint(layout.Frame.left() + 5, layout.Frame.top() - 1)), qRgb(255, 255, 255));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ThumbnailPattern,
    ::testing::Values(PatternCase{true, true, doX, "PatternX"}, PatternCase{true, true, doY, "PatternY"},
                      PatternCase{true, false, doX, "PatternN"}, PatternCase{true, false, doY, "PatternN"},
                      PatternCase{false, true, doX, "PatternN"}, PatternCase{false, true, doY, "PatternN"}));

TEST_F(SheetDrawing, ShippedPatternsCoverTheThumbnail) {
    for (const char* name : {"PatternX", "PatternY", "PatternN"}) {
        const QImage picture = FindPicture(QLatin1String(name));
        ASSERT_FALSE(picture.isNull()) << name;
        EXPECT_GE(picture.width(), 110) << name;
        EXPECT_GE(picture.height(), 110) << name;
    }
    // Hatched along X and along Y, and plain: three different pictures.
    const QImage x = FindPicture(QStringLiteral("PatternX"));
    const QImage y = FindPicture(QStringLiteral("PatternY"));
    const QImage n = FindPicture(QStringLiteral("PatternN"));
    EXPECT_NE(x, y);
    EXPECT_NE(x, n);
    int plainColours = 0;
    for (int i = 0; i < 110; ++i)
        plainColours += n.pixel(i, i) == n.pixel(0, 0) ? 1 : 0;
    EXPECT_EQ(plainColours, 110);
}

// ---- Caption layouts ----

struct UprightCase {
    bool captions;
    bool erlangeFont;
};

void PrintTo(const UprightCase& c, std::ostream* os) {
    *os << "captions " << c.captions << ", large font " << c.erlangeFont;
}

class UprightLabels : public SheetDrawing, public ::testing::WithParamInterface<UprightCase> {};

TEST_P(UprightLabels, OnlyForRectanglesHigherThanWide) {
    setup.SetSheetsShowCaptionsOnParts(GetParam().captions);
    setup.SetSheetsErlangeFont(GetParam().erlangeFont);
    setDimension(loose, 3000, 1250);
    addPart(loose, 1, QStringLiteral("Leg"), 0, 0, 100, 800);    // 16 × 128 px
    addPart(loose, 2, QStringLiteral("Rail"), 104, 0, 800, 100); // 128 × 16 px
    const TSchemeLayout layout = LayoutImageScheme(loose);
    ASSERT_EQ(layout.Boxes.size(), 2);
    const TSchemeBox& tall = layout.Boxes[0];
    const TSchemeBox& wide = layout.Boxes[1];
    EXPECT_TRUE(isVertical(tall.Layout)) << CaptionLayoutName(tall.Layout).toStdString();
    for (const TSheetText& t : tall.Texts)
        EXPECT_TRUE(t.Vertical());
    EXPECT_EQ(wide.Layout, clOneHorizontal);
    for (const TSheetText& t : wide.Texts)
        EXPECT_FALSE(t.Vertical());
}

INSTANTIATE_TEST_SUITE_P(Cases, UprightLabels,
                         ::testing::Values(UprightCase{false, false}, UprightCase{true, false},
                                           UprightCase{false, true}, UprightCase{true, true}));

TEST_F(SheetDrawing, HorizontalLinesComeFirstWhenTheyFit) {
    setDimension(loose, 3000, 1250);
    addPart(loose, 1, QStringLiteral("Side"), 0, 0, 600, 800); // 96 × 128 px, higher than wide
    const TSchemeLayout layout = LayoutImageScheme(loose);
    ASSERT_EQ(layout.Boxes.size(), 1);
    EXPECT_EQ(layout.Boxes[0].Layout, clTwoHorizontal);
    EXPECT_EQ(textsOf(layout.Boxes[0]), QStringList({"1", "600x800"}));
    EXPECT_TRUE(layout.Boxes[0].Texts[0].Bold);
    EXPECT_FALSE(layout.Boxes[0].Texts[1].Bold);
}

TEST_F(SheetDrawing, TwoVerticalLinesWhenOnlyCrosswiseFits) {
    setDimension(loose, 3000, 1250);
    addPart(loose, 1, QStringLiteral("Leg"), 0, 0, 200, 800); // 32 × 128 px
    const TSchemeLayout layout = LayoutImageScheme(loose);
    ASSERT_EQ(layout.Boxes.size(), 1);
    const TSchemeBox& b = layout.Boxes[0];
    ASSERT_EQ(b.Layout, clTwoVertical);
    ASSERT_EQ(b.Texts.size(), 2);
    // T1 ends at the vertical centre line, T2 begins there; both centred along the rectangle.
    EXPECT_EQ(b.Texts[0].Origin.x() + b.Texts[0].Extent.height(), b.Rect.left() + b.Rect.width() / 2);
    EXPECT_EQ(b.Texts[1].Origin.x(), b.Rect.left() + b.Rect.width() / 2);
    EXPECT_EQ(b.Texts[0].Kind, sfVerticalSemiBold);
    EXPECT_EQ(b.Texts[1].Kind, sfVerticalRegular);
    EXPECT_EQ(b.Texts[1].Origin.y(), b.Rect.top() + (b.Rect.height() + b.Texts[1].Extent.width()) / 2);
}

struct CaptionCase {
    bool captions;
    double x, y;
    TCaptionLayout layout;
};

void PrintTo(const CaptionCase& c, std::ostream* os) {
    *os << "captions " << c.captions << ", " << c.x << " x " << c.y;
}

class Captions : public SheetDrawing, public ::testing::WithParamInterface<CaptionCase> {};

TEST_P(Captions, ShowOnlyWithTheSetting) {
    const CaptionCase& c = GetParam();
    setup.SetSheetsShowCaptionsOnParts(c.captions);
    setDimension(loose, 3000, 1250);
    addPart(loose, 1, QStringLiteral("Door"), 0, 0, c.x, c.y);
    const TSchemeLayout layout = LayoutImageScheme(loose);
    ASSERT_EQ(layout.Boxes.size(), 1);
    const TSchemeBox& b = layout.Boxes[0];
    EXPECT_EQ(b.Layout, c.layout) << CaptionLayoutName(b.Layout).toStdString();
    EXPECT_EQ(textsOf(b).contains(QStringLiteral("Door")),
              c.layout == clThreeHorizontal || c.layout == clThreeVertical);
    if (!c.captions) {
        EXPECT_FALSE(textsOf(b).contains(QStringLiteral("Door")));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, Captions,
                         ::testing::Values(CaptionCase{true, 1000, 800, clThreeHorizontal},
                                           CaptionCase{false, 1000, 800, clTwoHorizontal},
                                           CaptionCase{true, 2500, 1250, clThreeHorizontal},
                                           CaptionCase{false, 2500, 1250, clTwoHorizontal},
                                           // 48 × 160 px: three lines only crosswise
                                           CaptionCase{true, 300, 1000, clThreeVertical},
                                           CaptionCase{false, 300, 1000, clTwoVertical},
                                           // 32 × 160 px: too narrow for three lines crosswise
                                           CaptionCase{true, 200, 1000, clTwoVertical},
                                           // 128 × 32 px: two lines, no room for a third
                                           CaptionCase{true, 800, 200, clTwoHorizontal}));

TEST_F(SheetDrawing, EmptyCaptionLeavesTwoLines) {
    setup.SetSheetsShowCaptionsOnParts(true);
    setDimension(loose, 3000, 1250);
    // A stored part may have an empty caption; the caption setter would put the default one.
    addPart(loose, 1, QStringLiteral("A"), 0, 0, 1000, 800)
        ->ReadRecordLine(QStringLiteral("|1||1|0|0|10000000|8000000|10000000|8000000|0|"));
    ASSERT_TRUE(loose.Parts()->PartOut(0)->Caption().isEmpty());
    const TSchemeLayout layout = LayoutImageScheme(loose);
    ASSERT_EQ(layout.Boxes.size(), 1);
    EXPECT_FALSE(layout.Boxes[0].CaptionsOn);
    EXPECT_EQ(layout.Boxes[0].Layout, clTwoHorizontal);
}

// Random rectangles: the chosen layout keeps its texts within the rectangle along their lines,
// upright text only where the rectangle is higher than wide, captions only with the setting.
TEST_F(SheetDrawing, LayoutsKeepTheirTextsInsideAlongTheLines) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> size(1, 1250);
    for (int round = 0; round < 400; ++round) {
        const bool captions = round % 2 == 0;
        const bool large = round % 4 < 2;
        TCaptionBox box;
        box.Rect = QRect(17, 23, size(random) / 5, size(random) / 5);
        box.MayBeUpright = box.Rect.height() > box.Rect.width();
        box.T1 = QString::number(size(random));
        box.T2 = QStringLiteral("%1x%2").arg(size(random)).arg(size(random));
        box.T3 = QStringLiteral("Caption %1").arg(round);
        box.CaptionsOn = captions;
        LayoutCaptions(box, large);
        SCOPED_TRACE(QStringLiteral("%1x%2 %3")
                         .arg(box.Rect.width())
                         .arg(box.Rect.height())
                         .arg(CaptionLayoutName(box.Layout))
                         .toStdString());
        if (!box.MayBeUpright) {
            EXPECT_FALSE(isVertical(box.Layout));
        }
        EXPECT_EQ(textsOf(box).contains(box.T3),
                  captions && (box.Layout == clThreeHorizontal || box.Layout == clThreeVertical));
        if (box.Layout == clOneHorizontal || box.Layout == clOneVertical)
            continue;
        for (const TSheetText& t : box.Texts) {
            const QRect area = textArea(t);
            if (isVertical(box.Layout)) {
                EXPECT_GE(area.top(), box.Rect.top());
                EXPECT_LE(area.bottom(), box.Rect.bottom());
            } else {
                EXPECT_GE(area.left(), box.Rect.left());
                EXPECT_LE(area.right(), box.Rect.right());
            }
        }
    }
}

// ---- Rests ----

TEST_F(SheetDrawing, RestsAreLabelledRUntilReturned) {
    TCuttingSheet* sheet = ownedSheet(3000, 1250);
    addPart(*sheet, 1, QStringLiteral("A"), 0, 0, 1750, 600);
    addRest(*sheet, 0, 604, 1750, 646, QStringLiteral("M4"));
    addRest(loose, 0, 604, 1750, 646, QStringLiteral("M4"));
    setDimension(loose, 3000, 1250);

    auto restTexts = [](const TCuttingSheet& s) {
        const TSchemeLayout layout = LayoutImageScheme(s);
        EXPECT_EQ(layout.Boxes.size(), s.Parts()->ItemCount() + 1);
        return textsOf(layout.Boxes.back());
    };
    EXPECT_EQ(restTexts(*sheet), QStringList({"R", "1750x646"}));
    EXPECT_EQ(restTexts(loose), QStringList({"R", "1750x646"}));
    sheets->SetRestReturned(true);
    EXPECT_EQ(restTexts(*sheet), QStringList({"M4", "1750x646"}));
}

TEST_F(SheetDrawing, RestsNeverShowACaptionLine) {
    setup.SetSheetsShowCaptionsOnParts(true);
    TCuttingSheet* sheet = ownedSheet(3000, 1250);
    sheets->SetRestReturned(true);
    addRest(*sheet, 0, 0, 3000, 1250, QStringLiteral("M4"));
    const TSchemeLayout layout = LayoutImageScheme(*sheet);
    ASSERT_EQ(layout.Boxes.size(), 1);
    EXPECT_EQ(layout.Boxes[0].Layout, clTwoHorizontal);
}

struct RestCutCase {
    double ox, x;
    int drawnWidth; // −1: not drawn
};

void PrintTo(const RestCutCase& c, std::ostream* os) {
    *os << "rest at " << c.ox << ", " << c.x << " long";
}

class RestCut : public SheetDrawing, public ::testing::WithParamInterface<RestCutCase> {};

TEST_P(RestCut, ShortenedDrawingCutsRestsAtItsEdge) {
    // Parts reach 500 of 3000: 1750 are drawn, 280 px.
    setDimension(loose, 3000, 1250);
    addPart(loose, 1, QStringLiteral("A"), 0, 0, 500, 600);
    addRest(loose, GetParam().ox, 604, GetParam().x, 300);
    const TSchemeLayout layout = LayoutImageScheme(loose);
    ASSERT_TRUE(layout.Shortened);
    if (GetParam().drawnWidth < 0) {
        EXPECT_EQ(layout.Boxes.size(), 1);
        return;
    }
    ASSERT_EQ(layout.Boxes.size(), 2);
    EXPECT_EQ(layout.Boxes[1].Rect.width(), GetParam().drawnWidth);
    EXPECT_EQ(layout.Boxes[1].T2, QStringLiteral("%1x300").arg(GetParam().x));
}

INSTANTIATE_TEST_SUITE_P(Cases, RestCut,
                         ::testing::Values(RestCutCase{504, 2496, 199}, // (1750 − 504) × 0,16 = 199,36
                                           RestCutCase{500, 2500, 200},
                                           RestCutCase{0, 3000, 280},   // from before the parts' end
                                           RestCutCase{504, 100, 16},   // ends before the edge: whole
                                           RestCutCase{1750, 1250, -1}, // wholly beyond the edge
                                           RestCutCase{2000, 1000, -1}));

TEST_F(SheetDrawing, TooWideSingleLabelKeepsTheTextAfterItsFirstPoint) {
    TCuttingSheet* sheet = ownedSheet(3000, 1250);
    sheets->SetRestReturned(true);
    // 48 × 16 px: no room for two lines, the caption is wider than 48 px.
    addRest(*sheet, 0, 0, 300, 100, QStringLiteral("Offcuts.2024.17"));
    addRest(*sheet, 0, 200, 300, 100, QStringLiteral("Offcuts2024x17"));
    const TSchemeLayout layout = LayoutImageScheme(*sheet);
    ASSERT_EQ(layout.Boxes.size(), 2);

    const TSchemeBox& cut = layout.Boxes[0];
    EXPECT_EQ(cut.Layout, clOneHorizontal);
    ASSERT_EQ(cut.Texts.size(), 1);
    EXPECT_EQ(cut.Texts[0].Text, QStringLiteral("2024.17"));

    const TSchemeBox& shrunk = layout.Boxes[1];
    EXPECT_EQ(shrunk.Layout, clOneHorizontal);
    ASSERT_EQ(shrunk.Texts.size(), 1);
    EXPECT_EQ(shrunk.Texts[0].Text, QStringLiteral("Offcuts2024x17"));
    EXPECT_EQ(shrunk.Texts[0].PointSize, SheetSmallPointSize(false));
    EXPECT_FALSE(shrunk.Texts[0].Bold);
    // Centred both ways even when wider than the rectangle.
    EXPECT_EQ(shrunk.Texts[0].Origin.x(), shrunk.Rect.left() + (48 - shrunk.Texts[0].Extent.width()) / 2);
}

TEST_F(SheetDrawing, TooHighSingleLabelShrinksDownToFivePoints) {
    setDimension(loose, 3000, 1250);
    addRest(loose, 0, 0, 1000, 31.25);  // 160 × 5 px
    addRest(loose, 0, 100, 1000, 62.5); // 160 × 10 px
    const TSchemeLayout layout = LayoutImageScheme(loose);
    ASSERT_EQ(layout.Boxes.size(), 2);
    ASSERT_EQ(layout.Boxes[0].Texts.size(), 1);
    const TSheetText& tiny = layout.Boxes[0].Texts[0];
    EXPECT_EQ(tiny.Text, QStringLiteral("R"));
    EXPECT_EQ(tiny.PointSize, 5);
    EXPECT_FALSE(tiny.Bold);
    // Size S (9 px high at 96 dpi) bold still misses 10 px; S regular does too; 6 points fit.
    const TSheetText& low = layout.Boxes[1].Texts[0];
    EXPECT_EQ(low.PointSize, 6);
    EXPECT_FALSE(low.Bold);
    EXPECT_LE(low.Extent.height(), 10);
}

// ---- Parameter block ----

TEST_F(SheetDrawing, ParametersOfAnOwnedSheet) {
    TCuttingSheet* first = ownedSheet(2800, 2070);
    auto* second = new TCuttingSheet(nullptr);
    sheets->CuttingSheets()->ItemInsert(second);
    sheets->CuttingSheets()->ItemInsert(new TCuttingSheet(nullptr));
    second->Dimension()->Assign(first->Dimension());
    second->SetCount(3);
    addPart(*second, 1, QStringLiteral("A"), 0, 0, 1400, 2070);

    const QList<TImageParamRow> rows = LayoutImageParams(*second);
    ASSERT_EQ(rows.size(), 10);
    const QStringList keys = {"ImageParamsOrder",      "ImageParamsMaterial",      "ImageParamsCuttingSheet",
                              "ImageParamsDimCaption", "ImageParamsDimX",          "ImageParamsDimY",
                              "ImageParamsDimCount",   "ImageParamsExtractBrutto", "ImageParamsExtractNetto",
                              "ImageParamsPartsLength"};
    const QStringList values = {"Kitchen 12",
                                "Birch 18",
                                "2/3",
                                second->Dimension()->Caption(),
                                second->Dimension()->GetPropAsString("X"),
                                second->Dimension()->GetPropAsString("Y"),
                                "3",
                                "50%",
                                "50%",
                                "1 400,00 mm"};
    // The labels end at x = 60, or where the widest one ends when it is wider; none starts left of 0.
    int labelEnd = 60;
    for (const TImageParamRow& row : rows)
        labelEnd = std::max(labelEnd, row.Label.Extent.width());
    for (int i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(keys[i].toStdString());
        EXPECT_EQ(rows[i].LabelKey, keys[i]);
        EXPECT_EQ(rows[i].Label.Text, GetText("TSheets", keys[i]));
        EXPECT_EQ(rows[i].Label.Origin.y(), 20 * i);
        EXPECT_GE(rows[i].Label.Origin.x(), 0);
        if (!rows[i].Label.Text.isEmpty()) {
            EXPECT_EQ(rows[i].Label.Origin.x() + rows[i].Label.Extent.width(), labelEnd);
        }
        ASSERT_TRUE(rows[i].Value.has_value());
        EXPECT_EQ(rows[i].Value->Text, values[i]);
        EXPECT_EQ(rows[i].Value->Origin, QPoint(labelEnd + 5, 20 * i));
    }
    // At a printer's resolution the rows move apart and the block grows to hold its texts.
    const QList<TImageParamRow> print = LayoutImageParams(*second, 160);
    EXPECT_GT(print[1].Label.Origin.y(), 20);
    for (const TImageParamRow& row : print)
        EXPECT_GE(row.Label.Origin.x(), 0) << row.LabelKey.toStdString();
    const QSize block = ImageParamsSize(print);
    EXPECT_GE(block.width(), print[1].Value->Origin.x() + print[1].Value->Extent.width());
}

TEST_F(SheetDrawing, LooseSheetDrawsOnlyTheValuesItHas) {
    setDimension(loose, 2800, 2070, 2);
    const QList<TImageParamRow> rows = LayoutImageParams(loose);
    ASSERT_EQ(rows.size(), 10);
    EXPECT_FALSE(rows[0].Value.has_value()); // order
    EXPECT_FALSE(rows[1].Value.has_value()); // material
    EXPECT_FALSE(rows[2].Value.has_value()); // position in the list
    for (int i = 3; i < 10; ++i)
        EXPECT_TRUE(rows[i].Value.has_value()) << i;
    EXPECT_EQ(rows[6].Value->Text, QStringLiteral("2"));

    // A container without an order: the material is there, the order is not.
    TSheets container;
    auto* inside = new TCuttingSheet(nullptr);
    container.CuttingSheets()->ItemInsert(inside);
    const QList<TImageParamRow> partial = LayoutImageParams(*inside);
    EXPECT_FALSE(partial[0].Value.has_value());
    EXPECT_TRUE(partial[1].Value.has_value());
    ASSERT_TRUE(partial[2].Value.has_value());
    EXPECT_EQ(partial[2].Value->Text, QStringLiteral("1/1"));
}

// ---- Fonts and resolution ----

TEST_F(SheetDrawing, FontSetsFollowTheSetting) {
    EXPECT_EQ(SheetLargePointSize(true), 10);
    EXPECT_EQ(SheetSmallPointSize(true), 9);
    EXPECT_EQ(SheetLargePointSize(false), 8);
    EXPECT_EQ(SheetSmallPointSize(false), 7);
    struct Expected {
        TSheetFont font;
        bool large;
        int weight;
        int pixels;
    };
    for (const Expected& e :
         {Expected{sfVerticalSemiBold, true, 600, 13}, Expected{sfVerticalSemiBold, false, 600, 11},
          Expected{sfVerticalRegular, true, 400, 13}, Expected{sfVerticalSmaller, true, 400, 12},
          Expected{sfVerticalRegular, false, 400, 11}, Expected{sfVerticalSmaller, false, 400, 9}}) {
        const QFont f = SheetVerticalFont(e.font, e.large);
        EXPECT_EQ(f.weight(), QFont::Weight(e.weight));
        EXPECT_EQ(f.pixelSize(), e.pixels);
        EXPECT_FALSE(f.italic());
        EXPECT_EQ(f.family(), QStringLiteral("Arial"));
    }
    // "Arial" resolves to a metric-compatible face, here Liberation Sans.
    EXPECT_EQ(QFontInfo(SheetHorizontalFont(8, false)).family(), QStringLiteral("Liberation Sans"));
}

TEST_F(SheetDrawing, ResolutionComesFromTheRegisteredDeviceElseTheScreen) {
    const int screen = DrawingResolution();
    EXPECT_GT(screen, 0);
    SetDrawingResolutionSource([] { return 600; });
    EXPECT_EQ(DrawingResolution(), 600);
    EXPECT_EQ(SheetHorizontalFont(8, false).pixelSize(), 67); // 8 × 600 / 72
    SetDrawingResolutionSource([] { return 0; });             // no printer installed
    EXPECT_EQ(DrawingResolution(), screen);
    SetDrawingResolutionSource([]() -> int { throw std::runtime_error("no spooler"); });
    EXPECT_EQ(DrawingResolution(), screen);
    SetDrawingResolutionSource({});
    EXPECT_EQ(DrawingResolution(), screen);
}

// ---- Writing pictures ----

TEST_F(SheetDrawing, WritesPngAndSvg) {
    setDimension(loose, 3000, 1250);
    addPart(loose, 1, QStringLiteral("A"), 0, 0, 1500, 600);
    addRest(loose, 0, 604, 3000, 646);
    const QPicture picture = GetImage(loose);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());

    QString error;
    const QString png = dir.filePath("sheet.PNG");
    ASSERT_TRUE(WriteSheetPicture(picture, png, &error)) << error.toStdString();
    const QImage image(png);
    EXPECT_EQ(image.size(), picture.boundingRect().size());
    // The scheme's frame corner at (200 + 30, 10) is black; the corner of the picture is white.
    EXPECT_EQ(image.pixel(230, 10), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));
    // The thumbnail's frame lies in the column centred at x = 10 + (200 − 110) div 2, y = 10.
    const QRect dim = LayoutImageDim(loose).Frame.translated(55, 10);
    EXPECT_EQ(image.pixel(dim.topLeft()), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(dim.topLeft() - QPoint(1, 1)), qRgb(255, 255, 255));

    const QString svg = dir.filePath("sheet.svg");
    ASSERT_TRUE(WriteSheetPicture(picture, svg, &error)) << error.toStdString();
    QSvgRenderer renderer(svg);
    ASSERT_TRUE(renderer.isValid());
    EXPECT_EQ(renderer.viewBox(), picture.boundingRect());
    QImage fromSvg(picture.boundingRect().size(), QImage::Format_RGB32);
    fromSvg.fill(Qt::white);
    {
        QPainter p(&fromSvg);
        renderer.render(&p, QRectF(fromSvg.rect()));
    }
    EXPECT_LT(qGray(fromSvg.pixel(230, 10)), 128);
    EXPECT_EQ(fromSvg.pixel(0, 0), qRgb(255, 255, 255));
}

TEST_F(SheetDrawing, RefusesUnknownTypesAndFailedWrites) {
    setDimension(loose, 3000, 1250);
    const QPicture picture = GetImageScheme(loose);
    QTemporaryDir dir;
    QString error;
    EXPECT_FALSE(WriteSheetPicture(picture, dir.filePath("sheet.bmp"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(dir.filePath("sheet.bmp")));
    error.clear();
    EXPECT_FALSE(WriteSheetPicture(picture, dir.filePath("missing/sheet.png"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(WriteSheetPicture(QPicture(), dir.filePath("empty.png"), nullptr));
    EXPECT_FALSE(QFile::exists(dir.filePath("empty.png")));
}

// Damaged orders may hold stock a ten-thousandth of a millimetre wide: the scale is clamped, so the
// layout stays inside the coordinate range and the picture small enough to draw.
TEST_F(SheetDrawing, TinyStockIsDrawnAtABoundedScale) {
    const struct { double x, y; } stocks[] = {{3000, 0.0001}, {60, 0.01}, {214747, 0.0001}};
    for (const auto& stock : stocks) {
        TCuttingSheet sheet;
        setDimension(sheet, stock.x, stock.y);
        addPart(sheet, 1, "A", 0, 0, stock.x, stock.y);
        const TSchemeLayout layout = LayoutImageScheme(sheet);
        EXPECT_LE(layout.Scale, mm(100)) << stock.x;
        EXPECT_GT(layout.Frame.width(), 0);
        EXPECT_LE(layout.Frame.width(), 1 << 29);
        EXPECT_EQ(layout.Boxes.size(), 1);
    }
    TCuttingSheet narrow;
    setDimension(narrow, 60, 0.01);
    addPart(narrow, 1, "A", 0, 0, 60, 0.01);
    QTemporaryDir dir;
    QString error;
    EXPECT_TRUE(WriteSheetPicture(GetImage(narrow), dir.filePath("narrow.png"), &error))
        << error.toStdString();

    TCuttingSheet huge;
    setDimension(huge, 214747, 1);
    addPart(huge, 1, "A", 0, 0, 214747, 1);
    const QPicture picture = GetImageScheme(huge);
    EXPECT_TRUE(PictureTooLarge(picture.boundingRect()));
    EXPECT_TRUE(RenderSheetPicture(picture).isNull());
    EXPECT_FALSE(WriteSheetPicture(picture, dir.filePath("huge.png"), &error));
    EXPECT_TRUE(error.contains("too large")) << error.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("huge.png")));
}

// ---- A calculated sheet ----

TEST_F(SheetDrawing, CalculatedSheetsShowEveryPartAndRest) {
    setup.SetSheetsShowCaptionsOnParts(true);
    ownedSheet(2800, 2070);
    sheets->CuttingSheets()->Clear();
    sheets->Material()->SetHasOrientation(true);
    TINI ini;
    ASSERT_TRUE(ini.LoadFromFile(dataPath("drawing/realistic-sheets.ini")));
    sheets->CuttingSheets()->LoadFromINI(ini);
    ASSERT_EQ(sheets->CuttingSheets()->ItemCount(), 2);
    sheets->CuttingSheets()->Sheet(0)->Dimension()->SetOrientation(doX);
    // Labels for the parameter block where the shipped texts have none yet.
    const QStringList labels = {"ImageParamsOrder=Order:",        "ImageParamsMaterial=Material:",
                                "ImageParamsCuttingSheet=Sheet:", "ImageParamsDimCaption=Stock size:",
                                "ImageParamsDimY=Width Y:",       "ImageParamsDimX=Length X:",
                                "ImageParamsDimCount=Pieces:",    "ImageParamsExtractBrutto=Gross:",
                                "ImageParamsExtractNetto=Net:",   "ImageParamsPartsLength=Used length:"};
    for (const QString& label : labels) {
        const QString key = label.section(u'=', 0, 0);
        if (GetText("TSheets", key).isEmpty())
            Texts().WriteString("TSheets", key, label.section(u'=', 1));
    }

    QString dump;
    QTemporaryDir dir;
    const QString keep = qEnvironmentVariable("LINTARO_DRAWING_OUTPUT_DIR");
    for (int i = 0; i < sheets->CuttingSheets()->ItemCount(); ++i) {
        const TCuttingSheet* sheet = sheets->CuttingSheets()->Sheet(i);
        const TSchemeLayout layout = LayoutImageScheme(*sheet);
        dump += layoutDump(layout);
        const QPicture picture = GetImage(*sheet);
        const QString name = QStringLiteral("sheet%1.png").arg(i + 1);
        QString error;
        ASSERT_TRUE(WriteSheetPicture(picture, dir.filePath(name), &error)) << error.toStdString();
        if (!keep.isEmpty()) {
            WriteSheetPicture(picture, QDir(keep).filePath(name), nullptr);
            WriteSheetPicture(picture, QDir(keep).filePath(QString(name).replace(".png", ".svg")), nullptr);
        }
        const QImage image = RenderSheetPicture(picture);

        // The scheme lies at (200 + 30, 10); every rectangle's left edge is drawn black and every
        // part shows its ID.
        const QPoint origin(230, 10);
        EXPECT_EQ(layout.Boxes.size(), sheet->Parts()->ItemCount() + sheet->Rests()->ItemCount());
        for (const TSchemeBox& box : layout.Boxes) {
            SCOPED_TRACE(
                QStringLiteral("%1 %2").arg(box.IsRest ? "rest" : "part").arg(box.Index).toStdString());
            const QPoint edge = origin + QPoint(box.Rect.left(), box.Rect.top() + box.Rect.height() / 2);
            EXPECT_EQ(image.pixel(edge), qRgb(0, 0, 0));
            ASSERT_FALSE(box.Texts.isEmpty());
            EXPECT_EQ(box.Texts[0].Text, box.IsRest ? QStringLiteral("R") : box.T1);
        }
    }
    const QString expected = QString::fromUtf8(readFileBytes(dataPath("drawing/realistic-layout.txt")));
    if (dump != expected && !keep.isEmpty())
        writeFileBytes(QDir(keep).filePath("realistic-layout.txt"), dump.toUtf8());
    EXPECT_EQ(dump, expected);
}

} // namespace

} // namespace lintaro::test
